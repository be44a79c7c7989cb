// The process tests are a COM client on a single-threaded apartment, as the utility is.
#include <gtest/gtest.h>
#include <objbase.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}

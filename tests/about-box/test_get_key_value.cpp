// GetKeyValue against real registry values in a scratch key: how the stored bytes and their
// type become the text the launcher goes on with.

#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>

#include <stdexcept>
#include <string>

#include "launch_probe.h"
#include "ui/about-box/sys_info_launcher.h"

namespace tarvello::ui {
namespace {

using test::ScratchKey;

std::string Bytes(std::initializer_list<int> bytes) {
    std::string text;
    for (int b : bytes) text += static_cast<char>(b);
    return text;
}

struct ValueCase {
    const char* name;
    DWORD type;
    std::string stored;
    std::string keyValOnEntry;
    bool expectRead;
    std::string expectKeyVal;
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.name;
}

class GetKeyValueCases : public ::testing::TestWithParam<ValueCase> {};

TEST_P(GetKeyValueCases, ReadsTheValueAsText) {
    const ValueCase& c = GetParam();
    ScratchKey key;
    key.SetBytes("Values", "Value", c.type, c.stored);

    std::string keyVal = c.keyValOnEntry;
    bool read = GetKeyValue(key.root(), key.Path("Values"), "Value", keyVal);

    EXPECT_EQ(c.expectRead, read);
    EXPECT_EQ(c.expectKeyVal, keyVal)
        << "length " << keyVal.size() << " against " << c.expectKeyVal.size();
}

INSTANTIATE_TEST_SUITE_P(
    Values, GetKeyValueCases,
    ::testing::Values(
        ValueCase{"TextWithTerminator", REG_SZ, std::string("C:\\Tools\\info.exe") + '\0', "", true,
                  "C:\\Tools\\info.exe"},
        ValueCase{"TextWithoutTerminatorKeepsLastCharacter", REG_SZ, "C:\\x.exe", "", true,
                  "C:\\x.exe"},
        ValueCase{"OnlyOneFinalZeroIsDropped", REG_SZ, Bytes({'a', 'b', 0, 0}), "", true,
                  Bytes({'a', 'b', 0})},
        ValueCase{"TextOf1024BytesIsRead", REG_SZ, std::string(1023, 'x') + '\0', "", true,
                  std::string(1023, 'x')},
        ValueCase{"LongTextWithoutTerminatorIsReadWhole", REG_SZ, std::string(1023, 'y'), "", true,
                  std::string(1023, 'y')},
        ValueCase{"TextOf1025BytesIsMissing", REG_SZ, std::string(1024, 'z') + '\0', "stale", false,
                  ""},
        ValueCase{"TextReplacesWhatKeyValHeld", REG_SZ, std::string("new") + '\0', "old", true,
                  "new"},
        ValueCase{"NumberBecomesDecimal", REG_DWORD, Bytes({0x78, 0x56, 0x34, 0x12}), "", true,
                  "305419896"},
        ValueCase{"NumberOne", REG_DWORD, Bytes({1, 0, 0, 0}), "", true, "1"},
        ValueCase{"NumberZero", REG_DWORD, Bytes({0, 0, 0, 0}), "", true, "0"},
        ValueCase{"LargestNumberIsUnsigned", REG_DWORD, Bytes({0xFF, 0xFF, 0xFF, 0xFF}), "", true,
                  "4294967295"},
        // Each byte is written without leading zeros: 00 01 02 03 reads as &h123.
        ValueCase{"NumberBytesLoseTheirLeadingZeros", REG_DWORD, Bytes({3, 2, 1, 0}), "", true,
                  "291"},
        ValueCase{"NumberDigitsFollowWhatKeyValHeld", REG_DWORD, Bytes({2, 0, 0, 0}), "1", true,
                  "4098"},
        ValueCase{"ExpandableTextLeavesKeyValAlone", REG_EXPAND_SZ,
                  std::string("%SystemRoot%\\x.exe") + '\0', "kept", true, "kept"},
        ValueCase{"BinaryLeavesKeyValAlone", REG_BINARY, Bytes({1, 2, 3}), "kept", true, "kept"}),
    [](const ::testing::TestParamInfo<ValueCase>& info) { return std::string(info.param.name); });

TEST(GetKeyValue, MissingKeyOrValueIsNotReadAndEmptiesKeyVal) {
    ScratchKey key;
    key.SetText("Present", "Other", "x");

    std::string keyVal = "stale";
    EXPECT_FALSE(GetKeyValue(key.root(), key.Path("Absent"), "Value", keyVal));
    EXPECT_EQ("", keyVal);

    keyVal = "stale";
    EXPECT_FALSE(GetKeyValue(key.root(), key.Path("Present"), "Value", keyVal));
    EXPECT_EQ("", keyVal);
}

// Gives a scratch key the security named by an SDDL text.
bool SetKeySecurity(const std::string& path, const char* sddl) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) {
        return false;
    }
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    bool ok = ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1,
                                                                   &descriptor, nullptr) &&
              RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    LocalFree(descriptor);
    RegCloseKey(key);
    return ok;
}

// A standard user may only read HKEY_LOCAL_MACHINE; asking for more would be refused there.
TEST(GetKeyValue, ReadsAKeyThatGrantsReadingOnly) {
    ScratchKey key;
    key.SetText("ReadOnly", "Value", "C:\\Tools\\info.exe");
    const std::string path = key.Path("ReadOnly");
    ASSERT_TRUE(SetKeySecurity(path, "D:P(A;;KR;;;WD)"));

    HKEY probe = nullptr;
    const bool wideOpenRefused =
        RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, 0x2003F, &probe) == ERROR_ACCESS_DENIED;
    if (probe) RegCloseKey(probe);

    std::string keyVal;
    const bool read = GetKeyValue(key.root(), path, "Value", keyVal);
    // Back to full access, so that the scratch key can be deleted.
    ASSERT_TRUE(SetKeySecurity(path, "D:P(A;;KA;;;WD)"));

    EXPECT_TRUE(wideOpenRefused) << "the key was meant to refuse write access";
    EXPECT_TRUE(read);
    EXPECT_EQ("C:\\Tools\\info.exe", keyVal);
}

TEST(GetKeyValue, ValueOfNoBytesIsAnError) {
    for (DWORD type : {static_cast<DWORD>(REG_SZ), static_cast<DWORD>(REG_DWORD)}) {
        ScratchKey key;
        key.SetBytes("Values", "Value", type, "");
        std::string keyVal;
        EXPECT_THROW(GetKeyValue(key.root(), key.Path("Values"), "Value", keyVal),
                     std::invalid_argument)
            << "type " << type;
    }
}

TEST(GetKeyValue, NumberBeyond32BitsIsAnError) {
    ScratchKey key;
    key.SetBytes("Values", "Value", REG_DWORD, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x10}));
    std::string keyVal;
    EXPECT_THROW(GetKeyValue(key.root(), key.Path("Values"), "Value", keyVal), std::overflow_error);
}

}  // namespace
}  // namespace tarvello::ui

// Stands in for the system information tool: it proves that it was started by leaving a
// marker file that names its own path, then signals the waiting test and exits.
//   TARVELLO_MARKER_DIR        folder for the marker file (one file per start)
//   TARVELLO_MARKER_SEMAPHORE  semaphore released once per start

#include <windows.h>

#include <string>

namespace {

std::string Environment(const char* name) {
    char buffer[MAX_PATH * 2] = {};
    DWORD length = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
    return length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : std::string();
}

}  // namespace

int main() {
    char self[MAX_PATH * 2] = {};
    DWORD length = GetModuleFileNameA(nullptr, self, sizeof(self));

    std::string directory = Environment("TARVELLO_MARKER_DIR");
    if (!directory.empty()) {
        std::string marker =
            directory + "\\started-" + std::to_string(GetCurrentProcessId()) + ".txt";
        HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, self, length, &written, nullptr);
            CloseHandle(file);
        }
    }

    std::string semaphoreName = Environment("TARVELLO_MARKER_SEMAPHORE");
    if (!semaphoreName.empty()) {
        HANDLE semaphore = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, semaphoreName.c_str());
        if (semaphore) {
            ReleaseSemaphore(semaphore, 1, nullptr);
            CloseHandle(semaphore);
        }
    }
    return 0;
}

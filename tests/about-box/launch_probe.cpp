#include "launch_probe.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tarvello::test {

namespace {

std::string UniqueSuffix() {
    static std::atomic<int> counter{0};
    return std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

std::string TempFolder() {
    char buffer[MAX_PATH] = {};
    DWORD length = GetTempPathA(MAX_PATH, buffer);
    std::string path(buffer, length);
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

// Cleanup must not fail a test that passed; leftovers are only litter in the prefix.
void RemoveTree(const std::string& path) {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path, ignored)) {
        SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(path, ignored);
}

}  // namespace

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string MarkerToolPath() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self);
    return path.substr(0, path.find_last_of('\\')) + "\\marker_tool.exe";
}

ScratchKey::ScratchKey() : path_("Software\\TarvelloTests\\AboutBox-" + UniqueSuffix()) {}

ScratchKey::~ScratchKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
    // Only goes when no other run still has a key below it.
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\TarvelloTests");
}

void ScratchKey::SetBytes(const std::string& subKey, const std::string& valueName, DWORD type,
                          const std::string& bytes) const {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, Path(subKey).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot create scratch key " + Path(subKey));
    }
    LONG result =
        RegSetValueExA(key, valueName.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) throw std::runtime_error("cannot set scratch value " + valueName);
}

ScratchFolder::ScratchFolder() : path_(TempFolder() + "\\tarvello-about-" + UniqueSuffix()) {
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    RemoveTree(path_);
}

std::string ScratchFolder::MakeFolder(const std::string& relative) const {
    std::string full = path_ + "\\" + relative;
    std::filesystem::create_directories(full);
    return full;
}

std::string ScratchFolder::PlantTool(const std::string& relative) const {
    std::string full = path_ + "\\" + relative;
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
    if (!CopyFileA(MarkerToolPath().c_str(), full.c_str(), FALSE)) {
        throw std::runtime_error("cannot copy the marker tool to " + full);
    }
    return full;
}

LaunchProbe::LaunchProbe() {
    const std::string suffix = UniqueSuffix();
    markerDir_ = TempFolder() + "\\tarvello-markers-" + suffix;
    std::filesystem::create_directories(markerDir_);
    const std::string semaphoreName = "Local\\TarvelloMarker-" + suffix;
    semaphore_ = CreateSemaphoreA(nullptr, 0, 1000, semaphoreName.c_str());
    // Started programs inherit this process's environment.
    SetEnvironmentVariableA("TARVELLO_MARKER_DIR", markerDir_.c_str());
    SetEnvironmentVariableA("TARVELLO_MARKER_SEMAPHORE", semaphoreName.c_str());
}

LaunchProbe::~LaunchProbe() {
    SetEnvironmentVariableA("TARVELLO_MARKER_DIR", nullptr);
    SetEnvironmentVariableA("TARVELLO_MARKER_SEMAPHORE", nullptr);
    if (semaphore_) CloseHandle(semaphore_);
    RemoveTree(markerDir_);
}

bool LaunchProbe::WaitForStarts(int count) const {
    // Generous: a new process under Wine takes a second or two on a busy machine.
    constexpr DWORD kLimitMs = 60000;
    for (int i = 0; i < count; ++i) {
        if (WaitForSingleObject(semaphore_, kLimitMs) != WAIT_OBJECT_0) return false;
    }
    return true;
}

std::vector<std::string> LaunchProbe::Started() const {
    std::vector<std::string> started;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(markerDir_, ignored)) {
        std::ifstream in(entry.path(), std::ios::binary);
        started.push_back(Lower(
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())));
    }
    std::sort(started.begin(), started.end());
    return started;
}

}  // namespace tarvello::test

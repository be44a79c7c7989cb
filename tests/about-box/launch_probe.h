#pragma once
// Test scaffolding for the launcher: a scratch registry key under HKEY_CURRENT_USER, a scratch
// folder, and a probe that sees which copies of the marker tool were started.

#include <windows.h>

#include <string>
#include <vector>

namespace tarvello::test {

// A key of its own under HKCU\Software, deleted with everything below it at the end.
class ScratchKey {
public:
    ScratchKey();
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY root() const { return HKEY_CURRENT_USER; }
    // Path of a sub-key, relative to the root.
    std::string Path(const std::string& subKey) const { return path_ + "\\" + subKey; }
    void SetBytes(const std::string& subKey, const std::string& valueName, DWORD type,
                  const std::string& bytes) const;
    // A text value stored with its terminating zero.
    void SetText(const std::string& subKey, const std::string& valueName,
                 const std::string& text) const {
        SetBytes(subKey, valueName, REG_SZ, text + std::string(1, '\0'));
    }

private:
    std::string path_;
};

// A folder of its own under the temporary folder, removed at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    // Creates a folder (and its parents) below this one and returns its full path.
    std::string MakeFolder(const std::string& relative) const;
    // Copies the marker tool to a path below this one and returns the full path.
    std::string PlantTool(const std::string& relative) const;

private:
    std::string path_;
};

// Every copy of the marker tool started while a probe lives leaves one marker and releases one
// count of the probe's semaphore.
class LaunchProbe {
public:
    LaunchProbe();
    ~LaunchProbe();
    LaunchProbe(const LaunchProbe&) = delete;
    LaunchProbe& operator=(const LaunchProbe&) = delete;

    // Waits, bounded, for `count` starts; false if they did not all come.
    bool WaitForStarts(int count) const;
    // The lower-cased paths of the copies that started, sorted.
    std::vector<std::string> Started() const;

private:
    std::string markerDir_;
    HANDLE semaphore_ = nullptr;
};

std::string MarkerToolPath();
std::string Lower(std::string text);

}  // namespace tarvello::test

// Plays a user of the unpacked package: starts the stand-in host with a quote, starts the
// utility, chooses "Nearest Multiple of" 5 on the unit price and presses Round, all through
// window messages from outside, looks up the version in Help > About, then closes both
// programs. Controls are found by their captions, as a user finds them, not by ids (the menu,
// which Wine does not show to other processes, by its command). Checks on the way that the
// version resource and the About box say VERSION, that the manifest declares per-monitor DPI
// awareness and that the icon is drawn for every size from 16 to 256 pixels.
//
//   drive_round --utility EXE --standin EXE --quote CSV --dump CSV --ready FILE --version X.Y.Z
//
// Exit code 0 when every step worked; otherwise the failed step is on standard error.
#include <windows.h>

#include <cstdio>
#include <deque>
#include <exception>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "identity/identity.h"
#include "identity/resource_ids.h"
#include "tests/support/launch.h"
#include "ui/main-window/main_window_layout.h"

namespace {

using tarvello::launch::Narrow;
using tarvello::launch::Started;
using tarvello::launch::WindowText;

constexpr DWORD kStartTimeoutMs = 60000;
constexpr DWORD kCallTimeoutMs = 60000;

struct Child {
    HWND window;
    std::wstring cls;
    std::wstring text;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    reinterpret_cast<std::vector<Child>*>(param)->push_back({window, cls, WindowText(window)});
    return TRUE;
}

std::vector<Child> Children(HWND parent) {
    std::vector<Child> all;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
    return all;
}

HWND ControlByCaption(HWND parent, const std::wstring& caption) {
    const std::vector<Child> all = Children(parent);
    for (const Child& c : all) {
        if (c.text == caption) return c.window;
    }
    std::string seen;
    for (const Child& c : all) seen += "\n  " + Narrow(c.cls) + " \"" + Narrow(c.text) + "\"";
    throw std::runtime_error("no control \"" + Narrow(caption) + "\"; the window has:" + seen);
}

bool IsEdit(HWND window) {
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    return lstrcmpiW(cls, L"Edit") == 0;
}

// Sends and waits for the window procedure to finish, within a bound: a message box shown
// by the utility would otherwise hold the driver for ever.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const char* what) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kCallTimeoutMs,
                             &result)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        std::string box;
        if (HWND dialog = tarvello::launch::FindDialog(pid)) {
            box = "; message box shown: " + Narrow(tarvello::launch::DialogText(dialog));
        }
        throw std::runtime_error(std::string(what) + " did not return" + box);
    }
    return static_cast<LRESULT>(result);
}

void Click(HWND parent, const std::wstring& caption) {
    std::printf("drive_round: click \"%s\"\n", Narrow(caption).c_str());
    Send(ControlByCaption(parent, caption), BM_CLICK, 0, 0, Narrow(caption).c_str());
}

void ExpectChecked(HWND parent, const std::wstring& caption) {
    if (Send(ControlByCaption(parent, caption), BM_GETCHECK, 0, 0, "BM_GETCHECK") != BST_CHECKED) {
        throw std::runtime_error("option \"" + Narrow(caption) + "\" is not on after its click");
    }
}

void ExpectNoMessageBox(DWORD processId, const char* when) {
    if (HWND dialog = tarvello::launch::FindDialog(processId)) {
        throw std::runtime_error(std::string("message box ") + when + ": " +
                                 Narrow(tarvello::launch::DialogText(dialog)));
    }
}

// The amount box of "Nearest Multiple of": choosing that option moves the focus into it; a
// window that does not do so still has exactly one box holding the default "5".
HWND NearestAmountBox(HWND mainWindow) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(mainWindow, nullptr), &info) && info.hwndFocus &&
        IsEdit(info.hwndFocus)) {
        return info.hwndFocus;
    }
    std::fprintf(stderr, "drive_round: focus not in a text box; taking the box holding 5\n");
    for (const Child& c : Children(mainWindow)) {
        if (IsEdit(c.window) && c.text == L"5") return c.window;
    }
    throw std::runtime_error("no text box for \"Nearest Multiple of\"");
}

void WaitForFile(const Started& owner, const std::wstring& path) {
    const ULONGLONG deadline = GetTickCount64() + kStartTimeoutMs;
    while (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount64() >= deadline) {
            throw std::runtime_error("the stand-in did not write " + Narrow(path));
        }
        // The stand-in's process handle is the pause, so that its early end is seen at once.
        if (WaitForSingleObject(owner.process.get(), 50) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(owner.process.get(), &code);
            throw std::runtime_error("the stand-in ended with code " + std::to_string(code));
        }
    }
}

std::wstring Folder(const std::wstring& exe) {
    size_t slash = exe.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : exe.substr(0, slash);
}

// Owns the programs the driver starts and ends whatever still runs when a step fails, so that
// no process outlives the driver.
class Running {
public:
    Running() = default;
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
    ~Running() {
        for (const Started& p : processes_) {
            if (WaitForSingleObject(p.process.get(), 0) == WAIT_TIMEOUT) {
                TerminateProcess(p.process.get(), 1);
            }
        }
    }
    // A deque keeps the references handed out valid as more programs are added.
    const Started& Add(Started started) { return processes_.emplace_back(std::move(started)); }

private:
    std::deque<Started> processes_;
};

void Close(const Started& p, HWND window, const char* name) {
    DWORD code = 0;
    if (!tarvello::launch::CloseAndWait(p, window, 20000, code)) {
        throw std::runtime_error(std::string(name) + " did not end when asked to close");
    }
    if (code != 0) {
        throw std::runtime_error(std::string(name) + " ended with code " + std::to_string(code));
    }
}

struct Version {
    unsigned major = 0, minor = 0, revision = 0;
};

Version ParseVersion(const std::wstring& text) {
    Version v;
    if (swscanf(text.c_str(), L"%u.%u.%u", &v.major, &v.minor, &v.revision) != 3) {
        throw std::runtime_error("--version " + Narrow(text) + " is not major.minor.revision");
    }
    return v;
}

// The executable's version resource: the numbers major.minor.0.revision, and the texts with the
// minor number in two digits and the revision in four.
void CheckVersionResource(const std::wstring& exe, const Version& v) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    std::vector<BYTE> data(size);
    if (size == 0 || !GetFileVersionInfoW(exe.c_str(), 0, size, data.data())) {
        throw std::runtime_error("the utility carries no version resource");
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
        fixed->dwFileVersionMS != (v.major << 16 | v.minor) ||
        fixed->dwFileVersionLS != (v.revision & 0xFFFF) ||
        fixed->dwProductVersionMS != fixed->dwFileVersionMS ||
        fixed->dwProductVersionLS != fixed->dwFileVersionLS) {
        throw std::runtime_error("the version resource's numbers are not those of the version");
    }
    wchar_t expected[32];
    swprintf(expected, 32, L"%u.%02u.%04u", v.major, v.minor, v.revision);
    for (const wchar_t* name : {L"FileVersion", L"ProductVersion"}) {
        wchar_t* text = nullptr;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
        if (!VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&text), &length) ||
            std::wstring(text) != expected) {
            throw std::runtime_error("the version resource's " + Narrow(name) + " is not " +
                                     Narrow(expected));
        }
    }
    std::printf("drive_round: version resource says %s\n", Narrow(expected).c_str());
}

// The manifest's assembly identity carries the same version, as major.minor.0.revision.
void CheckManifestVersion(const std::wstring& exe, const Version& v) {
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found =
        module ? FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)) : nullptr;
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* text = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    const std::string manifest = text ? std::string(text, SizeofResource(module, found)) : "";
    if (module) FreeLibrary(module);
    char expected[96];
    std::snprintf(expected, sizeof expected,
                  "name=\"Brellwick.TarvelloRounding\" version=\"%u.%u.0.%u\"", v.major, v.minor,
                  v.revision);
    if (manifest.find(expected) == std::string::npos) {
        throw std::runtime_error(std::string("the manifest's assembly identity is not ") +
                                 expected);
    }
    std::printf("drive_round: manifest says %s\n", expected);
    if (manifest.find(">PerMonitorV2, PerMonitor<") == std::string::npos) {
        throw std::runtime_error("the manifest does not declare per-monitor DPI awareness");
    }
}

// The icon is drawn for every size from 16 to 256 pixels (a group entry is 14 bytes, its width
// first, 0 for 256, after three words).
void CheckIconSizes(const std::wstring& exe) {
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = module ? FindResourceW(module, MAKEINTRESOURCEW(TARVELLO_ICON_ID),
                                         MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */)
                         : nullptr;
    const auto* group =
        found ? static_cast<const BYTE*>(LockResource(LoadResource(module, found))) : nullptr;
    std::string sizes;
    for (int i = 0; group && i < group[4]; ++i) sizes += std::to_string(group[6 + 14 * i]) + " ";
    if (module) FreeLibrary(module);
    if (sizes != "16 20 24 32 40 48 64 0 ") throw std::runtime_error("the icon's sizes: " + sizes);
}

// Opens Help > About, reads the version line and closes the box with OK.
void CheckAboutVersion(const Started& utility, HWND main, const std::wstring& version) {
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(tarvello::ui::main_window::kMnuHelpAbout, 0), 0);
    const std::wstring caption = L"About " TARVELLO_TITLE;
    HWND box = nullptr;
    for (const ULONGLONG deadline = GetTickCount64() + kCallTimeoutMs; !box;) {
        box = tarvello::launch::FindTopWindow(utility.processId, caption);
        if (!box && GetTickCount64() >= deadline) throw std::runtime_error("no About box");
        if (!box) Sleep(20);
    }
    std::wstring line;
    for (const Child& c : Children(box)) {
        if (c.text.rfind(L"Version ", 0) == 0) line = c.text;
    }
    std::printf("drive_round: About box says \"%s\"\n", Narrow(line).c_str());
    if (line != L"Version " + version) {
        throw std::runtime_error("the About box says \"" + Narrow(line) + "\", not version " +
                                 Narrow(version));
    }
    PostMessageW(ControlByCaption(box, L"OK"), BM_CLICK, 0, 0);
    for (const ULONGLONG deadline = GetTickCount64() + kCallTimeoutMs;
         tarvello::launch::FindTopWindow(utility.processId, caption);) {
        if (GetTickCount64() >= deadline) throw std::runtime_error("the About box stays open");
        Sleep(20);
    }
}

void Drive(const std::map<std::wstring, std::wstring>& args) {
    const std::wstring standinExe = args.at(L"--standin");
    const std::wstring utilityExe = args.at(L"--utility");
    const std::wstring ready = args.at(L"--ready");
    const std::wstring version = args.at(L"--version");
    CheckVersionResource(utilityExe, ParseVersion(version));
    CheckManifestVersion(utilityExe, ParseVersion(version));
    CheckIconSizes(utilityExe);
    Running running;

    const Started& standin = running.Add(tarvello::launch::Start(
        standinExe,
        L"--quote \"" + args.at(L"--quote") + L"\" --dump \"" + args.at(L"--dump") +
            L"\" --ready-file \"" + ready + L"\" --quiet",
        Folder(standinExe)));
    WaitForFile(standin, ready);
    std::printf("drive_round: stand-in ready\n");

    const Started& utility =
        running.Add(tarvello::launch::Start(utilityExe, L"", Folder(utilityExe)));
    HWND main = tarvello::launch::WaitUntilReady(utility, L"" TARVELLO_TITLE, kStartTimeoutMs);
    std::printf("drive_round: utility window ready\n");
    ExpectNoMessageBox(utility.processId, "at start");

    Click(main, L"Nearest Multiple of");
    HWND amount = NearestAmountBox(main);
    Send(amount, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"5"), "WM_SETTEXT");
    Click(main, L"Unit Price");
    ExpectChecked(main, L"Nearest Multiple of");
    ExpectChecked(main, L"Unit Price");
    Click(main, L"&Round");
    ExpectNoMessageBox(utility.processId, "after Round");
    CheckAboutVersion(utility, main, version);

    // Posted: the button's handler ends the program, and its answer does not matter.
    std::printf("drive_round: click \"&Close\"\n");
    PostMessageW(ControlByCaption(main, L"&Close"), BM_CLICK, 0, 0);
    Close(utility, nullptr, "the utility");
    Close(standin, FindWindowW(L"TarvelloStandinWindow", nullptr), "the stand-in");
    std::printf("drive_round: both programs closed\n");
}

}  // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::map<std::wstring, std::wstring> args;
    for (int i = 1; argv && i + 1 < argc; i += 2) args[argv[i]] = argv[i + 1];
    if (argv) LocalFree(argv);
    for (const wchar_t* key :
         {L"--utility", L"--standin", L"--quote", L"--dump", L"--ready", L"--version"}) {
        if (!args.count(key)) {
            std::fprintf(stderr,
                         "usage: drive_round --utility EXE --standin EXE --quote CSV --dump CSV "
                         "--ready FILE --version X.Y.Z\n");
            return 2;
        }
    }
    try {
        Drive(args);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "drive_round: %s\n", e.what());
        return 1;
    }
}

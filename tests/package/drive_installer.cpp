// Plays the administrator and the user of the installed utility, as far as a shell under Wine
// cannot: Windows Installer's exit codes in full (Wine hands a Unix shell only their low byte),
// its message boxes, the Start menu shortcut as a user finds it, and the products it lists in
// Apps & features.
//
//   drive_installer msiexec EXIT_CODE [--says TEXT] -- MSIEXEC_ARGUMENTS...
//       runs msiexec and succeeds when it ends with EXIT_CODE; with --says, waits for its
//       message box, which must hold TEXT, and presses OK
//   drive_installer shortcut [--absent]
//       prints the target of the Start menu's shortcut of the utility, after checking that it
//       lies in %LOCALAPPDATA%\Programs\<title> and carries an icon; --absent
//       checks that there is no such shortcut
//   drive_installer products
//       prints a line for each product installed: code|name|version|publisher|icon file
//
// Exit code 0 when every check held; otherwise the failed check is on standard error.
#include <windows.h>

#include <knownfolders.h>
#include <msi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "identity/identity.h"
#include "tests/support/launch.h"

namespace {

using Microsoft::WRL::ComPtr;
using tarvello::launch::Narrow;

constexpr DWORD kInstallTimeoutMs = 180000;
const std::wstring kUtilityName = L"TarvelloRounding.exe";

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    if (FAILED(SHGetKnownFolderPath(id, 0, nullptr, &path))) {
        throw std::runtime_error("no known folder");
    }
    std::wstring text = path;
    CoTaskMemFree(path);
    return text;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool HasIcon(const std::wstring& file) {
    return !file.empty() && ExtractIconExW(file.c_str(), -1, nullptr, nullptr, 0) > 0;
}

// Presses OK in msiexec's message box once it shows, which must say `says`.
void Answer(const tarvello::launch::Started& msiexec, const std::wstring& says) {
    const ULONGLONG deadline = GetTickCount64() + kInstallTimeoutMs;
    HWND box = nullptr;
    while (!(box = tarvello::launch::FindDialog(msiexec.processId))) {
        if (WaitForSingleObject(msiexec.process.get(), 20) == WAIT_OBJECT_0) {
            throw std::runtime_error("msiexec ended without a message box");
        }
        if (GetTickCount64() >= deadline) throw std::runtime_error("no message box of msiexec");
    }
    const std::wstring text = tarvello::launch::DialogText(box);
    std::printf("drive_installer: msiexec says \"%s\"\n", Narrow(text).c_str());
    if (text.find(says) == std::wstring::npos) {
        throw std::runtime_error("the message box does not say \"" + Narrow(says) + "\"");
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

int RunMsiexec(DWORD expected, const std::wstring& says, const std::wstring& arguments) {
    const std::wstring exe = KnownFolder(FOLDERID_System) + L"\\msiexec.exe";
    const tarvello::launch::Started msiexec = tarvello::launch::Start(exe, arguments);
    if (!says.empty()) Answer(msiexec, says);
    if (WaitForSingleObject(msiexec.process.get(), kInstallTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(msiexec.process.get(), 1);
        throw std::runtime_error("msiexec did not end");
    }
    DWORD code = 0;
    GetExitCodeProcess(msiexec.process.get(), &code);
    std::printf("drive_installer: msiexec %s ended with %lu\n", Narrow(arguments).c_str(), code);
    if (code != expected) {
        throw std::runtime_error("msiexec ended with " + std::to_string(code) + ", not " +
                                 std::to_string(expected));
    }
    return 0;
}

int CheckShortcut(bool absent) {
    const std::wstring link = KnownFolder(FOLDERID_Programs) + L"\\" TARVELLO_TITLE L".lnk";
    if (absent) {
        if (Exists(link)) throw std::runtime_error(Narrow(link) + " is still there");
        return 0;
    }
    ComPtr<IShellLinkW> shortcut;
    ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&shortcut))) ||
        FAILED(shortcut.As(&file)) || FAILED(file->Load(link.c_str(), STGM_READ))) {
        throw std::runtime_error("no shortcut " + Narrow(link));
    }
    wchar_t target[MAX_PATH] = {}, icon[MAX_PATH] = {};
    int iconIndex = 0;
    shortcut->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    shortcut->GetIconLocation(icon, MAX_PATH, &iconIndex);
    const std::wstring installFolder =
        KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\" TARVELLO_TITLE;
    if (lstrcmpiW(target, (installFolder + L"\\" + kUtilityName).c_str()) != 0) {
        throw std::runtime_error("the shortcut leads to " + Narrow(target) + ", not into " +
                                 Narrow(installFolder));
    }
    if (!Exists(target)) throw std::runtime_error(Narrow(target) + " is missing");
    if (!HasIcon(icon))
        throw std::runtime_error("the shortcut's icon " + Narrow(icon) + " is none");
    std::printf("%s\n", Narrow(target).c_str());
    return 0;
}

std::wstring ProductInfo(const wchar_t* code, const wchar_t* property) {
    DWORD size = 0;
    if (MsiGetProductInfoW(code, property, nullptr, &size) != ERROR_SUCCESS) return {};
    std::vector<wchar_t> text(++size);
    if (MsiGetProductInfoW(code, property, text.data(), &size) != ERROR_SUCCESS) return {};
    return text.data();
}

int ListProducts() {
    wchar_t code[39] = {};
    for (DWORD i = 0; MsiEnumProductsW(i, code) == ERROR_SUCCESS; ++i) {
        const std::wstring icon = ProductInfo(code, L"ProductIcon");
        std::printf("%s|%s|%s|%s|%s\n", Narrow(code).c_str(),
                    Narrow(ProductInfo(code, L"InstalledProductName")).c_str(),
                    Narrow(ProductInfo(code, L"VersionString")).c_str(),
                    Narrow(ProductInfo(code, L"Publisher")).c_str(),
                    HasIcon(icon) ? Narrow(icon).c_str() : "no icon");
    }
    return 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: drive_installer msiexec EXIT_CODE [--says TEXT] -- ARGUMENTS...\n"
                 "       drive_installer shortcut [--absent]\n"
                 "       drive_installer products\n");
    return 2;
}

int Drive(const std::vector<std::wstring>& args) {
    if (args.size() >= 3 && args[0] == L"msiexec") {
        std::wstring says, arguments;
        size_t i = 2;
        if (args[i] == L"--says" && i + 1 < args.size()) {
            says = args[i + 1];
            i += 2;
        }
        if (i >= args.size() || args[i] != L"--") return Usage();
        for (++i; i < args.size(); ++i) {
            const bool quote = args[i].find(L' ') != std::wstring::npos;
            arguments += quote ? L" \"" + args[i] + L"\"" : L" " + args[i];
        }
        return RunMsiexec(std::stoul(args[1]), says, arguments);
    }
    if (args.size() == 1 && args[0] == L"shortcut") return CheckShortcut(false);
    if (args.size() == 2 && args[0] == L"shortcut" && args[1] == L"--absent") {
        return CheckShortcut(true);
    }
    if (args.size() == 1 && args[0] == L"products") return ListProducts();
    return Usage();
}

}  // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    LocalFree(argv);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    int result = 1;
    try {
        result = Drive(args);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "drive_installer: %s\n", e.what());
    }
    CoUninitialize();
    return result;
}

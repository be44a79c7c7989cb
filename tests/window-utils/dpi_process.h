#pragma once
// Runs a test program's tests again in a child process started at another DPI. Wine takes the
// DPI of a program from the registry as the program starts, from HKCU\Control Panel\Desktop
// LogPixels before HKLM\...\Hardware Profiles\Current\Software\Fonts LogPixels; the first is set
// for the child's start and put back as it was once the child has ended. Every program started
// in the prefix meanwhile would start at that DPI too: the test runs alone (RUN_SERIAL).

namespace tarvello::ui::testing {

// The flag the child is started with, last on its command line.
inline constexpr const wchar_t* kChildFlag = L"--tarvello-at-dpi";

// Starts this program again with kChildFlag at `dpi`; gives its exit code (1 when it could not
// be started or did not end in time, and was ended).
int RunAgainAtDpi(int dpi);

}  // namespace tarvello::ui::testing

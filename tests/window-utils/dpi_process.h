#pragma once
// Runs a test program's tests in a child started at another DPI. Wine takes a program's DPI as
// it starts from HKCU\Control Panel\Desktop LogPixels (before HKLM\...\Hardware Profiles\Current
// \Software\Fonts LogPixels): it is set for the child and put back once the child has ended.
// Any program started meanwhile in the prefix would get it too: such a test runs alone.

namespace tarvello::ui::testing {

// What the child is started with, last on its command line.
inline constexpr const wchar_t* kChildFlag = L"--tarvello-at-dpi";

// Starts this program again with kChildFlag at `dpi`; gives its exit code.
int RunAgainAtDpi(int dpi);

}  // namespace tarvello::ui::testing

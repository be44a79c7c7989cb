#include "tests/main-window/history_window.h"

#include "tests/main-window/remote_window.h"
#include "tests/support/launch.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/round-history-window/round_history_layout.h"

namespace tarvello::ui::testing {

HWND OpenHistory(HWND utility, DWORD processId) {
    PostMessageW(utility, WM_COMMAND, MAKEWPARAM(main_window::kMnuEditRoundHistory, 0), 0);
    return WaitForHistory(processId);
}

HWND WaitForHistory(DWORD processId, HWND gone) {
    for (const ULONGLONG deadline = GetTickCount64() + 60000; GetTickCount64() < deadline;
         Sleep(50)) {
        HWND found = FindWindowOfClass(processId, L"TarvelloRoundHistory");
        if (found && found != gone && IsWindowVisible(found)) return found;
    }
    return nullptr;
}

std::wstring HistoryList(HWND history) {
    if (!SendBounded(GetDlgItem(history, round_history_window::kCmdCopy), BM_CLICK)) return L"";
    return launch::ClipboardText();
}

void PressInHistory(HWND history, int button) {
    PostMessageW(GetDlgItem(history, button), BM_CLICK, 0, 0);
}

bool AnswerYes(DWORD processId) {
    HWND box = WaitForMessageBox(processId, 60000);
    if (!box) return false;
    PostMessageW(box, WM_COMMAND, IDYES, 0);
    return true;
}

}  // namespace tarvello::ui::testing

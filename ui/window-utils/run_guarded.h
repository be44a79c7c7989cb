#pragma once
// The program's last line: whatever escapes it ends in one message box under the program's
// title, never in the system's crash dialog.

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

#include "identity/identity.h"
#include "ui/window-utils/message_presenter.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

// Runs `program` and gives its exit code, or 1 once the failure has been told.
inline int RunGuarded(const std::function<int()>& program, MessagePresenter& messages) {
    std::wstring text;
    try {
        return program();
    } catch (const std::exception& e) {
        text = L"The program could not start: " + ToWide(std::string(e.what()));
    } catch (...) {
        text = L"The program could not start because of an unexpected error.";
    }
    messages.Show(nullptr, text, L"" TARVELLO_TITLE, MB_ICONERROR);
    return 1;
}

}  // namespace tarvello::ui

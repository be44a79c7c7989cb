#pragma once
// Records the message boxes the About box and its launcher would show.

#include <windows.h>

#include <string>
#include <vector>

#include "ui/window-utils/message_presenter.h"

namespace tarvello::test {

struct Shown {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};

class RecordingPresenter : public ui::MessagePresenter {
public:
    void Show(HWND owner, const std::wstring& text, const std::wstring& title, UINT icon) override {
        shown.push_back({owner, text, title, icon});
    }
    bool Ask(HWND owner, const std::wstring& text, const std::wstring& title) override {
        shown.push_back({owner, text, title, MB_YESNO});
        return answer;
    }
    std::vector<Shown> shown;
    bool answer = false;  // to every question: No, the default, unless a test says Yes
};

}  // namespace tarvello::test

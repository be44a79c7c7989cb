#pragma once
// The one way the program's windows show a message box: wide text, one OK button (or Yes and No
// for a question), owned by the window that speaks. The program wires in SystemMessagePresenter;
// tests wire in recorders.

#include <windows.h>

#include <string>

namespace tarvello::ui {

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // Shows the text under `title` with `icon` (MB_ICONERROR, or 0 for none) and returns when
    // the user has closed the box.
    virtual void Show(HWND owner, const std::wstring& text, const std::wstring& title,
                      UINT icon) = 0;
    // Asks a question with Yes and No, No the default (Enter), under the warning icon. True for
    // Yes.
    virtual bool Ask(HWND owner, const std::wstring& text, const std::wstring& title) = 0;
};

class SystemMessagePresenter final : public MessagePresenter {
public:
    void Show(HWND owner, const std::wstring& text, const std::wstring& title, UINT icon) override {
        MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | icon);
    }
    bool Ask(HWND owner, const std::wstring& text, const std::wstring& title) override {
        return MessageBoxW(owner, text.c_str(), title.c_str(),
                           MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING) == IDYES;
    }
};

}  // namespace tarvello::ui

#pragma once
// A small text file of the user's that roams with their profile: the price rules, kept in
// %APPDATA%\Tarvello Rounding Utility\ so that they follow the user to another machine and can
// be given to a colleague. Written whole or not at all.

#include <string>

#include "ui/main-window/services.h"

namespace tarvello::app {

class RoamingFile : public ui::UserFile {
public:
    // `name` in `folder`; the user's roaming application data when `folder` is empty.
    explicit RoamingFile(std::wstring name, std::wstring folder = L"");

    std::string Where() const override;
    std::optional<std::string> Read(std::string& why) override;
    bool Write(const std::string& text, std::string& why) override;
    bool KeepAside(const std::string& suffix, std::string& where, std::string& why) override;

private:
    std::wstring folder_;
    std::wstring path_;
};

}  // namespace tarvello::app

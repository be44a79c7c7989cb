#pragma once
// The ProgID "Tarvello.Application" pointing at the stand-in's own CLSID, written under
// HKEY_CLASSES_ROOT and HKEY_CURRENT_USER\Software\Classes, and removed again at exit. A
// registration that names another CLSID belongs to someone else and is never touched.

#include <windows.h>

#include <string>
#include <vector>

namespace tarvello::standin {

extern const CLSID kStandinClsid;
extern const wchar_t kProgId[];
extern const wchar_t kStandinClsidText[];

class Registration {
public:
    enum class Outcome { Registered, Foreign, Failed };

    Registration() = default;
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;
    ~Registration() { Remove(); }

    // On Foreign or Failed nothing has been written; *message says why.
    Outcome Register(std::wstring* message);
    // Removes the entries written by Register that still name the stand-in.
    void Remove();

private:
    struct Root {
        HKEY key;
        std::wstring classes;  // "" or "Software\Classes\"
    };
    std::vector<Root> written_;
};

}  // namespace tarvello::standin

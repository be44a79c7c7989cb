#pragma once
// The ProgID "Tarvello.Application" pointing at the stand-in's own CLSID, written under
// HKEY_CLASSES_ROOT and HKEY_CURRENT_USER\Software\Classes, and removed again at exit. A
// registration that names another CLSID belongs to someone else and is never touched; one
// that names the stand-in's own CLSID is its own (possibly left by an abrupt end) and is
// reused and removed.

#include <windows.h>

#include <string>

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
    // After a successful Register: removes, in every place, the entries that still hold the
    // stand-in's own values. Does nothing otherwise.
    void Remove();

private:
    bool registered_ = false;
};

}  // namespace tarvello::standin

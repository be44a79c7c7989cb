#include "standin/options.h"

#include <cerrno>
#include <cwchar>

namespace tarvello::standin {
namespace {

bool ParseLong(const std::wstring& text, long minimum, long* value) {
    if (text.empty()) return false;
    wchar_t* end = nullptr;
    errno = 0;
    long v = std::wcstol(text.c_str(), &end, 10);
    if (errno != 0 || *end != L'\0' || v < minimum) return false;
    *value = v;
    return true;
}

// "N:HRESULT[:COUNT]" with the HRESULT in hex (0x80020009) or decimal.
bool ParseFailCall(const std::wstring& text, FailCall* fail) {
    size_t c1 = text.find(L':');
    if (c1 == std::wstring::npos) return false;
    size_t c2 = text.find(L':', c1 + 1);
    std::wstring hr =
        text.substr(c1 + 1, c2 == std::wstring::npos ? std::wstring::npos : c2 - c1 - 1);
    if (!ParseLong(text.substr(0, c1), 1, &fail->first)) return false;
    if (c2 != std::wstring::npos && !ParseLong(text.substr(c2 + 1), 1, &fail->count)) return false;
    if (hr.empty()) return false;
    wchar_t* end = nullptr;
    errno = 0;
    unsigned long long v = std::wcstoull(hr.c_str(), &end, 0);
    if (errno != 0 || *end != L'\0' || v > 0xFFFFFFFFull || hr[0] == L'-') return false;
    fail->hresult = static_cast<int32_t>(static_cast<uint32_t>(v));
    return true;
}

// "N[:silent]".
bool ParseKeepDecimals(const std::wstring& value, HostManners* manners) {
    const size_t colon = value.find(L':');
    long decimals = 0;
    if (!ParseLong(value.substr(0, colon), 0, &decimals) || decimals > 15) return false;
    manners->keepDecimals = static_cast<int>(decimals);
    if (colon == std::wstring::npos) return true;
    manners->keepsSilently = value.substr(colon + 1) == L"silent";
    return manners->keepsSilently;
}

// "N:ROW:FIELD:VALUE"; the value may hold colons.
bool ParseEdit(const std::wstring& value, EditAtCall* edit) {
    const size_t first = value.find(L':');
    const size_t second = first == std::wstring::npos ? first : value.find(L':', first + 1);
    const size_t third = second == std::wstring::npos ? second : value.find(L':', second + 1);
    if (third == std::wstring::npos) return false;
    long row = 0;
    if (!ParseLong(value.substr(0, first), 1, &edit->call) ||
        !ParseLong(value.substr(first + 1, second - first - 1), 0, &row) || row > 32767) {
        return false;
    }
    edit->row = static_cast<int>(row);
    edit->field = value.substr(second + 1, third - second - 1);
    edit->value = value.substr(third + 1);
    return edit->field == L"LineType" || edit->field == L"QtyTotal" ||
           edit->field == L"UnitPrice" || edit->field == L"PriceModifier";
}

}  // namespace

bool ParseOptions(const std::vector<std::wstring>& args, StandinOptions* options,
                  std::wstring* error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& name = args[i];
        if (name == L"--quiet") {
            options->quiet = true;
            continue;
        }
        if (name == L"--fresh-members") {
            options->freshMembers = true;
            continue;
        }
        if (name.rfind(L"--", 0) != 0) {
            *error = L"unexpected argument \"" + name + L"\"";
            return false;
        }
        if (i + 1 >= args.size()) {
            *error = name + L" needs a value";
            return false;
        }
        const std::wstring& value = args[++i];
        bool ok = true;
        long number = 0;
        if (name == L"--quote") {
            options->quotes.push_back(value);
        } else if (name == L"--active-document") {
            ok = ParseLong(value, -1, &number) && number <= 32767;
            options->activeDocument = static_cast<int>(number);
        } else if (name == L"--selected") {
            options->selected = value;
        } else if (name == L"--active-row") {
            ok = ParseLong(value, -1, &number) && number <= 32767;
            options->activeRow = static_cast<int>(number);
        } else if (name == L"--dump") {
            options->dumpFile = value;
        } else if (name == L"--log") {
            options->logFile = value;
        } else if (name == L"--fail-call") {
            FailCall fail;
            ok = ParseFailCall(value, &fail);
            options->failCalls.push_back(fail);
        } else if (name == L"--exit-at-call") {
            ok = ParseLong(value, 1, &options->exitAtCall);
        } else if (name == L"--hold-at-call") {
            const size_t colon = value.find(L':');
            ok = ParseLong(value.substr(0, colon), 1, &options->holdAtCall) &&
                 (colon == std::wstring::npos ||
                  ParseLong(value.substr(colon + 1), 1, &options->holdMs));
        } else if (name == L"--keep-decimals") {
            ok = ParseKeepDecimals(value, &options->manners);
        } else if (name == L"--no-modifier-as") {
            using NoModifier = HostManners::NoModifier;
            ok = value == L"empty" || value == L"null";
            options->manners.noModifier = value == L"null" ? NoModifier::Null : NoModifier::Empty;
        } else if (name == L"--edit-at-call") {
            EditAtCall edit;
            ok = ParseEdit(value, &edit);
            options->edits.push_back(edit);
        } else if (name == L"--ready-file") {
            options->readyFile = value;
        } else {
            *error = L"unknown option " + name;
            return false;
        }
        if (!ok) {
            *error = L"bad value \"" + value + L"\" for " + name;
            return false;
        }
    }
    return true;
}

const wchar_t* UsageText() {
    return L"TarvelloStandin [--quote FILE]... [--active-document N] [--selected LIST]\n"
           L"    [--active-row N] [--dump FILE] [--log FILE] [--fail-call N:HRESULT[:COUNT]]...\n"
           L"    [--exit-at-call N] [--hold-at-call N[:MS]] [--ready-file FILE] [--fresh-members]\n"
           L"    [--keep-decimals N[:silent]] [--no-modifier-as empty|null]\n"
           L"    [--edit-at-call N:ROW:FIELD:VALUE]... [--quiet]";
}

}  // namespace tarvello::standin

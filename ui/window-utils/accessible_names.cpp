#include "ui/window-utils/accessible_names.h"

#include <algorithm>

#include "ui/window-utils/platform_accessible_properties.h"

namespace tarvello::ui {

namespace {

// A screen reader needs about a second to say "Rounding row 120 of 400".
constexpr ULONGLONG kAnnounceEveryMs = 1000;

AccessibleProperties*& Replacement() {
    static AccessibleProperties* replacement = nullptr;
    return replacement;
}

// When each live region was last announced. The one user-interface thread is the only one
// that announces.
struct LastTold {
    HWND control;
    ULONGLONG at;
};
std::vector<LastTold>& Announced() {
    static std::vector<LastTold> announced;
    return announced;
}

}  // namespace

AccessibleProperties& CurrentAccessibleProperties() {
    static PlatformAccessibleProperties platform;
    return Replacement() ? *Replacement() : platform;
}

ScopedAccessibleProperties::ScopedAccessibleProperties(AccessibleProperties& replacement)
    : previous_(Replacement()) {
    Replacement() = &replacement;
}

ScopedAccessibleProperties::~ScopedAccessibleProperties() {
    Replacement() = previous_;
}

std::wstring NameFromCaption(const wchar_t* caption) {
    std::wstring name;
    for (const wchar_t* c = caption ? caption : L""; *c; ++c) {
        if (*c == L'&' && *++c == L'\0') break;
        name += *c;
    }
    return name;
}

void AccessibleAnnotations::Annotate(std::initializer_list<const ControlSet*> sets) {
    AccessibleProperties& properties = CurrentAccessibleProperties();
    for (const ControlSet* set : sets) {
        for (const ControlSpec& row : set->Rows()) {
            const ControlSpec* label = row.labelledBy ? set->Row(row.labelledBy) : nullptr;
            if (!label && !row.liveRegion) continue;
            HWND control = set->Handle(row.id);
            if (label) properties.SetName(control, NameFromCaption(label->caption));
            if (row.liveRegion) properties.SetPoliteLiveRegion(control);
            annotated_.push_back(control);
        }
    }
}

AccessibleAnnotations::~AccessibleAnnotations() {
    AccessibleProperties& properties = CurrentAccessibleProperties();
    auto& announced = Announced();
    for (HWND control : annotated_) {
        properties.Clear(control);
        announced.erase(std::remove_if(announced.begin(), announced.end(),
                                       [&](const LastTold& t) { return t.control == control; }),
                        announced.end());
    }
}

void AnnounceLiveRegionChange(HWND control) {
    const ULONGLONG now = GetTickCount64();
    auto& announced = Announced();
    auto last = std::find_if(announced.begin(), announced.end(),
                             [&](const LastTold& t) { return t.control == control; });
    if (last == announced.end()) {
        announced.push_back({control, now});
    } else if (now - last->at < kAnnounceEveryMs) {
        return;
    } else {
        last->at = now;
    }
    CurrentAccessibleProperties().LiveRegionChanged(control);
}

}  // namespace tarvello::ui

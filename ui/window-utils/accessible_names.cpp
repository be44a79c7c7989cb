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

// The one user-interface thread is the only one that announces.
AnnouncementPacing& Pacing() {
    static AnnouncementPacing pacing;
    return pacing;
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
            const bool named = label || !row.accessibleName.empty();
            if (!named && !row.liveRegion) continue;
            HWND control = set->Handle(row.id);
            if (named) {
                properties.SetName(control, row.accessibleName.empty()
                                                ? NameFromCaption(label->caption)
                                                : row.accessibleName);
            }
            if (row.liveRegion) properties.SetPoliteLiveRegion(control);
            annotated_.push_back(control);
        }
    }
}

void AccessibleAnnotations::Describe(HWND control, const std::wstring& description) {
    CurrentAccessibleProperties().SetDescription(control, description);
    if (std::find(annotated_.begin(), annotated_.end(), control) == annotated_.end()) {
        annotated_.push_back(control);
    }
}

AccessibleAnnotations::~AccessibleAnnotations() {
    AccessibleProperties& properties = CurrentAccessibleProperties();
    for (HWND control : annotated_) {
        properties.Clear(control);
        Pacing().Forget(control);
    }
}

bool AnnouncementPacing::Tell(HWND control, ULONGLONG nowMs) {
    auto last = std::find_if(told_.begin(), told_.end(),
                             [&](const LastTold& t) { return t.control == control; });
    if (last == told_.end()) {
        told_.push_back({control, nowMs});
        return true;
    }
    if (nowMs - last->at < kAnnounceEveryMs) return false;
    last->at = nowMs;
    return true;
}

void AnnouncementPacing::Forget(HWND control) {
    told_.erase(std::remove_if(told_.begin(), told_.end(),
                               [&](const LastTold& t) { return t.control == control; }),
                told_.end());
}

void AnnounceLiveRegionChange(HWND control) {
    if (Pacing().Tell(control, GetTickCount64())) {
        CurrentAccessibleProperties().LiveRegionChanged(control);
    }
}

}  // namespace tarvello::ui

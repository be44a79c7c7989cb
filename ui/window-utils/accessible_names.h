#pragma once
// What a window's controls tell screen readers beyond what the system finds itself: a name for
// a control whose label is another control (a text box under its option) or that has a name of
// its own (a box in a grid), and live regions, whose new text is read out politely without taking
// the focus. Both come from the control table (ControlSpec::labelledBy,
// ControlSpec::accessibleName, ControlSpec::liveRegion) and go through one seam,
// AccessibleProperties, which tests replace: the platform cannot read these properties back.
//
// Use:
//   AccessibleAnnotations accessible_;          // a member of the window class
//   accessible_.Annotate({&controls_});          // once the controls are created
//   AnnounceLiveRegionChange(line);              // each time a live region's text changes

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "ui/window-utils/control_factory.h"

namespace tarvello::ui {

class AccessibleProperties {
public:
    virtual ~AccessibleProperties() = default;
    // IAccPropServices::SetHwndPropStr with PROPID_ACC_NAME.
    virtual void SetName(HWND control, const std::wstring& name) = 0;
    // The same with PROPID_ACC_DESCRIPTION: why a greyed control is as it is.
    virtual void SetDescription(HWND control, const std::wstring& description) = 0;
    // IAccPropServices::SetHwndProp with the live setting Polite.
    virtual void SetPoliteLiveRegion(HWND control) = 0;
    // NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED).
    virtual void LiveRegionChanged(HWND control) = 0;
    // IAccPropServices::ClearHwndProps for the properties set here.
    virtual void Clear(HWND control) = 0;
};

// The seam in use: the platform's, unless a ScopedAccessibleProperties has put another in place.
AccessibleProperties& CurrentAccessibleProperties();

// Puts `replacement` in place of the seam for its own lifetime (for tests).
class ScopedAccessibleProperties {
public:
    explicit ScopedAccessibleProperties(AccessibleProperties& replacement);
    ~ScopedAccessibleProperties();
    ScopedAccessibleProperties(const ScopedAccessibleProperties&) = delete;
    ScopedAccessibleProperties& operator=(const ScopedAccessibleProperties&) = delete;

private:
    AccessibleProperties* previous_;
};

// The names and live regions of a window's controls, set once they exist and cleared again
// when this goes.
class AccessibleAnnotations {
public:
    AccessibleAnnotations() = default;
    ~AccessibleAnnotations();
    AccessibleAnnotations(const AccessibleAnnotations&) = delete;
    AccessibleAnnotations& operator=(const AccessibleAnnotations&) = delete;

    void Annotate(std::initializer_list<const ControlSet*> sets);
    // Says, beside its name, why a control is as it is ("Set by your organisation.").
    void Describe(HWND control, const std::wstring& description);

private:
    std::vector<HWND> annotated_;
};

// A caption as a name: the access-key marks left out ("&Round" is "Round", "&&" is "&").
std::wstring NameFromCaption(const wchar_t* caption);

// Which changes of live regions are told: a control's first change at once, then one a second
// at most. A change that comes sooner is passed over, not held for later: the next change told
// has the line read as it is by then.
class AnnouncementPacing {
public:
    // True when the change of `control` at `nowMs` is to be told; it then counts as told.
    bool Tell(HWND control, ULONGLONG nowMs);
    // The control is gone: a window that gets its handle later starts afresh.
    void Forget(HWND control);

private:
    struct LastTold {
        HWND control;
        ULONGLONG at;
    };
    std::vector<LastTold> told_;
};

// Tells screen readers that a live region's text has changed, paced by AnnouncementPacing on
// the system's tick count, so that a line that changes ten times a second is not read out over
// itself.
void AnnounceLiveRegionChange(HWND control);

}  // namespace tarvello::ui

#include "ui/window-utils/visual_styles.h"

#include <uxtheme.h>
#include <vssym32.h>

#include "ui/window-utils/contrast_ratio.h"
#include "ui/window-utils/scoped_win.h"

namespace tarvello::ui {

namespace {

struct ThemeDataTraits {
    static HTHEME Invalid() { return nullptr; }
    static void Close(HTHEME h) { CloseThemeData(h); }
};
using ScopedThemeData = ScopedHandle<HTHEME, ThemeDataTraits>;

// The style's part for a kind of control whose caption lies on the window's face, or 0.
int CaptionPart(ControlKind kind) {
    switch (kind) {
        case ControlKind::Frame:
            return BP_GROUPBOX;
        case ControlKind::OptionButton:
            return BP_RADIOBUTTON;
        case ControlKind::CheckBox:
            return BP_CHECKBOX;
        default:
            return 0;
    }
}

// True when the style names a text colour for the part that would not read on the face.
bool StyleTextFades(HTHEME theme, int part) {
    COLORREF text = 0;
    if (!theme ||
        FAILED(GetThemeColor(theme, part, 1 /* the normal state */, TMT_TEXTCOLOR, &text))) {
        return false;
    }
    return ContrastRatio(text, GetSysColor(COLOR_BTNFACE)) < kReadableTextContrast;
}

}  // namespace

void FitVisualStyles(HWND window, const ControlSet& set) {
    // The style's data for the class, opened on the window, so that it can still be read once a
    // control has been taken out of the style.
    ScopedThemeData theme(OpenThemeData(window, L"BUTTON"));
    for (const ControlSpec& row : set.Rows()) {
        const int part = CaptionPart(row.kind);
        if (!part) continue;
        const bool classic = StyleTextFades(theme.get(), part);
        // Names that match no class of the style take the control out of it (an empty name is
        // refused by some systems); none give it back the window's.
        const wchar_t* names = classic ? L" " : nullptr;
        SetWindowTheme(set.Handle(row.id), names, names);
    }
}

}  // namespace tarvello::ui

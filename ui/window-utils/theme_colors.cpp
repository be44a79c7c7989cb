#include "ui/window-utils/theme_colors.h"

#include "ui/window-utils/contrast_ratio.h"
#include "ui/window-utils/visual_styles.h"

namespace tarvello::ui {

namespace {

// The foreground, unless the row has a fallback and the foreground falls below `minimum`
// against `behind` in this theme.
COLORREF StandingOut(const ControlSpec& row, int orDefault, COLORREF behind, double minimum) {
    const COLORREF colour = ResolveColor(row.foreground, orDefault);
    if (row.fallback.kind == ColorSpec::Kind::Default) return colour;
    if (ContrastRatio(colour, behind) >= minimum) return colour;
    return ResolveColor(row.fallback, orDefault);
}

}  // namespace

COLORREF ResolveColor(const ColorSpec& colour, int orDefault) {
    if (colour.kind == ColorSpec::Kind::Rgb) return static_cast<COLORREF>(colour.index);
    return GetSysColor(colour.kind == ColorSpec::Kind::System ? colour.index : orDefault);
}

std::optional<PaintColours> ColoursOf(const ControlSpec& row) {
    if (row.kind == ControlKind::Line) {
        // A line is a bar filled with its colour; it lies on the window's face unless its row
        // says otherwise.
        const COLORREF behind = ResolveColor(row.background, COLOR_BTNFACE);
        const COLORREF line = StandingOut(row, COLOR_WINDOWTEXT, behind, kVisibleRuleContrast);
        return PaintColours{line, line};
    }
    if (row.background.kind == ColorSpec::Kind::Default &&
        row.foreground.kind == ColorSpec::Kind::Default) {
        return std::nullopt;
    }
    const COLORREF fill = ResolveColor(row.background, COLOR_BTNFACE);
    return PaintColours{StandingOut(row, COLOR_BTNTEXT, fill, kReadableTextContrast), fill};
}

LRESULT ControlColors(HWND window, UINT msg, WPARAM wParam, LPARAM lParam,
                      std::initializer_list<ControlSet*> sets) {
    const auto dc = reinterpret_cast<HDC>(wParam);
    const auto control = reinterpret_cast<HWND>(lParam);
    for (ControlSet* set : sets) {
        if (HBRUSH brush = set->ControlBrush(dc, control)) return reinterpret_cast<LRESULT>(brush);
    }
    // Answering without colours would leave the text black in every theme: the system knows the
    // colours of each kind of control.
    return DefWindowProcW(window, msg, wParam, lParam);
}

void FollowThemeChange(HWND window, std::initializer_list<ControlSet*> sets) {
    for (ControlSet* set : sets) {
        set->ForgetBrushes();
        FitVisualStyles(window, *set);
    }
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

std::optional<LRESULT> AnswerThemeMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam,
                                          std::initializer_list<ControlSet*> sets) {
    switch (msg) {
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return ControlColors(window, msg, wParam, lParam, sets);
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
        case WM_SETTINGCHANGE:
            FollowThemeChange(window, sets);
            return DefWindowProcW(window, msg, wParam, lParam);
        default:
            return std::nullopt;
    }
}

}  // namespace tarvello::ui

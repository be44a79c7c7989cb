#pragma once
// The colours of a window's controls come from the user's theme. A control whose row names
// colours gets them from the system when it paints (a foreground that would not stand out
// against its background gives way to the row's fallback); every other control gets what the
// system gives its kind, so frames, option buttons, check boxes, drop-down lists, text boxes and
// buttons follow the theme.
// A theme changed while the window is open repaints it at once, with brushes made afresh.
//
// Use, first thing in the window procedure of a window whose controls come from ControlSets:
//   if (auto answer = AnswerThemeMessage(hwnd, msg, wParam, lParam, {&controls_})) {
//       return *answer;
//   }

#include <windows.h>

#include <initializer_list>
#include <optional>

#include "ui/window-utils/control_factory.h"
#include "ui/window-utils/control_table.h"

namespace tarvello::ui {

// What a control paints with: its text (for a line, the line) over its fill.
struct PaintColours {
    COLORREF text;
    COLORREF fill;
};

// The colour a ColorSpec names now, or the system colour `orDefault` when it names none.
COLORREF ResolveColor(const ColorSpec& colour, int orDefault);

// A row's colours in the current theme, or nothing when the row names none (the system's answer
// for the control's kind holds then).
std::optional<PaintColours> ColoursOf(const ControlSpec& row);

// Answers WM_CTLCOLOR* for a control: the colours of the first set whose row names its own, or
// else what DefWindowProc gives.
LRESULT ControlColors(HWND window, UINT msg, WPARAM wParam, LPARAM lParam,
                      std::initializer_list<ControlSet*> sets);

// After WM_SYSCOLORCHANGE, WM_THEMECHANGED or WM_SETTINGCHANGE: the sets' brushes are made
// again when next asked for, their controls fitted to the visual style again (visual_styles.h),
// and the window with all its controls is repainted now.
void FollowThemeChange(HWND window, std::initializer_list<ControlSet*> sets);

// Both of the above for a window procedure: the answer to WM_CTLCOLOR* and to the theme-change
// messages (which go on to DefWindowProc once the window has followed them); nothing for any
// other message.
std::optional<LRESULT> AnswerThemeMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam,
                                          std::initializer_list<ControlSet*> sets);

}  // namespace tarvello::ui

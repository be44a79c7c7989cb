// The controls of a ControlSet given the room their captions need at the window's DPI, and laid
// out again when the DPI changes.

#include <algorithm>

#include "ui/window-utils/control_factory.h"
#include "ui/window-utils/layout_fit.h"
#include "ui/window-utils/text_ink.h"
#include "ui/window-utils/twips.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {

namespace {

// Around a caption, at 96 DPI in pixels: a push button's frame and the space inside it, and a
// frame's title's distance from the frame's edges.
constexpr int kButtonInset = 5;
constexpr int kFrameTitleInset = 8;
// A pixel more than what is drawn, for what the system may shade beside it.
constexpr int kShading = 1;

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

ControlSet::TextNeed ControlSet::NeedOf(const ControlSpec& row, HWND control,
                                        const RECT& table) const {
    const std::wstring text = WindowText(control);
    if (text.empty()) return {};
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    const auto line = [&] { return TextInk(font, text, DT_SINGLELINE).cx + kShading; };
    switch (row.kind) {
        case ControlKind::Label: {
            const int tableWidth = table.right - table.left;
            if (table.bottom - table.top < 2 * LineHeight(font)) return {line(), 0};
            // Wrapped: as wide as the lines as they are drawn, which may reach past the width
            // they were wrapped at; and as tall as they are at that width.
            int width = tableWidth;
            SIZE ink = TextInk(font, text, DT_WORDBREAK | DT_EXPANDTABS, width);
            for (int tries = 0; tries < 3 && ink.cx + kShading > width; ++tries) {
                width = ink.cx + kShading;
                ink = TextInk(font, text, DT_WORDBREAK | DT_EXPANDTABS, width);
            }
            return {width, ink.cy + kShading};
        }
        case ControlKind::OptionButton:
        case ControlKind::CheckBox:
            // The box or circle, then half a digit's width before the caption.
            return {MetricForDpi(SM_CXMENUCHECK, dpi_) + DigitWidth(font) / 2 + line(), 0};
        case ControlKind::PushButton:
            return {line() + 2 * MulDiv(kButtonInset, dpi_, 96), 0};
        case ControlKind::Frame:
            return {line() + 2 * MulDiv(kFrameTitleInset, dpi_, 96), 0};
        default:
            return {};
    }
}

void ControlSet::Fit() {
    std::vector<FitBox> boxes;
    FitSize client{TwipsToPixels(static_cast<int>(clientTwips_.cx), dpi_),
                   TwipsToPixels(static_cast<int>(clientTwips_.cy), dpi_)};
    const bool ownClient = client.width > 0 && client.height > 0;
    if (!ownClient) client = {0, 0};
    for (const Created& c : windows_) {
        const ControlSpec& row = *Row(c.id);
        const RECT table = PixelRect(row, dpi_);
        // Within a frame the boxes are placed from the frame's corner, rounded as the table's.
        const ControlSpec* frame = row.container ? Row(row.container) : nullptr;
        const RECT origin = frame ? PixelRect(*frame, dpi_) : RECT{0, 0, 0, 0};
        const TextNeed need = NeedOf(row, c.hwnd, table);
        boxes.push_back({row.id, frame ? row.container : 0, table.left - origin.left,
                         table.top - origin.top, table.right - table.left, table.bottom - table.top,
                         need.width, need.height});
        if (!ownClient) {
            client.width = std::max<int>(client.width, table.right);
            client.height = std::max<int>(client.height, table.bottom);
        }
    }
    const FitSize fitted = FitLayout(boxes, client);
    client_ = {fitted.width, fitted.height};
    auto at = [&](int id) {
        return std::find_if(boxes.begin(), boxes.end(),
                            [id](const FitBox& b) { return b.id == id; });
    };
    for (const Created& c : windows_) {
        const FitBox& box = *at(c.id);
        int x = box.left, y = box.top;
        if (box.container) {
            x += at(box.container)->left;
            y += at(box.container)->top;
        }
        Place(c, RECT{x, y, x + box.width, y + box.height});
    }
}

// Only a control that is not where it belongs moves (a window may have moved some since, to
// follow its size).
void ControlSet::Place(const Created& created, RECT rect) const {
    const ControlSpec* row = Row(created.id);
    if (row && row->kind == ControlKind::DropDownList) {
        // The window reaches down over the list it drops, as when it was made.
        const int items = static_cast<int>(SendMessageW(created.hwnd, CB_GETCOUNT, 0, 0));
        rect.bottom += (rect.bottom - rect.top) * std::max(items, 0);
    }
    RECT now;
    GetWindowRect(created.hwnd, &now);
    MapWindowPoints(nullptr, GetParent(created.hwnd), reinterpret_cast<POINT*>(&now), 2);
    if (Same(rect, now)) return;
    SetWindowPos(created.hwnd, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlSet::ChangeDpi(int dpi) {
    dpi_ = dpi;
    for (const Created& c : windows_) {
        const ControlSpec& row = *Row(c.id);
        if (row.kind == ControlKind::Line) continue;
        HFONT font = FontFor(row.font.face ? row.font : defaultFont_, dpi);
        SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    // The fonts of the DPI left behind are no control's any more.
    fonts_.erase(
        std::remove_if(fonts_.begin(), fonts_.end(), [dpi](const Font& f) { return f.dpi != dpi; }),
        fonts_.end());
    Fit();
}

}  // namespace tarvello::ui

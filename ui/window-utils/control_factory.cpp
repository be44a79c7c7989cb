#include "ui/window-utils/control_factory.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <stdexcept>
#include <string>

#include "ui/window-utils/theme_colors.h"
#include "ui/window-utils/twips.h"
#include "ui/window-utils/visual_styles.h"

namespace tarvello::ui {

namespace {

bool SameFont(const FontSpec& a, const FontSpec& b) {
    const wchar_t* fa = a.face ? a.face : L"";
    const wchar_t* fb = b.face ? b.face : L"";
    return std::wcscmp(fa, fb) == 0 && a.points == b.points && a.weight == b.weight;
}

// A drop-down list's items from its caption, one per line.
std::vector<std::wstring> ListItems(const wchar_t* caption) {
    std::vector<std::wstring> items;
    if (!caption || !*caption) return items;
    std::wstring item;
    for (const wchar_t* c = caption;; ++c) {
        if (*c == L'\n' || *c == L'\0') {
            items.push_back(item);
            item.clear();
            if (*c == L'\0') break;
        } else {
            item += *c;
        }
    }
    return items;
}

// Windows are created in tab-index order; rows without one (lines) go last.
int CreationKey(const ControlSpec& row) {
    return row.tabIndex < 0 ? 1 << 30 : row.tabIndex;
}

}  // namespace

ControlSet::~ControlSet() {
    for (const Created& c : windows_) {
        const ControlSpec* row = Row(c.id);
        if (row && row->kind == ControlKind::OptionButton && IsWindow(c.hwnd)) {
            RemoveWindowSubclass(c.hwnd, &ControlSet::OptionKeys, kOptionKeysSubclass);
        }
    }
}

void ControlSet::Create(HWND parent, const ControlSpec* rows, std::size_t count, int dpi,
                        const FontSpec& defaultFont, SIZE clientTwips) {
    rows_.assign(rows, rows + count);
    defaultFont_ = defaultFont;
    dpi_ = dpi;
    clientTwips_ = clientTwips;
    std::vector<const ControlSpec*> order;
    for (const ControlSpec& row : rows_) order.push_back(&row);
    std::stable_sort(order.begin(), order.end(), [](const ControlSpec* a, const ControlSpec* b) {
        return CreationKey(*a) < CreationKey(*b);
    });
    for (const ControlSpec* row : order) {
        HWND hwnd = CreateOne(parent, *row, dpi);
        if (!hwnd) throw std::runtime_error("could not create a control of the window");
        windows_.push_back({row->id, hwnd});
    }
    ArrangeStacking();
    FitVisualStyles(parent, *this);
}

RECT ControlSet::PixelRect(const ControlSpec& row, int dpi) const {
    if (row.kind == ControlKind::Line) {
        // left/top/width/height hold x1, y1, x2, y2.
        int x1 = TwipsToPixels(std::min(row.left, row.width), dpi);
        int x2 = TwipsToPixels(std::max(row.left, row.width), dpi);
        int y1 = TwipsToPixels(std::min(row.top, row.height), dpi);
        int y2 = TwipsToPixels(std::max(row.top, row.height), dpi);
        int thickness = std::max(1, row.lineWidthPixels);
        return RECT{x1, y1, std::max(x2, x1 + thickness), std::max(y2, y1 + thickness)};
    }
    int left = row.left;
    int top = row.top;
    if (row.container != 0) {
        const ControlSpec* frame = Row(row.container);
        if (frame) {
            left += frame->left;
            top += frame->top;
        }
    }
    int x = TwipsToPixels(left, dpi);
    int y = TwipsToPixels(top, dpi);
    return RECT{x, y, x + TwipsToPixels(row.width, dpi), y + TwipsToPixels(row.height, dpi)};
}

HWND ControlSet::CreateOne(HWND parent, const ControlSpec& row, int dpi) {
    const wchar_t* windowClass = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    const wchar_t* caption = row.caption ? row.caption : L"";
    switch (row.kind) {
        case ControlKind::Label:
            style |= SS_LEFT | WS_CLIPSIBLINGS | WS_GROUP;
            break;
        case ControlKind::Line:
            style |= SS_LEFT | WS_CLIPSIBLINGS | WS_GROUP;
            caption = L"";
            break;
        case ControlKind::Picture:
            style |= SS_ICON | WS_GROUP;
            break;
        case ControlKind::Frame:
            windowClass = L"BUTTON";
            style |= BS_GROUPBOX | WS_GROUP;
            break;
        case ControlKind::OptionButton: {
            windowClass = L"BUTTON";
            style |= BS_RADIOBUTTON;
            if (row.initiallyOn) style |= WS_TABSTOP;
            // A frame's options form one group of the dialog manager where they are neighbours.
            const ControlSpec* before = windows_.empty() ? nullptr : Row(windows_.back().id);
            if (!before || before->kind != ControlKind::OptionButton ||
                before->container != row.container) {
                style |= WS_GROUP;
            }
            break;
        }
        case ControlKind::TextBox:
            windowClass = L"EDIT";
            style |= ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP;
            exStyle |= WS_EX_CLIENTEDGE;
            break;
        case ControlKind::PushButton:
            windowClass = L"BUTTON";
            style |= BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP;
            break;
        case ControlKind::ListView:
            windowClass = WC_LISTVIEWW;
            style |= LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP | WS_GROUP;
            exStyle |= WS_EX_CLIENTEDGE;
            break;
        case ControlKind::DropDownList:
            windowClass = L"COMBOBOX";
            style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
            caption = L"";
            break;
        case ControlKind::CheckBox:
            windowClass = L"BUTTON";
            style |= BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP;
            break;
    }
    RECT r = PixelRect(row, dpi);
    if (row.kind == ControlKind::DropDownList) {
        // The row is the box as it stands closed; the window reaches down over the list it drops.
        r.bottom += (r.bottom - r.top) * static_cast<LONG>(ListItems(row.caption).size());
    }
    HWND hwnd = CreateWindowExW(exStyle, windowClass, caption, style, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return nullptr;
    if (row.kind != ControlKind::Line) {
        HFONT font = FontFor(row.font.face ? row.font : defaultFont_, dpi);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    if (row.kind == ControlKind::OptionButton || row.kind == ControlKind::CheckBox) {
        SendMessageW(hwnd, BM_SETCHECK, row.initiallyOn ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    if (row.kind == ControlKind::OptionButton) {
        SetWindowSubclass(hwnd, &ControlSet::OptionKeys, kOptionKeysSubclass,
                          reinterpret_cast<DWORD_PTR>(this));
    }
    if (row.kind == ControlKind::DropDownList) {
        for (const std::wstring& item : ListItems(row.caption)) {
            SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
        // A list never stands empty: it opens on its first item.
        SendMessageW(hwnd, CB_SETCURSEL, 0, 0);
    }
    return hwnd;
}

// Labels go beneath everything in table order (later rows above earlier ones); lines go on top.
// Neither takes the focus, so their place in the z-order leaves the tab order alone.
void ControlSet::ArrangeStacking() const {
    for (auto row = rows_.rbegin(); row != rows_.rend(); ++row) {
        if (row->kind == ControlKind::Label) {
            SetWindowPos(Handle(row->id), HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    for (const ControlSpec& row : rows_) {
        if (row.kind == ControlKind::Line) {
            SetWindowPos(Handle(row.id), HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

HFONT ControlSet::FontFor(const FontSpec& font, int dpi) {
    for (const Font& f : fonts_) {
        if (f.dpi == dpi && SameFont(f.font, font)) return static_cast<HFONT>(f.handle.get());
    }
    LOGFONTW lf{};
    lf.lfHeight = PointsToFontHeight(font.points, dpi);
    lf.lfWeight = font.weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    if (font.face) wcsncpy(lf.lfFaceName, font.face, LF_FACESIZE - 1);
    HFONT handle = CreateFontIndirectW(&lf);
    if (!handle) throw std::runtime_error("could not create a font of the window");
    fonts_.push_back({font, dpi, ScopedGdiObject(handle)});
    return handle;
}

HBRUSH ControlSet::BrushFor(COLORREF colour) {
    for (const Brush& b : brushes_) {
        if (b.colour == colour) return static_cast<HBRUSH>(b.handle.get());
    }
    HBRUSH handle = CreateSolidBrush(colour);
    brushes_.push_back({colour, ScopedGdiObject(handle)});
    return handle;
}

HWND ControlSet::Handle(int id) const {
    for (const Created& c : windows_) {
        if (c.id == id) return c.hwnd;
    }
    return nullptr;
}

const ControlSpec* ControlSet::Row(int id) const {
    for (const ControlSpec& row : rows_) {
        if (row.id == id) return &row;
    }
    return nullptr;
}

const ControlSpec* ControlSet::RowOf(HWND control) const {
    for (const Created& c : windows_) {
        if (c.hwnd == control) return Row(c.id);
    }
    return nullptr;
}

HBRUSH ControlSet::ControlBrush(HDC dc, HWND control) {
    const ControlSpec* row = RowOf(control);
    if (!row) return nullptr;
    const std::optional<PaintColours> colours = ColoursOf(*row);
    if (!colours) return nullptr;
    SetTextColor(dc, colours->text);
    SetBkColor(dc, colours->fill);
    SetBkMode(dc, OPAQUE);
    return BrushFor(colours->fill);
}

}  // namespace tarvello::ui

#include "standin/standin_window.h"

#include <commctrl.h>

#include <cwchar>
#include <exception>
#include <iterator>

#include "standin/quote_menu.h"

namespace tarvello::standin {

const wchar_t kWindowClass[] = L"TarvelloStandinWindow";

namespace {

constexpr wchar_t kCaption[] = L"Tarvello (stand-in)";
constexpr int kListId = 100;

struct Column {
    const wchar_t* title;
    int width;  // pixels at 96 DPI
    int format;
};

constexpr Column kColumns[] = {
    {L"Row", 45, LVCFMT_RIGHT},
    {L"Type", 45, LVCFMT_RIGHT},
    {L"Description", 250, LVCFMT_LEFT},
    {L"Qty", 60, LVCFMT_RIGHT},
    {L"Unit Price", 90, LVCFMT_RIGHT},
    {L"Modifier", 90, LVCFMT_LEFT},
    {L"Extended Price", 110, LVCFMT_RIGHT},
};

// People read the list: 15 significant digits hide the binary noise of a product such as
// 3 × 12.37 that the dump and the log keep exactly.
std::wstring CellText(const Cell& cell) {
    if (!cell.IsNumber()) return cell.text;
    wchar_t text[40];
    swprintf(text, 40, L"%.15g", *cell.number);
    return text;
}

// The program is system-DPI aware (its manifest), so sizes chosen at 96 DPI are scaled here
// rather than stretched as a bitmap by the system.
int SystemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

void SetText(HWND list, int row, int column, const std::wstring& text) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

StandinWindow::~StandinWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool StandinWindow::Create(const std::vector<std::wstring>& quoteNames, QuoteChooser* chooser) {
    chooser_ = chooser;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &StandinWindow::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);
    const int dpi = SystemDpi();
    HMENU menu = CreateQuoteMenuBar(quoteNames, &quoteMenu_);
    CreateWindowExW(0, kWindowClass, kCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                    MulDiv(740, dpi, 96), MulDiv(420, dpi, 96), nullptr, menu, instance, this);
    if (!hwnd_) {
        DestroyMenu(menu);
        return false;
    }
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, 0,
                            0, 0, 0, hwnd_, reinterpret_cast<HMENU>(kListId), instance, nullptr);
    if (!list_) return false;
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (int c = 0; c < static_cast<int>(std::size(kColumns)); ++c) {
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        col.fmt = c == 0 ? LVCFMT_LEFT : kColumns[c].format;  // the first column is always left
        col.cx = MulDiv(kColumns[c].width, dpi, 96);
        col.pszText = const_cast<wchar_t*>(kColumns[c].title);
        SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c),
                     reinterpret_cast<LPARAM>(&col));
    }
    RECT rc;
    GetClientRect(hwnd_, &rc);
    MoveWindow(list_, 0, 0, rc.right, rc.bottom, FALSE);
    return true;
}

void StandinWindow::ShowDocument(const QuoteDocument* doc, const std::vector<int>& selected,
                                 int focus) {
    doc_ = doc;
    std::wstring title = kCaption;
    if (doc) title += L" - " + doc->name;
    SetWindowTextW(hwnd_, title.c_str());
    MarkShownQuote(quoteMenu_, doc ? doc->loadOrder : -1);
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    int count = doc ? static_cast<int>(doc->items.size()) : 0;
    SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0);
    for (int row = 0; row < count; ++row) {
        std::wstring number = std::to_wstring(row);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = number.data();
        SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        FillRow(row);
    }
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&state));
    for (int row : selected) {
        state.stateMask = state.state = LVIS_SELECTED;
        SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&state));
    }
    if (focus >= 0 && focus < count) {
        state.stateMask = state.state = LVIS_FOCUSED;
        SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(focus),
                     reinterpret_cast<LPARAM>(&state));
        SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(focus), FALSE);
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void StandinWindow::FillRow(int row) {
    const LineItem& item = doc_->items[static_cast<size_t>(row)];
    SetText(list_, row, 1, CellText(item.lineType));
    SetText(list_, row, 2, item.description);
    SetText(list_, row, 3, CellText(item.qtyTotal));
    SetText(list_, row, 4, CellText(item.unitPrice));
    SetText(list_, row, 5, item.priceModifier);
    SetText(list_, row, 6, CellText(item.ExtendedPrice()));
}

void StandinWindow::RefreshRow(int row) {
    if (!doc_ || row < 0 || row >= static_cast<int>(doc_->items.size())) return;
    FillRow(row);
    SendMessageW(list_, LVM_UPDATE, static_cast<WPARAM>(row), 0);
}

std::vector<int> StandinWindow::SelectedRows() const {
    std::vector<int> rows;
    int row = -1;
    for (;;) {
        row = static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                            MAKELPARAM(LVNI_SELECTED, 0)));
        if (row < 0) return rows;
        rows.push_back(row);
    }
}

int StandinWindow::FocusedRow() const {
    return static_cast<int>(
        SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
}

LRESULT CALLBACK StandinWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self =
            static_cast<StandinWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<StandinWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    try {
        return self->HandleMessage(msg, wParam, lParam);
    } catch (const std::exception& e) {
        std::string what = e.what();
        MessageBoxW(hwnd, std::wstring(what.begin(), what.end()).c_str(), kCaption,
                    MB_OK | MB_ICONERROR);
    } catch (...) {
        MessageBoxW(hwnd, L"Unexpected error.", kCaption, MB_OK | MB_ICONERROR);
    }
    return 0;
}

LRESULT StandinWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = hwnd_;
    switch (msg) {
        case WM_SIZE:
            if (list_) MoveWindow(list_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_COMMAND:
            // Outside drivers send what the menu sends, and learn from the answer whether the
            // quote they asked for is the one shown: 0 yes, 1 no.
            if (lParam == 0 && LOWORD(wParam) >= kQuoteCommandBase) {
                const int loadOrder = LOWORD(wParam) - kQuoteCommandBase;
                return chooser_ && chooser_->ShowQuote(loadOrder) ? 0 : 1;
            }
            break;
        case WM_SETFOCUS:
            if (list_) SetFocus(list_);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            list_ = nullptr;
            quoteMenu_ = nullptr;
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace tarvello::standin

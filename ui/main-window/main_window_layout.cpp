#include "ui/main-window/main_window_layout.h"

namespace tarvello::ui::main_window {

namespace {

using K = ControlKind;

// The header band is a window's own pair of colours: white with black text by default, the
// theme's pair in a contrast theme.
ControlSpec HeaderLabel(int id, const wchar_t* name, const wchar_t* caption, int left, int top,
                        int width, int height, int tabIndex, FontSpec font) {
    ControlSpec row{id, name, K::Label, 0, caption, left, top, width, height, tabIndex};
    row.font = font;
    row.background = ColorSpec::System(COLOR_WINDOW);
    row.foreground = ColorSpec::System(COLOR_WINDOWTEXT);
    return row;
}

// A line's row holds x1, y1, x2, y2 in place of the rectangle. The rules lie on the band; in a
// theme whose inactive caption is as dark or as light as the band they take the band's text
// colour.
ControlSpec Rule(int id, const wchar_t* name, int x1, int y1, int x2, int y2) {
    ControlSpec row{id, name, K::Line, 0, nullptr, x1, y1, x2, y2, -1};
    row.foreground = ColorSpec::System(COLOR_INACTIVECAPTION);
    row.background = ColorSpec::System(COLOR_WINDOW);
    row.fallback = ColorSpec::System(COLOR_WINDOWTEXT);
    row.lineWidthPixels = 1;
    return row;
}

ControlSpec Option(int id, const wchar_t* name, int frame, const wchar_t* caption, int left,
                   int top, int width, int height, int tabIndex, bool on) {
    ControlSpec row{id, name, K::OptionButton, frame, caption, left, top, width, height, tabIndex};
    row.initiallyOn = on;
    return row;
}

// An amount's box sits under its option, whose caption is the name screen readers give it.
ControlSpec AmountBox(int id, const wchar_t* name, const wchar_t* text, int top, int tabIndex,
                      int option) {
    ControlSpec row{id, name, K::TextBox, kFrame1, text, 1200, top, 495, 285, tabIndex};
    row.labelledBy = option;
    return row;
}

// Rows from the bottom of the stacking to the top; Label4 lies beneath Label5 and the rules.
std::vector<ControlSpec> MakeControls() {
    return {
        HeaderLabel(kLabel4, L"Label4", nullptr, -120, 0, 6615, 735, 1,
                    FontSpec{L"MS Sans Serif", 8.25, FW_NORMAL}),
        HeaderLabel(kLabel5, L"Label5", L"Tarvello Rounding Utility", 120, 120, 5775, 615, 2,
                    FontSpec{L"Tahoma", 18, FW_BOLD}),
        Rule(kLine2, L"Line2", 0, 0, 5520, 0),
        Rule(kLine1, L"Line1", 0, 720, 5520, 720),
        {kFrame2, L"Frame2", K::Frame, 0, L"Field to Round", 120, 840, 5175, 855, 9},
        Option(kOptUnitPrice, L"optUnitPrice", kFrame2, L"Unit Price", 360, 240, 3015, 255, 10,
               false),
        Option(kOptExtendedPrice, L"optExtendedPrice", kFrame2, L"Extended Price", 360, 480, 3015,
               255, 11, true),
        {kFrame1, L"Frame1", K::Frame, 0, L"Rounding Method", 120, 1800, 2775, 2055, 3},
        Option(kOptDecimal, L"optDecimal", kFrame1, L"Number of Decimal Places", 360, 240, 2175,
               255, 6, true),
        AmountBox(kTxtDecimalPlaces, L"txtDecimalPlaces", L"0", 480, 7, kOptDecimal),
        Option(kOptNearest, L"optNearest", kFrame1, L"Nearest Multiple of", 360, 840, 1815, 255, 5,
               false),
        AmountBox(kTxtNearest, L"txtNearest", L"5", 1080, 4, kOptNearest),
        Option(kOptRoundUp, L"optRoundUp", kFrame1, L"Up to Nearest Multiple of", 360, 1440, 2175,
               255, 16, false),
        AmountBox(kTxtNearestRoundUp, L"txtNearestRoundUp", L"1", 1680, 17, kOptRoundUp),
        {kFrame3, L"Frame3", K::Frame, 0, L"What to Round", 3000, 1800, 2295, 2055, 12},
        Option(kOptCurrentRow, L"optCurrentRow", kFrame3, L"Current Row", 240, 240, 1815, 255, 13,
               false),
        Option(kOptSelectedRows, L"optSelectedRows", kFrame3, L"Selected Rows", 240, 480, 1815, 255,
               15, false),
        Option(kOptAllRows, L"optAllRows", kFrame3, L"All Rows", 240, 720, 1815, 255, 14, true),
        {kCmdRound, L"cmdRound", K::PushButton, 0, L"&Round", 2760, 3960, 1183, 375, 0},
        {kCmdClose, L"cmdClose", K::PushButton, 0, L"&Close", 4080, 3960, 1183, 375, 8},
    };
}

}  // namespace

const std::vector<ControlSpec>& Controls() {
    static const std::vector<ControlSpec> controls = MakeControls();
    return controls;
}

const std::vector<ControlSpec>& ProgressControls() {
    static const std::vector<ControlSpec> controls = [] {
        ControlSpec row{kLblProgress, L"lblProgress", K::Label, 0, nullptr, 120,
                        495,          5160,           210,      -1};
        row.background = ColorSpec::System(COLOR_WINDOW);
        // Grey where the theme's grey reads on the band, the band's text colour where not.
        row.foreground = ColorSpec::System(COLOR_GRAYTEXT);
        row.fallback = ColorSpec::System(COLOR_WINDOWTEXT);
        // Screen readers say how far a long Round is without taking the focus.
        row.liveRegion = true;
        // Two lines of the window's own text, left of Round.
        const ControlSpec note{kLblFixedNote,
                               L"lblFixedNote",
                               K::Label,
                               0,
                               L"Greyed choices are set by your organisation.",
                               120,
                               3930,
                               2520,
                               450,
                               -1};
        return std::vector<ControlSpec>{row, note};
    }();
    return controls;
}

}  // namespace tarvello::ui::main_window

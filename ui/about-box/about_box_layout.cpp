#include "ui/about-box/about_box_layout.h"

namespace tarvello::ui::about_box {

namespace {

// The texts that Form_Load sets are not here: the rows carry only what never changes. The
// labels are the dialog's own pair of colours, black on the face by default.
ControlSpec Label(int id, const wchar_t* name, int left, int top, int width, int height,
                  int tabIndex, ColorSpec foreground) {
    ControlSpec row{id, name, ControlKind::Label, 0, nullptr, left, top, width, height, tabIndex};
    row.background = ColorSpec::System(COLOR_BTNFACE);
    row.foreground = foreground;
    return row;
}

// Lines give x1, y1, x2, y2 in place of the rectangle.
ControlSpec Line(int id, const wchar_t* name, int x1, int y1, int x2, int y2, COLORREF colour,
                 int widthPixels) {
    ControlSpec row{id, name, ControlKind::Line, 0, nullptr, x1, y1, x2, y2, -1};
    row.foreground = ColorSpec::Rgb(colour);
    row.lineWidthPixels = widthPixels;
    return row;
}

std::vector<ControlSpec> MakeControls() {
    const ColorSpec text = ColorSpec::System(COLOR_BTNTEXT);
    // Line1 is drawn as an etched rule: grey, with a two-pixel white line just below it. The
    // grey shows on a light face and on a dark one alike, and the white beside the grey.
    ControlSpec shadow =
        Line(kLine1Element1, L"Line1(1)", 90, 2445, 5654, 2445, RGB(128, 128, 128), 1);
    return {
        {kPicIcon, L"picIcon", ControlKind::Picture, 0, nullptr, 240, 240, 480, 480, 1},
        {kCmdOK, L"cmdOK", ControlKind::PushButton, 0, L"OK", 4245, 2625, 1260, 345, 0},
        {kCmdSysInfo, L"cmdSysInfo", ControlKind::PushButton, 0, L"&System Info...", 4260, 3075,
         1245, 345, 2},
        shadow,
        Label(kLblDescription, L"lblDescription", 1050, 1125, 3885, 1170, 3, text),
        Label(kLblTitle, L"lblTitle", 1050, 240, 3885, 480, 5, text),
        Line(kLine1Element0, L"Line1(0)", 105, 2460, 5654, 2460, RGB(255, 255, 255), 2),
        Label(kLblVersion, L"lblVersion", 1050, 780, 3885, 225, 6, ColorSpec{}),
        Label(kLblDisclaimer, L"lblDisclaimer", 255, 2625, 3870, 825, 4, text),
    };
}

}  // namespace

const std::vector<ControlSpec>& Controls() {
    static const std::vector<ControlSpec> controls = MakeControls();
    return controls;
}

}  // namespace tarvello::ui::about_box

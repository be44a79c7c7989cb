#include "ui/round-history-window/round_history_layout.h"

namespace tarvello::ui::round_history_window {

namespace {

using K = ControlKind;

ControlSpec Button(int id, const wchar_t* name, const wchar_t* caption, int left, int width,
                   int tabIndex) {
    return {id, name, K::PushButton, 0, caption, left, 4215, width, 375, tabIndex};
}

std::vector<ControlSpec> MakeControls() {
    ControlSpec list{kLvwRounds, L"lvwRounds", K::ListView, 0, nullptr, 120, 900, 12360, 2880, 0};
    list.labelledBy = kLblRounds;
    // Why Preview Undo, below it, is greyed for the Round chosen: read out as the choice moves.
    ControlSpec why{kLblWhy, L"lblWhy", K::Label, 0, nullptr, 120, 3870, 12360, 255, -1};
    why.liveRegion = true;
    return {
        {kLblRounds, L"lblRounds", K::Label, 0, L"Rounds kept, newest first", 120, 120, 12360, 255,
         -1},
        {kLblNote, L"lblNote", K::Label, 0, nullptr, 120, 405, 12360, 435, -1},
        list,
        Button(kCmdPreviewUndo, L"cmdPreviewUndo", L"&Preview Undo...", 120, 1575, 1),
        why,
        Button(kCmdForget, L"cmdForget", L"&Forget", 7485, 1183, 2),
        Button(kCmdCopy, L"cmdCopy", L"&Copy", 8760, 1183, 3),
        Button(kCmdRefresh, L"cmdRefresh", L"&Refresh", 10035, 1183, 4),
        Button(kCmdClose, L"cmdClose", L"C&lose", 11310, 1183, 5),
    };
}

}  // namespace

const std::vector<ControlSpec>& Controls() {
    static const std::vector<ControlSpec> controls = MakeControls();
    return controls;
}

const std::vector<Anchor>& Anchors() {
    static const std::vector<Anchor> anchors = {
        {kLblRounds, true, true, true, false}, {kLblNote, true, true, true, false},
        {kLvwRounds, true, true, true, true},  {kCmdPreviewUndo, true, false, false, true},
        {kLblWhy, true, false, true, true},    {kCmdForget, false, false, true, true},
        {kCmdCopy, false, false, true, true},  {kCmdRefresh, false, false, true, true},
        {kCmdClose, false, false, true, true},
    };
    return anchors;
}

const std::vector<ColumnSpec>& Columns() {
    static const std::vector<ColumnSpec> columns = {
        {1800, false}, {3000, false}, {2100, false}, {1080, true}, {2700, false},
    };
    return columns;
}

}  // namespace tarvello::ui::round_history_window

// The widening rule on a window shaped like the main one: a band over the width, a frame above
// two frames side by side, a button below them, and a wrapped note.

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "ui/window-utils/layout_fit.h"

namespace tarvello::ui {
namespace {

enum : int { kBand = 1, kTop, kLeft, kOption, kRight, kRightOption, kButton, kNote };
using Rects = std::map<int, std::vector<int>>;

struct Case {
    const char* name;
    std::map<int, std::pair<int, int>> needs;  // id: width, height
    FitSize client;
    Rects changed;  // the boxes that are no longer as in the table
};

TEST(LayoutFit, GrowsOnlyWhatItsTextNeedsAndMakesRoomByTheRule) {
    const Rects table = {{kBand, {-8, 0, 441, 49}},      {kTop, {8, 56, 345, 57}},
                         {kLeft, {8, 120, 185, 137}},    {kOption, {24, 16, 145, 17}},
                         {kRight, {200, 120, 153, 137}}, {kRightOption, {16, 16, 121, 17}},
                         {kButton, {272, 264, 79, 25}},  {kNote, {8, 296, 200, 30}}};
    const Case cases[] = {
        // No text needs more than it has (96 DPI): nothing moves.
        {"as the table", {{kOption, {145, 0}}, {kNote, {180, 30}}}, {360, 336}, {}},
        // The option takes 15 more: its frame keeps its padding, the frame beside it moves on,
        // the frame above stays lined up with it, the band grows with the window, which keeps
        // its padding; the button below them stays lined up with their far edge.
        {"wider option",
         {{kOption, {160, 0}}},
         {375, 336},
         {{kOption, {24, 16, 160, 17}},
          {kLeft, {8, 120, 200, 137}},
          {kRight, {215, 120, 153, 137}},
          {kTop, {8, 56, 360, 57}},
          {kButton, {287, 264, 79, 25}},
          {kBand, {-8, 0, 456, 49}}}},
        // The same with a wider button: a band in which a box grew stays where it is.
        {"wider option and button",
         {{kOption, {160, 0}}, {kButton, {84, 0}}},
         {375, 336},
         {{kOption, {24, 16, 160, 17}},
          {kLeft, {8, 120, 200, 137}},
          {kRight, {215, 120, 153, 137}},
          {kTop, {8, 56, 360, 57}},
          {kBand, {-8, 0, 456, 49}},
          {kButton, {272, 264, 84, 25}}}},
        // A wrapped note two lines taller: the window grows down by as much.
        {"taller note", {{kNote, {0, 60}}}, {360, 366}, {{kNote, {8, 296, 200, 60}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<FitBox> boxes;
        for (const auto& [id, r] : table) {
            const int container = id == kOption ? kLeft : id == kRightOption ? kRight : 0;
            const auto need = c.needs.count(id) ? c.needs.at(id) : std::pair<int, int>{0, 0};
            boxes.push_back({id, container, r[0], r[1], r[2], r[3], need.first, need.second});
        }
        const FitSize client = FitLayout(boxes, {360, 336});
        EXPECT_EQ((std::vector<int>{client.width, client.height}),
                  (std::vector<int>{c.client.width, c.client.height}));
        Rects expected = table, fitted;
        for (const auto& [id, r] : c.changed) expected[id] = r;
        for (const FitBox& b : boxes) fitted[b.id] = {b.left, b.top, b.width, b.height};
        EXPECT_EQ(fitted, expected);
    }
}

}  // namespace
}  // namespace tarvello::ui

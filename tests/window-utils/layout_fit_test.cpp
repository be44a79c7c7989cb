// The widening rule on a window shaped like the main one: a band over the width, a frame above
// two frames side by side, buttons below, and a wrapped label.

#include <gtest/gtest.h>

#include <vector>

#include "ui/window-utils/layout_fit.h"

namespace tarvello::ui {
namespace {

enum : int { kBand = 1, kTop, kLeft, kOption, kRight, kRightOption, kButton, kNote };

std::vector<FitBox> Window() {
    return {
        {kBand, 0, -8, 0, 441, 49},      {kTop, 0, 8, 56, 345, 57},
        {kLeft, 0, 8, 120, 185, 137},    {kOption, kLeft, 24, 16, 145, 17},
        {kRight, 0, 200, 120, 153, 137}, {kRightOption, kRight, 16, 16, 121, 17},
        {kButton, 0, 272, 264, 79, 25},  {kNote, 0, 8, 296, 200, 30},
    };
}

std::vector<int> Rect(const std::vector<FitBox>& boxes, int id) {
    for (const FitBox& b : boxes) {
        if (b.id == id) return {b.left, b.top, b.width, b.height};
    }
    return {};
}

struct Need {
    int id, width, height;
};

struct Case {
    const char* name;
    std::vector<Need> needs;
    FitSize client;
    std::vector<std::pair<int, std::vector<int>>> expected;  // boxes that are not as in the table
};

TEST(LayoutFit, GrowsOnlyWhatItsTextNeedsAndMakesRoomByTheRule) {
    const Case cases[] = {
        // No text needs more than it has: nothing moves (96 DPI).
        {"table", {{kOption, 145, 0}, {kNote, 180, 30}}, {360, 336}, {}},
        // The option takes 15 more: its frame keeps its padding, the frame beside it moves on,
        // the frame above stays lined up with it, the band grows with the window, which keeps
        // its padding; the button below them stays.
        {"wider option",
         {{kOption, 160, 0}},
         {375, 336},
         {{kOption, {24, 16, 160, 17}},
          {kLeft, {8, 120, 200, 137}},
          {kRight, {215, 120, 153, 137}},
          {kTop, {8, 56, 360, 57}},
          {kBand, {-8, 0, 456, 49}}}},
        // A wrapped label two lines taller: the window grows down by as much.
        {"taller note", {{kNote, 0, 60}}, {360, 366}, {{kNote, {8, 296, 200, 60}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<FitBox> boxes = Window();
        for (const Need& need : c.needs) {
            for (FitBox& b : boxes) {
                if (b.id == need.id) b.needWidth = need.width, b.needHeight = need.height;
            }
        }
        const FitSize client = FitLayout(boxes, {360, 336});
        EXPECT_EQ(client.width, c.client.width);
        EXPECT_EQ(client.height, c.client.height);
        const std::vector<FitBox> table = Window();
        for (const FitBox& t : table) {
            std::vector<int> expected = Rect(table, t.id);
            for (const auto& moved : c.expected) {
                if (moved.first == t.id) expected = moved.second;
            }
            EXPECT_EQ(Rect(boxes, t.id), expected) << "box " << t.id;
        }
    }
}

}  // namespace
}  // namespace tarvello::ui

// The contrast ratio of two colours, against figures worked out by hand from WCAG 2.1's
// formula; red and blue tell whether the bytes of a COLORREF are read the right way round.

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/window-utils/system_colours.h"
#include "ui/window-utils/contrast_ratio.h"

namespace tarvello::ui::testing {
namespace {

struct Pair {
    COLORREF a, b;
    double ratio;
};

TEST(ContrastRatio, MatchesTheFormulaForKnownPairs) {
    const Pair pairs[] = {
        {RGB(0, 0, 0), RGB(255, 255, 255), 21.0},
        {RGB(255, 255, 255), RGB(0, 0, 0), 21.0},
        {RGB(90, 90, 90), RGB(90, 90, 90), 1.0},
        {RGB(118, 118, 118), RGB(255, 255, 255), 4.54},
        {RGB(119, 119, 119), RGB(255, 255, 255), 4.48},
        {RGB(255, 0, 0), RGB(255, 255, 255), 4.0},
        {RGB(0, 0, 255), RGB(255, 255, 255), 8.59},
        {RGB(166, 166, 166), RGB(255, 255, 255), 2.43},
    };
    for (const Pair& p : pairs) {
        EXPECT_NEAR(ContrastRatio(p.a, p.b), p.ratio, 0.01)
            << Describe(p.a) << " on " << Describe(p.b);
    }
}

}  // namespace
}  // namespace tarvello::ui::testing

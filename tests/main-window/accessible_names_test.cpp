// What the window tells screen readers, seen through the seam it tells them by: the amount boxes
// named after their methods, and the progress line as a polite live region whose changes are
// told at most once a second.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/main-window/window_test_support.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/window-utils/accessible_names.h"

namespace tarvello::ui::testing {
namespace {

struct Told {
    std::string what;
    HWND control;
    std::wstring name;
    bool operator==(const Told& o) const {
        return what == o.what && control == o.control && name == o.name;
    }
};

class RecordingAccessibility : public AccessibleProperties {
public:
    void SetName(HWND control, const std::wstring& name) override { Add("name", control, name); }
    void SetPoliteLiveRegion(HWND control) override { Add("polite", control); }
    void LiveRegionChanged(HWND control) override { Add("changed", control); }
    void Clear(HWND control) override { Add("clear", control); }
    std::vector<Told> told;

private:
    void Add(const char* what, HWND control, const std::wstring& name = L"") {
        told.push_back({what, control, name});
    }
};

class AccessibleNames : public ::testing::Test {
protected:
    void SetUp() override { loaded.Load(settings.Location()); }
    RecordingAccessibility recorder;
    ScopedAccessibleProperties seam{recorder};
    ScratchSettings settings;
    LoadedWindow loaded;
};

// The progress line changes once before the window goes and once after: a window that gets the
// same handle later starts afresh.
TEST_F(AccessibleNames, AmountBoxesAreNamedAfterTheirMethodsTheProgressLineIsPoliteAndAllCleared) {
    const WindowControls& w = loaded.controls;
    HWND progress = GetDlgItem(w.hwnd(), main_window::kLblProgress);
    AnnounceLiveRegionChange(progress);
    loaded.window.reset();
    AnnounceLiveRegionChange(progress);
    const std::vector<Told> expected = {
        {"name", w.txtDecimalPlaces, L"Number of Decimal Places"},
        {"name", w.txtNearest, L"Nearest Multiple of"},
        {"name", w.txtNearestRoundUp, L"Up to Nearest Multiple of"},
        {"polite", progress, L""},
        {"changed", progress, L""},
        {"clear", w.txtDecimalPlaces, L""},
        {"clear", w.txtNearest, L""},
        {"clear", w.txtNearestRoundUp, L""},
        {"clear", progress, L""},
        {"changed", progress, L""},
    };
    EXPECT_EQ(recorder.told, expected);
}

TEST(AnnouncementPacing, TellsTheFirstChangeAtOnceThenAtMostOneASecondForEachControl) {
    const HWND a = reinterpret_cast<HWND>(1), b = reinterpret_cast<HWND>(2);
    // Changes passed over do not move the second on: a's second is counted from 1000.
    const struct {
        HWND control;
        ULONGLONG at;
        bool told;
    } changes[] = {
        {a, 0, true},     {a, 999, false},  {b, 999, true},  {a, 1000, true}, {a, 1500, false},
        {b, 1500, false}, {a, 1999, false}, {b, 1999, true}, {a, 2000, true},
    };
    AnnouncementPacing pacing;
    for (const auto& c : changes) {
        EXPECT_EQ(pacing.Tell(c.control, c.at), c.told) << (c.control == a ? "a" : "b") << c.at;
    }
    pacing.Forget(a);
    EXPECT_TRUE(pacing.Tell(a, 2001)) << "a forgotten control starts afresh";
    EXPECT_FALSE(pacing.Tell(b, 2002)) << "and the others keep their second";
}

}  // namespace
}  // namespace tarvello::ui::testing

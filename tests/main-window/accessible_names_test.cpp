// What the window tells screen readers, seen through the seam it tells them by: the amount boxes
// named after their methods, the progress line as a polite live region whose changes are told at
// most once a second, and why the choices the organisation fixed are greyed.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/main-window/window_test_support.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/window-utils/accessible_names.h"
#include "ui/window-utils/regional.h"

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
    void SetDescription(HWND control, const std::wstring& text) override {
        Add("description", control, text);
    }
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

// What the organisation fixed is set as it set it and greyed, each greyed control saying why to
// screen readers and the note beside the buttons saying it to all; a Round takes it as set, and
// Round to a Total, greyed, is refused when chosen from outside the menu too.
TEST(FixedChoices, AreSetGreyedSayWhyAndARoundTakesThem) {
    RecordingAccessibility recorder;
    ScopedAccessibleProperties seam{recorder};
    ScratchSettings settings;
    LoadedWindow loaded;
    loaded.fixed = {RoundingMethod::Nearest, NumberTextIn("0.5", UserNumberFormat()),
                    RoundedPrice::UnitPrice, RowChoice::Selected, true};
    loaded.Load(settings.Location());
    const WindowControls& w = loaded.controls;
    const std::set<HWND> fixed = {w.optUnitPrice,     w.optExtendedPrice,  w.optDecimal,
                                  w.txtDecimalPlaces, w.optNearest,        w.txtNearest,
                                  w.optRoundUp,       w.txtNearestRoundUp, w.optCurrentRow,
                                  w.optSelectedRows,  w.optAllRows};
    std::set<HWND> described;
    for (const Told& told : recorder.told) {
        if (told.name == L"Set by your organisation.") described.insert(told.control);
        EXPECT_TRUE(told.what != "description" || !IsWindowEnabled(told.control));
    }
    EXPECT_EQ(described, fixed);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(w.hwnd(), main_window::kLblFixedNote)));
    wchar_t caption[100] = {};
    GetMenuStringW(GetMenu(w.hwnd()), main_window::kMnuEditNewTotal, caption, 100, MF_BYCOMMAND);
    EXPECT_STREQ(caption, L"Round to a &Total... (turned off by your organisation)");
    EXPECT_TRUE(GetMenuState(GetMenu(w.hwnd()), main_window::kMnuEditNewTotal, 0) & MF_GRAYED);
    Click(w.cmdRound);
    SendMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(main_window::kMnuEditNewTotal, 0), 0);
    EXPECT_EQ(Describe(loaded.pass.calls),
              Describe(std::vector<PassCall>{{0.5, u"UnitPrice", u"Nearest", u"Selected"}}));
    EXPECT_EQ(loaded.pass.previewCalls + loaded.newTotalOpened, 0);
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

// What the window tells screen readers, seen through the seam it tells them by: the amount boxes
// named after their methods, and a long Round's progress as a polite live region, announced at
// most once a second.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/main-window/window_test_support.h"
#include "ui/main-window/main_window_layout.h"
#include "ui/window-utils/accessible_names.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui::testing {
namespace {

struct Told {
    std::string what;
    HWND control;
    std::wstring name;
    ULONGLONG at;
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
    std::vector<Told> Only(const std::string& what) const {
        std::vector<Told> some;
        for (const Told& t : told) {
            if (t.what == what) some.push_back(t);
        }
        return some;
    }
    std::vector<Told> told;

private:
    void Add(const char* what, HWND control, const std::wstring& name = L"") {
        told.push_back({what, control, name, GetTickCount64()});
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

TEST_F(AccessibleNames, EachAmountBoxIsNamedAfterItsMethodAndTheProgressLineIsPolite) {
    const WindowControls& w = loaded.controls;
    HWND progress = GetDlgItem(w.hwnd(), main_window::kLblProgress);
    const std::vector<Told> expected = {
        {"name", w.txtDecimalPlaces, L"Number of Decimal Places", 0},
        {"name", w.txtNearest, L"Nearest Multiple of", 0},
        {"name", w.txtNearestRoundUp, L"Up to Nearest Multiple of", 0},
        {"polite", progress, L"", 0},
    };
    EXPECT_EQ(recorder.told, expected);

    loaded.window.reset();
    const std::vector<HWND> cleared = {w.txtDecimalPlaces, w.txtNearest, w.txtNearestRoundUp,
                                       progress};
    std::vector<HWND> clearedNow;
    for (const Told& t : recorder.Only("clear")) clearedNow.push_back(t.control);
    EXPECT_EQ(clearedNow, cleared);
}

TEST_F(AccessibleNames, ALongRoundsProgressIsAnnouncedAtMostOnceASecond) {
    HWND progress = GetDlgItem(loaded.controls.hwnd(), main_window::kLblProgress);
    std::vector<std::wstring> shown;
    loaded.pass.writes = 60;
    loaded.pass.pausePerRowMs = 40;
    loaded.pass.afterRow = [&](int) {
        const std::wstring text = WindowText(progress);
        if (!text.empty() && (shown.empty() || shown.back() != text)) shown.push_back(text);
    };
    Click(loaded.controls.cmdRound);

    const std::vector<Told> changes = recorder.Only("changed");
    ASSERT_GE(changes.size(), 2u);
    EXPECT_LT(changes.size(), shown.size()) << "every change of the line was announced";
    for (const Told& change : changes) EXPECT_EQ(change.control, progress);
    for (std::size_t i = 1; i < changes.size(); ++i) {
        EXPECT_GE(changes[i].at - changes[i - 1].at, 990u) << "announcement " << i;
    }
}

}  // namespace
}  // namespace tarvello::ui::testing

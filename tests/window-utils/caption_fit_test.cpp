// Every window at 144 DPI, as a user at 150 % scaling opens it, then moved to monitors at 192,
// 120 and 96 DPI: every caption whole, nothing overlapping, everything inside the window. The
// tests run in a child process started at 144 DPI (dpi_process.h).

#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <functional>

#include "engine/new_total_input.h"
#include "engine/price_rules_form.h"
#include "tests/about-box/recording_presenter.h"
#include "tests/main-window/window_test_support.h"
#include "tests/support/modal_driver.h"
#include "tests/window-utils/caption_check.h"
#include "tests/window-utils/dpi_process.h"
#include "ui/about-box/frm_about.h"
#include "ui/new-total-window/frm_new_total.h"
#include "ui/preview-window/frm_preview.h"
#include "ui/price-rules-window/frm_price_rules.h"
#include "ui/window-utils/dpi.h"

namespace tarvello::ui::testing {
namespace {

const NumberFormat kPoint{u"."};

void ExpectWholeAtEveryDpi(HWND window) {
    ExpectCaptionsWhole(window, 144);
    int from = 144;
    for (int dpi : {192, 120, 96}) {
        SCOPED_TRACE(::testing::Message() << "moved to " << dpi << " DPI");
        ExpectFollowsDpi(window, from, dpi);
        ExpectCaptionsWhole(window, dpi);
        from = dpi;
    }
}

class AtDpi144 : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(SystemDpi(), 144) << "the program did not start at 144 DPI"; }
    // Opens a modal window through `open` and checks it from inside its loop, then closes it.
    void ExpectModalWhole(const wchar_t* windowClass, const std::function<void(HWND)>& open) {
        test::ModalDriver driver(windowClass);
        driver.Then([&] {
            ExpectWholeAtEveryDpi(test::FindModal(windowClass));
            DestroyWindow(test::FindModal(windowClass));
        });
        driver.ArmGuard();
        open(driver.owner());
        EXPECT_FALSE(driver.guardFired());
    }
    test::RecordingPresenter messages_;
};

TEST_F(AtDpi144, MainWindow) {
    ScratchSettings settings;
    LoadedWindow main;
    main.Load(settings.Location());
    ExpectWholeAtEveryDpi(main.controls.hwnd());
    // Back at 96 DPI, the table's own geometry.
    RECT client;
    GetClientRect(main.controls.hwnd(), &client);
    EXPECT_EQ((std::vector<LONG>{client.right, client.bottom}), (std::vector<LONG>{360, 296}));
}

// The place kept between runs is in twips of the DPI the window is drawn at: stored at 150 %, it
// opens there; moved to a monitor at 100 % and closed, it keeps twips of 96 DPI.
TEST_F(AtDpi144, PlacementIsKeptInTwipsOfTheWindowsDpi) {
    ScratchSettings settings;
    settings.Put(L"Top", L"1500");
    settings.Put(L"Left", L"3000");
    LoadedWindow main;
    main.Load(settings.Location());
    RECT r;
    GetWindowRect(main.controls.hwnd(), &r);
    EXPECT_EQ((std::vector<LONG>{r.left, r.top}), (std::vector<LONG>{300, 150}));
    ExpectFollowsDpi(main.controls.hwnd(), 144, 96);  // to 10 pixels right of and below it
    Click(main.controls.cmdClose);
    EXPECT_EQ(settings.Get(L"Left").value_or(L""), L"4650");
    EXPECT_EQ(settings.Get(L"Top").value_or(L""), L"2400");
}

TEST_F(AtDpi144, ModalWindows) {
    ExpectModalWhole(frmAbout::kClassName,
                     [&](HWND owner) { frmAbout(owner, messages_).Form_Load(); });
    RoundPlan plan;
    plan.items.resize(1);
    ExpectModalWhole(frmPreview::kClassName,
                     [&](HWND owner) { frmPreview(owner, plan, kPoint, messages_).Form_Load(); });
    ExpectModalWhole(frmPriceRules::kClassName, [&](HWND owner) {
        frmPriceRules(owner, DefaultRulesTexts(kPoint), kPoint, messages_).Form_Load();
    });
    ExpectModalWhole(frmNewTotal::kClassName, [&](HWND owner) {
        frmNewTotal(owner, u"4,321.09", DefaultNewTotalTexts(kPoint), kPoint, messages_)
            .Form_Load();
    });
}

}  // namespace
}  // namespace tarvello::ui::testing

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || std::wcscmp(argv[argc - 1], tarvello::ui::testing::kChildFlag) != 0) {
        return tarvello::ui::testing::RunAgainAtDpi(144);
    }
    --argc;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

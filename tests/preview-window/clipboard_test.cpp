// Memory for a Copy that cannot be written never reaches the clipboard, which keeps what it held.

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/launch.h"
#include "ui/window-utils/clipboard.h"

namespace tarvello::ui {
namespace {

TEST(Clipboard, MemoryThatCannotBeWrittenLeavesTheClipboardAsItWasAndSaysSo) {
    HWND owner =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_EQ(CopyTextToClipboard(owner, L"kept"), ClipboardCopy::Copied);
    // Discarded memory cannot be locked.
    HGLOBAL discarded = GlobalDiscard(GlobalAlloc(GMEM_MOVEABLE | GMEM_DISCARDABLE, 64));
    ASSERT_TRUE(discarded);
    EXPECT_EQ(CopyTextToClipboard(owner, L"lost", discarded), ClipboardCopy::NoMemory);
    EXPECT_EQ(launch::ClipboardText(), L"kept");
    DestroyWindow(owner);
}

}  // namespace
}  // namespace tarvello::ui

// StartSysInfo against a scratch registry and scratch folders: which program starts, and when
// the user is told that the tool is unavailable instead. The tool is the marker tool, copied
// under the names the launcher looks for.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "identity/identity.h"
#include "launch_probe.h"
#include "recording_presenter.h"
#include "ui/about-box/sys_info_launcher.h"
#include "ui/window-utils/window_text.h"

namespace tarvello::ui {
namespace {

using test::Lower;

// Place 1 is <scratch>\MSINFO "PATH", place 2 <scratch>\Location "MSINFO".
class SysInfoLauncher : public ::testing::Test {
protected:
    void SetPlace1(const std::string& path) const { key_.SetText("MSINFO", "PATH", path); }
    void SetPlace2(const std::string& folder) const { key_.SetText("Location", "MSINFO", folder); }

    void Press(int times = 1) {
        SysInfoSettings settings;
        settings.root = key_.root();
        settings.pathKey = key_.Path("MSINFO");
        settings.folderKey = key_.Path("Location");
        for (int i = 0; i < times; ++i) StartSysInfo(nullptr, settings, messages_);
    }

    void ExpectStarted(std::vector<std::string> paths) {
        for (auto& path : paths) path = Lower(path);
        std::sort(paths.begin(), paths.end());
        EXPECT_TRUE(shown_.empty())
            << "message: " << (shown_.empty() ? "" : Utf8Of(ToText(shown_[0].text)));
        ASSERT_TRUE(probe_.WaitForStarts(static_cast<int>(paths.size())));
        EXPECT_EQ(paths, probe_.Started());
    }

    // Nothing was started (a start would have been reported instead of the message).
    void ExpectUnavailable() {
        ASSERT_EQ(1u, shown_.size());
        EXPECT_EQ(L"System Information Is Unavailable At This Time", shown_[0].text);
        EXPECT_EQ(L"" TARVELLO_TITLE, shown_[0].caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK), shown_[0].type) << "OK only, no icon";
        EXPECT_EQ(std::vector<std::string>{}, probe_.Started());
    }

    test::ScratchKey key_;
    test::ScratchFolder folder_;
    test::LaunchProbe probe_;
    test::RecordingPresenter messages_;
    std::vector<test::Shown>& shown_ = messages_.shown;
};

TEST_F(SysInfoLauncher, Place1StartsTheNamedProgramAndPlace2IsNotUsed) {
    const std::string tool = folder_.PlantTool("one\\info tool.exe");
    SetPlace1(tool);
    SetPlace2(folder_.path() + "\\two");
    folder_.PlantTool("two\\MSINFO32.EXE");
    Press();
    ExpectStarted({tool});
}

TEST_F(SysInfoLauncher, EveryPressStartsAnotherCopy) {
    const std::string tool = folder_.PlantTool("one\\tool.exe");
    SetPlace1(tool);
    Press(2);
    ASSERT_TRUE(probe_.WaitForStarts(2));
    EXPECT_EQ(std::vector<std::string>(2, Lower(tool)), probe_.Started());
}

TEST_F(SysInfoLauncher, Place2FolderWithTheToolStartsIt) {
    const std::string tool = folder_.PlantTool("two\\MSINFO32.EXE");
    SetPlace2(folder_.path() + "\\two");
    Press();
    ExpectStarted({tool});
}

TEST_F(SysInfoLauncher, Place1KeyWithoutTheValueFallsBackToPlace2) {
    key_.SetText("MSINFO", "Other", "x");
    const std::string tool = folder_.PlantTool("two\\MSINFO32.EXE");
    SetPlace2(folder_.path() + "\\two");
    Press();
    ExpectStarted({tool});
}

TEST_F(SysInfoLauncher, Place1ValueTooLongFallsBackToPlace2) {
    SetPlace1(std::string(1024, 'x'));
    const std::string tool = folder_.PlantTool("two\\MSINFO32.EXE");
    SetPlace2(folder_.path() + "\\two");
    Press();
    ExpectStarted({tool});
}

// An unquoted command line would be split at the first space and start Program.exe.
TEST_F(SysInfoLauncher, PathWithSpacesNeverStartsAProgramNamedByItsFirstWord) {
    folder_.PlantTool("Program.exe");
    const std::string tool = folder_.PlantTool("Program Files\\Info Tool\\info.exe");
    SetPlace1(tool);
    Press();
    ExpectStarted({tool});
}

TEST_F(SysInfoLauncher, FolderWithSpacesNeverStartsAProgramNamedByItsFirstWord) {
    folder_.PlantTool("Program.exe");
    const std::string tool = folder_.PlantTool("Program Files\\Info Tool\\MSINFO32.EXE");
    SetPlace2(folder_.path() + "\\Program Files\\Info Tool");
    Press();
    ExpectStarted({tool});
}

// Ways the tool cannot be found or started, each with a usable place 2 wherever place 2 must
// not be tried.
struct UnavailableCase {
    const char* name;
    std::function<void(const test::ScratchKey&, const test::ScratchFolder&)> arrange;
};

void PrintTo(const UnavailableCase& c, std::ostream* os) {
    *os << c.name;
}

void UsablePlace2(const test::ScratchKey& key, const test::ScratchFolder& folder) {
    folder.PlantTool("usable\\MSINFO32.EXE");
    key.SetText("Location", "MSINFO", folder.path() + "\\usable");
}

// Hidden and system files are not files the launcher accepts.
void PlantWithAttributes(const test::ScratchKey& key, const test::ScratchFolder& folder,
                         DWORD attributes) {
    const std::string tool = folder.PlantTool("two\\MSINFO32.EXE");
    ASSERT_TRUE(SetFileAttributesA(tool.c_str(), attributes));
    key.SetText("Location", "MSINFO", folder.path() + "\\two");
}

class SysInfoUnavailable : public SysInfoLauncher,
                           public ::testing::WithParamInterface<UnavailableCase> {};

TEST_P(SysInfoUnavailable, ShowsTheMessageAndStartsNothing) {
    GetParam().arrange(key_, folder_);
    Press();
    ExpectUnavailable();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SysInfoUnavailable,
    ::testing::Values(
        UnavailableCase{"NeitherPlace", [](auto&, auto&) {}},
        UnavailableCase{"Place2FolderWithoutTheTool",
                        [](auto& key, auto& folder) {
                            folder.PlantTool("two\\OTHER.EXE");
                            key.SetText("Location", "MSINFO", folder.path() + "\\two");
                        }},
        UnavailableCase{"Place2ToolNameIsAFolder",
                        [](auto& key, auto& folder) {
                            folder.MakeFolder("two\\MSINFO32.EXE");
                            key.SetText("Location", "MSINFO", folder.path() + "\\two");
                        }},
        UnavailableCase{"Place2ToolIsHidden",
                        [](auto& key, auto& folder) {
                            PlantWithAttributes(key, folder, FILE_ATTRIBUTE_HIDDEN);
                        }},
        UnavailableCase{"Place2ToolIsASystemFile",
                        [](auto& key, auto& folder) {
                            PlantWithAttributes(key, folder, FILE_ATTRIBUTE_SYSTEM);
                        }},
        UnavailableCase{
            "Place2TooLong",
            [](auto& key, auto&) { key.SetText("Location", "MSINFO", std::string(1024, 'x')); }},
        UnavailableCase{"Place1ExpandableTextDoesNotTryPlace2",
                        [](auto& key, auto& folder) {
                            const std::string tool = folder.PlantTool("one\\tool.exe");
                            key.SetBytes("MSINFO", "PATH", REG_EXPAND_SZ,
                                         tool + std::string(1, '\0'));
                            UsablePlace2(key, folder);
                        }},
        UnavailableCase{"Place1OfNoBytesDoesNotTryPlace2",
                        [](auto& key, auto& folder) {
                            key.SetBytes("MSINFO", "PATH", REG_SZ, "");
                            UsablePlace2(key, folder);
                        }},
        UnavailableCase{"Place1NamingNoFileDoesNotTryPlace2",
                        [](auto& key, auto& folder) {
                            key.SetText("MSINFO", "PATH", folder.path() + "\\gone.exe");
                            UsablePlace2(key, folder);
                        }},
        UnavailableCase{"Place1NamingAFolderDoesNotTryPlace2",
                        [](auto& key, auto& folder) {
                            key.SetText("MSINFO", "PATH", folder.MakeFolder("one"));
                            UsablePlace2(key, folder);
                        }}),
    [](const ::testing::TestParamInfo<UnavailableCase>& info) {
        return std::string(info.param.name);
    });

TEST(SysInfoSettingsDefaults, LookInTheMachineWideRegistry) {
    SysInfoSettings settings;
    EXPECT_EQ(HKEY_LOCAL_MACHINE, settings.root);
    EXPECT_EQ("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", settings.pathKey);
    EXPECT_EQ("PATH", settings.pathValue);
    EXPECT_EQ("SOFTWARE\\Microsoft\\Shared Tools Location", settings.folderKey);
    EXPECT_EQ("MSINFO", settings.folderValue);
}

}  // namespace
}  // namespace tarvello::ui

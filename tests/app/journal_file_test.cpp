// The journal's file as the program keeps it: whatever state the disk is in, it reads what is
// whole, appends line by line beside another copy, and is rewritten either wholly or not at all.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "app/journal_file.h"
#include "engine/errors.h"
#include "tests/support/launch.h"
#include "tests/support/standin_process.h"

namespace tarvello::app {
namespace launch = tarvello::launch;
namespace {

using testing::TempDir;

class JournalFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::wstring error;
        dir_ = TempDir::Create(&error);
        ASSERT_TRUE(dir_) << launch::Narrow(error);
        folder_ = dir_->File(L"Tarvello Rounding Utility");
    }
    std::wstring Path() const { return folder_ + L"\\journal.txt"; }
    void Put(const std::string& bytes) {
        CreateDirectoryW(folder_.c_str(), nullptr);
        HANDLE file = CreateFileW(Path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    // What the named call throws, or "" when it does not.
    static std::string FailureOf(const std::function<void()>& call) {
        try {
            call();
        } catch (const JournalError& error) {
            return error.what();
        }
        return "";
    }

    std::optional<TempDir> dir_;
    std::wstring folder_;
};

TEST_F(JournalFileTest, WhateverItFindsItReadsAndAppendsOnALineOfItsOwn) {
    struct Case {
        const char* name;
        std::optional<std::string> held;  // nothing: no file, no folder
        bool isNew;
        std::string read;  // after "x\n" was appended
        LONGLONG readLimit = 64LL * 1024 * 1024;
        const char* firstRead = nullptr;  // what Read gives first, when not all it holds
    };
    const Case cases[] = {
        {"no folder yet", std::nullopt, true, "x\n"},
        {"an empty file", std::string(), true, "x\n"},
        {"a whole line", std::string("a\n"), false, "a\nx\n"},
        {"a last line cut off", std::string("a\nb"), false, "a\nb\nx\n"},
        {"garbage", std::string("\xff\x00\x01", 3), false, std::string("\xff\x00\x01\nx\n", 6)},
        // Enormous: read from its end, beginning at a whole line.
        {"enormous", std::string(5000, 'a') + "\nlast line\n", false, "last line\nx\n", 100,
         "last line\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileW(Path().c_str());
        RemoveDirectoryW(folder_.c_str());
        if (c.held) Put(*c.held);
        WinJournalFile journal(folder_);
        journal.readLimit = c.readLimit;
        EXPECT_EQ(journal.Read(), c.firstRead ? c.firstRead : c.held.value_or(""));
        EXPECT_EQ(journal.Open(), c.isNew);
        journal.Append("x\n");
        journal.FlushAndClose();
        EXPECT_EQ(journal.Read(), c.read);
    }
}

TEST_F(JournalFileTest, AFileItCannotHaveIsToldInWords) {
    // Another program holds the file and shares nothing.
    Put("a\n");
    HANDLE locked = CreateFileW(Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    WinJournalFile journal(folder_);
    EXPECT_NE(FailureOf([&] { journal.Read(); }), "");
    EXPECT_NE(FailureOf([&] { journal.Open(); }).find("it could not be opened"), std::string::npos);
    CloseHandle(locked);

    // A file stands where its folder should be.
    const std::wstring blocked = dir_->WriteFile(L"not a folder", "x");
    WinJournalFile nowhere(blocked);
    EXPECT_NE(FailureOf([&] { nowhere.Open(); }).find("could not be made"), std::string::npos);
}

// Two copies append in turn; while one has it open the other does not rewrite it.
TEST_F(JournalFileTest, TwoCopiesAppendSideBySideAndNeitherRewritesUnderTheOther) {
    WinJournalFile first(folder_), second(folder_);
    first.Open();
    second.Open();
    for (int i = 0; i < 3; ++i) {
        first.Append("first " + std::to_string(i) + "\n");
        second.Append("second " + std::to_string(i) + "\n");
    }
    EXPECT_FALSE(first.Replace([](const std::string&) { return std::string(); }));
    first.FlushAndClose();
    EXPECT_FALSE(second.Replace([](const std::string&) { return std::string(); }));
    second.FlushAndClose();
    EXPECT_EQ(first.Read(), "first 0\nsecond 0\nfirst 1\nsecond 1\nfirst 2\nsecond 2\n");
    EXPECT_TRUE(first.Replace([](const std::string& held) { return held.substr(0, 8); }));
    EXPECT_EQ(second.Read(), "first 0\n");
}

// A rewrite stopped at any step, as by a killed program, leaves the old journal or the new one,
// whole.
TEST_F(JournalFileTest, ARewriteCutOffLeavesTheOldOrTheNewJournalWhole) {
    using Step = WinJournalFile::ReplaceStep;
    struct Case {
        Step stoppedAfter;
        const char* left;
    };
    const Case cases[] = {
        {Step::NewFileOpened, "old\nlines\n"},
        {Step::NewFileWritten, "old\nlines\n"},
        {Step::NewFileFlushed, "old\nlines\n"},
        {Step::Replaced, "new\n"},
    };
    struct Stopped {};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.stoppedAfter));
        Put("old\nlines\n");
        WinJournalFile journal(folder_);
        journal.onReplaceStep = [&](Step step) {
            if (step == c.stoppedAfter) throw Stopped();
        };
        EXPECT_THROW(journal.Replace([](const std::string&) { return std::string("new\n"); }),
                     Stopped);
        WinJournalFile restarted(folder_);
        EXPECT_EQ(restarted.Read(), c.left);
        // The next rewrite goes through, whatever the last one left behind.
        EXPECT_TRUE(restarted.Replace([](const std::string&) { return std::string("next\n"); }));
        EXPECT_EQ(restarted.Read(), "next\n");
    }
}

}  // namespace
}  // namespace tarvello::app

// The journal's file as the program keeps it: whatever state the disk is in, it reads what is
// whole, appends line by line beside another copy, and is rewritten either wholly or not at all.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "app/win_journal_file.h"
#include "engine/numbers/errors.h"
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
    std::wstring Path() const { return folder_ + L"\\journal-3.txt"; }
    // The journal of earlier versions.
    std::wstring Earlier() const { return folder_ + L"\\journal.txt"; }
    void Put(const std::string& bytes, const std::wstring& path = L"") {
        CreateDirectoryW(folder_.c_str(), nullptr);
        HANDLE file = CreateFileW((path.empty() ? Path() : path).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    static std::string Read(WinJournalFile& journal) { return journal.ReadSince({}).text; }
    static std::string Bytes(const std::wstring& path) {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        char held[256] = {};
        DWORD read = 0;
        ReadFile(file, held, sizeof held, &read, nullptr);
        CloseHandle(file);
        return std::string(held, read);
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

// A journal of some megabytes with two later headers: the second with its line feed the last
// byte of the second megabyte, the rest of it in the third.
std::string LaterHeaders() {
    std::string text = "h\t1\n" + std::string(1000, 'a') + "\nh\t2\tc\n";
    text += std::string((1 << 21) - 1 - text.size(), 'b');
    return text + "\nh\t3\td\n" + std::string((1 << 20) + 5, 'c') + "\nlast\n";
}

TEST_F(JournalFileTest, WhateverItFindsItReadsAndAppendsOnALineOfItsOwn) {
    struct Case {
        const char* name;
        std::optional<std::string> held;  // nothing: no file, no folder
        std::string read;                 // after "x\n" was appended
        LONGLONG readLimit = 64LL * 1024 * 1024;
        const char* firstRead = nullptr;  // what is read first, when not all it holds
        LONGLONG headerSearch = 4LL * 1024 * 1024;
        const char* rewritten = nullptr;  // read after the rewrite, when not firstRead and "x\n"
    };
    const Case cases[] = {
        {"no folder yet", std::nullopt, "x\n"},
        {"an empty file", std::string(), "x\n"},
        {"a whole line", std::string("a\n"), "a\nx\n"},
        // Ended so that it never reads as whole, whatever follows.
        {"a last line cut off", std::string("a\nb"), "a\nb\tcut off\nx\n"},
        {"garbage", std::string("\xff\x00\x01", 3), std::string("\xff\x00\x01\tcut off\nx\n", 14)},
        // Enormous: its first line, which says its version, and its end from a whole line on.
        {"enormous", "first\n" + std::string(5000, 'a') + "\nlast line\n", "first\nlast line\nx\n",
         100, "first\nlast line\n"},
        // And the header that says the version of that end, taken over from the first version.
        {"enormous, its end after a later header",
         "h\t1\n" + std::string(5000, 'a') + "\nh\t2\tc\n" + std::string(5000, 'b') + "\nlast\n",
         "h\t1\nh\t2\tc\nlast\nx\n", 100, "h\t1\nh\t2\tc\nlast\n"},
        // Searched for in pieces: the last of two, the one found across two pieces.
        {"enormous, its last header across pieces", LaterHeaders(), "h\t1\nh\t3\td\nlast\nx\n", 100,
         "h\t1\nh\t3\td\nlast\n"},
        // Its end beginning exactly on a line: that line is whole, and kept.
        {"enormous, its end beginning on a line",
         "first\n" + std::string(5000, 'a') + "\nkept\nlast\n", "first\nlast\nx\n", 10,
         "first\nkept\nlast\n", 4LL * 1024 * 1024, "first\nlast\nx\n"},
        // A header further back than it is looked for is not read: what is read stays bounded
        // however far back the only header lies.
        {"enormous, its later header too far back",
         "h\t1\n" + std::string(5000, 'a') + "\nh\t2\tc\n" + std::string(5000, 'b') + "\nlast\n",
         "h\t1\nlast\nx\n", 100, "h\t1\nlast\n", 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileW(Path().c_str());
        RemoveDirectoryW(folder_.c_str());
        if (c.held) Put(*c.held);
        WinJournalFile journal(folder_);
        journal.readLimit = c.readLimit;
        journal.headerSearch = c.headerSearch;
        const JournalChunk first = journal.ReadSince({});
        EXPECT_EQ(first.text, c.firstRead ? c.firstRead : c.held.value_or(""));
        journal.Open();
        journal.Append("x\n");
        journal.FlushAndClose();
        EXPECT_EQ(Read(journal), c.read);
        // Read again from where it was read up to: only what came since, in the same file.
        const JournalChunk since = journal.ReadSince(first.end);
        EXPECT_EQ(since.fromStart, !c.held) << "read afresh only when it was not there yet";
        if (c.held) {
            EXPECT_EQ(since.text, c.read.substr(c.read.size() - since.text.size()));
        }
        // Rewritten, an enormous journal keeps its first line.
        EXPECT_TRUE(journal.Replace([](const std::string& held) { return held; }));
        if (c.firstRead) {
            EXPECT_EQ(Read(journal), c.rewritten ? c.rewritten : c.firstRead + std::string("x\n"));
        }
    }
}

// A full disk in the middle of a line: the fragment never reads as whole, the next line is never
// glued to it, and an Open that fails part-way holds nothing.
TEST_F(JournalFileTest, AWriteCutOffIsNeverReadWholeNorContinued) {
    Put("a\n");
    WinJournalFile journal(folder_);
    journal.Open();
    int writes = 0;
    journal.diskTakes = [&](std::size_t wanted) { return ++writes == 1 ? 3 : wanted; };
    EXPECT_NE(FailureOf([&] { journal.Append("written 4 15\n"); }), "");
    journal.Append("next\n");

    // Cut off, and no room to end it: nothing more goes in.
    journal.diskTakes = [](std::size_t) { return std::size_t{3}; };
    EXPECT_NE(FailureOf([&] { journal.Append("written 5 20\n"); }), "");
    journal.diskTakes = nullptr;
    EXPECT_NE(FailureOf([&] { journal.Append("after\n"); }), "");
    journal.FlushAndClose();

    // The line cut off cannot be ended as the journal is opened: nothing is held.
    journal.diskTakes = [](std::size_t) { return std::size_t{0}; };
    EXPECT_NE(FailureOf([&] { journal.Open(); }), "");
    journal.diskTakes = nullptr;
    EXPECT_TRUE(journal.Replace([](const std::string& held) { return held; }))
        << "the failed Open kept its lock";
    journal.Open();
    journal.Append("x\n");
    journal.FlushAndClose();
    EXPECT_EQ(Read(journal), "a\nwri\tcut off\nnext\nwri\tcu\tcut off\nx\n");

    // Another copy, open before that, appends after a fragment this one could not end.
    WinJournalFile other(folder_);
    other.Open();
    journal.Open();
    journal.diskTakes = [](std::size_t) { return std::size_t{3}; };
    EXPECT_NE(FailureOf([&] { journal.Append("written 6 25\n"); }), "");
    other.Append("other\n");
    other.FlushAndClose();
    journal.FlushAndClose();
    EXPECT_EQ(Read(other).substr(Read(other).rfind("x\n")), "x\nwri\tcu\tcut off\nother\n");
}

TEST_F(JournalFileTest, AFileItCannotHaveIsToldInWords) {
    // Another program holds the file and shares nothing.
    Put("a\n");
    HANDLE locked = CreateFileW(Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    WinJournalFile journal(folder_);
    EXPECT_NE(FailureOf([&] { Read(journal); }), "");
    EXPECT_NE(FailureOf([&] { journal.Open(); }).find("it could not be opened"), std::string::npos);
    CloseHandle(locked);

    // A file stands where its folder should be.
    const std::wstring blocked = dir_->WriteFile(L"not a folder", "x");
    WinJournalFile nowhere(blocked);
    EXPECT_NE(FailureOf([&] { nowhere.Open(); }).find("could not be made"), std::string::npos);
}

// The journal an earlier release keeps writing: read once, as this one's beginning, and never
// written, however this one is written and rewritten.
TEST_F(JournalFileTest, TheEarlierVersionsJournalIsTakenOverOnceAndNeverWritten) {
    const std::string earlier = "h\t2\tc\nround 1\n";
    Put(earlier + "round 2 be", Earlier());  // an earlier release is writing its last line
    WinJournalFile journal(folder_);
    EXPECT_EQ(Read(journal), earlier);
    journal.Open();
    journal.Append("x\n");
    journal.FlushAndClose();
    EXPECT_TRUE(journal.Replace([](const std::string& held) { return held.substr(0, 6); }));
    EXPECT_EQ(Bytes(Earlier()), earlier + "round 2 be");
    Put(earlier + "round 2\n", Earlier());  // the earlier release goes on
    EXPECT_EQ(Read(journal), "h\t2\tc\n") << "read once only";
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
    const JournalChunk before = first.ReadSince({});
    EXPECT_EQ(before.text, "first 0\nsecond 0\nfirst 1\nsecond 1\nfirst 2\nsecond 2\n");
    EXPECT_TRUE(first.Replace([](const std::string& held) { return held.substr(0, 8); }));
    const JournalChunk after = second.ReadSince(before.end);
    EXPECT_TRUE(after.fromStart) << "a rewritten journal is another file";
    EXPECT_EQ(after.text, "first 0\n");
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
        EXPECT_EQ(Read(restarted), c.left);
        // The next rewrite goes through, whatever the last one left behind.
        EXPECT_TRUE(restarted.Replace([](const std::string&) { return std::string("next\n"); }));
        EXPECT_EQ(Read(restarted), "next\n");
    }
}

}  // namespace
}  // namespace tarvello::app

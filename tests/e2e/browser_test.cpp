// The listing browser driven by key presses, as a terminal sends them.
#include <signal.h>

#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

class Browser : public ExtractorTest {
protected:
    // Starts the program on an archive of `count` numbered entries and reads
    // up to its first page.
    void open(int count) {
        entries_ = numberedEntries(count);
        session_ = std::make_unique<TerminalSession>(std::vector<std::string>{writeArchive(entries_)}, inFolder());
        const std::string start = kBanner + loadingLine("test.dat") + page(entries_, 0);
        ASSERT_EQ(session_->take(start.size()), start);
    }
    // Types a key and expects the pages it prints, each given by its first row.
    void press(const std::string& key, std::vector<int> pageStarts, const std::string& why) {
        ASSERT_TRUE(session_->type(key)) << why;
        std::string expected;
        for (const int first : pageStarts) expected += page(entries_, first);
        EXPECT_EQ(session_->take(expected.size()), expected) << why;
    }
    void escapeAndExpectTheEnd() { typeAndExpectTheEnd(*session_, kEscape, ""); }

    std::vector<fixture::Entry> entries_;
    std::unique_ptr<TerminalSession> session_;
};

TEST_F(Browser, ArrowsPageThroughFortyFiveEntriesPrintingThePageTwice) {
    open(45);
    // The lead code prints the page unchanged; the second code pages.
    press(kDown, {0, 20}, "Down to 21");
    press(kDown, {20, 40}, "Down to 41");
    press(kDown, {40, 25}, "Down shows the last 20");
    press(kDown, {25, 25}, "Down stays");
    press(kUp, {25, 5}, "Up to 6");
    press(kUp, {5, 0}, "Up to the top");
    press(kUp, {0, 0}, "Up stays");
    escapeAndExpectTheEnd();
}

TEST_F(Browser, ApplicationCursorArrowsPageToo) {
    open(30);
    press("\x1bOB", {0, 20}, "Down");
    press("\x1bOA", {20, 0}, "Up");
    escapeAndExpectTheEnd();
}

TEST_F(Browser, CapitalLettersPageAndSmallLettersDoNothing) {
    open(21);
    press("P", {20}, "P pages down");
    press("P", {1}, "P again shows the last 20");
    press("p", {1}, "p does nothing");
    press("h", {1}, "h does nothing");
    press("H", {0}, "H pages up");
    escapeAndExpectTheEnd();
}

TEST_F(Browser, OtherKeysOnlyPrintThePageAgain) {
    open(30);
    const struct {
        const char* name;
        const char* bytes;
        int pages;
    } keys[] = {
        {"Page Up", "\x1b[5~", 2}, {"Page Down", "\x1b[6~", 2}, {"Home", "\x1b[H", 2},
        {"End", "\x1b[F", 2},      {"Left", "\x1b[D", 2},       {"Right", "\x1b[C", 2},
        {"Insert", "\x1b[2~", 2},  {"Delete", "\x1b[3~", 2},    {"F1", "\x1bOP", 2},
        {"F5", "\x1b[15~", 2},     {"F10", "\x1b[21~", 2},      {"Ctrl+C", kCtrlC, 1},
        {"x", "x", 1},             {"Tab", "\t", 1},
    };
    for (const auto& key : keys) press(key.bytes, std::vector<int>(key.pages, 0), key.name);
    escapeAndExpectTheEnd();
}

TEST_F(Browser, EscapeFirstEndsAfterOnePage) {
    open(3);
    escapeAndExpectTheEnd();
}

TEST_F(Browser, AnEmptyArchiveShowsAnEmptyPage) {
    open(0);
    // An empty page prints nothing to wait for, so the keys are typed ahead
    // in one go, as the terminal would pass a burst of key presses.
    ASSERT_TRUE(session_->type(std::string(kDown) + "P" + kUp + "x" + kEscape));
    EXPECT_EQ(session_->takeRest(), "");
    const Ending ending = session_->finish();
    EXPECT_TRUE(ending.exited);
    EXPECT_EQ(ending.status, 0);
}

TEST_F(Browser, SevenEntriesStayOnOnePage) {
    open(7);
    press("P", {0}, "Down stays");
    escapeAndExpectTheEnd();
}

TEST_F(Browser, TheTerminalIsRestoredAfterEveryKeyAndOnASignal) {
    for (const int signalNumber : {SIGTERM, SIGHUP, SIGINT}) {
        open(25);
        const struct termios before = session_->initialSettings();
        press(kDown, {0, 20}, "Down");
        ASSERT_TRUE(session_->waitForKeyRead());
        session_->sendSignal(signalNumber);
        const Ending ending = session_->finish();
        EXPECT_TRUE(ending.signalled) << signalNumber;
        EXPECT_EQ(ending.status, signalNumber);
        const struct termios after = session_->terminalSettings();
        EXPECT_EQ(after.c_lflag, before.c_lflag) << signalNumber;
        EXPECT_EQ(after.c_iflag, before.c_iflag) << signalNumber;
        EXPECT_NE(after.c_lflag & ICANON, 0u);
        EXPECT_NE(after.c_lflag & ECHO, 0u);
    }
}

}  // namespace
}  // namespace e2e

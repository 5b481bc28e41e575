// Faults from outside that strike while the program runs: a disk that fills
// up, a folder that stops taking files, an archive that shrinks or cannot be
// read any more, and signals. Each must end in a failure line, never in a
// crash, a silent success or a terminal left raw.
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>

#include "tests/e2e/e2e_fixture.h"
#include "tests/support/fault_mounts.h"

namespace e2e {
namespace {

const std::string kPrompt = "Which file number do you wish to extract? ";

class Faults : public ExtractorTest {
protected:
    // Starts the program on test.dat in `options.workFolder` and reads up to its first page.
    void start(const std::vector<fixture::Entry>& entries, const SessionOptions& options) {
        entries_ = entries;
        session_ = std::make_unique<TerminalSession>(std::vector<std::string>{"test.dat"}, options);
        const std::string opening = kBanner + loadingLine("test.dat") + page(entries_, 0);
        ASSERT_EQ(session_->take(opening.size()), opening);
    }
    // Enter, the entry's number, and its lines up to the page printed again.
    void extractOne(int number, const std::string& lines) {
        ASSERT_TRUE(session_->type(kEnter));
        ASSERT_EQ(session_->take(kPrompt.size()), kPrompt);
        session_->send(std::to_string(number) + "\r");
        const std::string expected = std::to_string(number) + "\n" + lines + page(entries_, 0);
        EXPECT_EQ(session_->take(expected.size()), expected);
    }

    std::vector<fixture::Entry> entries_;
    std::unique_ptr<TerminalSession> session_;
};

TEST_F(Faults, ADiskThatFillsUpMidWriteIsAFailedWrite) {
    const fixture::SmallDisk disk(folder_ / "disk", 64 * 1024);
    if (!disk.available()) GTEST_SKIP() << disk.why();
    const std::string large = noise(1 << 20, 7);
    const std::vector<fixture::Entry> entries = {
        {"disk\\small.txt", "fits"}, {"disk\\large.bin", large, true}, {"disk\\later.txt", "never"}};
    writeArchive(entries);
    start(entries, inFolder());
    typeAndExpectTheEnd(*session_, " ",
                        "Writing File #0 disk\\small.txt ...\n"
                        "Writing Compressed File #1 disk\\large.bin ...\n"
                        "ERROR : Unable to Write File disk\\large.bin\n");
    EXPECT_EQ(fixture::readFile(pathOf("disk/small.txt")), "fits");
    // What the disk took stays, and is the start of the entry.
    const std::string written = fixture::readFile(pathOf("disk/large.bin"));
    EXPECT_LT(written.size(), large.size());
    EXPECT_EQ(written, large.substr(0, written.size()));
    EXPECT_FALSE(std::filesystem::exists(pathOf("disk/later.txt")));
}

TEST_F(Faults, AFolderThatStopsTakingFilesWhileTheBrowserWaits) {
    const std::filesystem::path game = folder_ / "game";
    std::filesystem::create_directories(game);
    const std::vector<fixture::Entry> entries = {{"old.txt", "rewritten"}, {"new.txt", "refused"}, {"x\\y.txt", "never"}};
    fixture::writeFile((game / "test.dat").string(), fixture::buildArchive(entries));
    SessionOptions options{.workFolder = game.string()};
    if (geteuid() == 0) {
        // Root writes into every folder: run as nobody, from a copy nobody can reach.
        options.asNobody = true;
        options.binary = pathOf("kdat-extract");
        std::filesystem::copy_file(extractorBinary(), *options.binary);
        ASSERT_EQ(chown(game.c_str(), 65534, 65534), 0);
    }
    start(entries, options);
    extractOne(1, "Writing File #0 old.txt ...\n");

    ASSERT_EQ(chmod(game.c_str(), 0555), 0);
    // A file that exists is still rewritten; a new one cannot be made.
    typeAndExpectTheEnd(*session_, " ",
                        "Writing File #0 old.txt ...\n"
                        "Writing File #1 new.txt ...\n"
                        "ERROR : Unable to Open Specified File new.txt\n");
    chmod(game.c_str(), 0755);
    EXPECT_EQ(fixture::readFile((game / "old.txt").string()), "rewritten");
    EXPECT_FALSE(std::filesystem::exists(game / "new.txt"));
    EXPECT_FALSE(std::filesystem::exists(game / "x"));
}

TEST_F(Faults, AnArchiveThatShrinksWhileTheBrowserWaits) {
    const std::vector<fixture::Entry> entries = {{"kept.txt", "before the cut"}, {"cut.txt", "after the cut"}};
    writeArchive(entries);  // header, payloads in order, then the directory
    start(entries, inFolder());
    std::filesystem::resize_file(pathOf("test.dat"), 16 + entries[0].content.size());
    typeAndExpectTheEnd(*session_, " ",
                        "Writing File #0 kept.txt ...\n"
                        "Writing File #1 cut.txt ...\n"
                        "ERROR : Missing Data for File cut.txt\n");
    EXPECT_EQ(fixture::readFile(pathOf("kept.txt")), "before the cut");
    EXPECT_FALSE(std::filesystem::exists(pathOf("cut.txt")));
}

TEST_F(Faults, AnArchiveThatCannotBeReadAnyMore) {
    // The archive lies on a disk that is cut short after loading; it is
    // reached through a link, so the entries are written beside the link, on
    // a sound disk.
    fixture::FailingDisk disk(folder_ / "disk.img", folder_ / "disk", 32 << 20);
    if (!disk.available()) GTEST_SKIP() << disk.why();
    const std::string large = noise(12 << 20, 11);
    const std::vector<fixture::Entry> entries = {{"small.txt", "read in time"}, {"large.bin", large}};
    fixture::writeFile(pathOf("disk/test.dat"), fixture::buildArchive(entries, {.directoryFirst = true}));
    std::filesystem::create_symlink("disk/test.dat", pathOf("test.dat"));
    ASSERT_TRUE(disk.remount());  // nothing of the archive left in memory

    start(entries, inFolder());
    extractOne(1, "Writing File #0 small.txt ...\n");
    ASSERT_TRUE(disk.cutTo(64 * 1024));
    typeAndExpectTheEnd(*session_, " ",
                        "Writing File #0 small.txt ...\n"
                        "Writing File #1 large.bin ...\n"
                        "ERROR : Missing Data for File large.bin\n");
    EXPECT_EQ(fixture::readFile(pathOf("small.txt")), "read in time");
    // The file was opened before the read failed; nothing unread is in it.
    EXPECT_EQ(fixture::readFile(pathOf("large.bin")), "");
}

void expectSameSettings(const struct termios& after, const struct termios& before) {
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(after.c_oflag, before.c_oflag);
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(std::memcmp(after.c_cc, before.c_cc, sizeof after.c_cc), 0);
}

// While a key is awaited the terminal is raw; at the number prompt it is in
// line mode. Ended in either, the terminal must be as it was at the start.
TEST_F(Faults, EndedBySignalTheTerminalIsAsBefore) {
    const std::vector<fixture::Entry> entries = numberedEntries(3);
    writeArchive(entries);
    for (const int signalNumber : {SIGTERM, SIGHUP}) {
        for (const bool atThePrompt : {false, true}) {
            SCOPED_TRACE(std::string(strsignal(signalNumber)) + (atThePrompt ? " at the prompt" : " at a key"));
            start(entries, inFolder());
            if (atThePrompt) {
                ASSERT_TRUE(session_->type(kEnter));
                ASSERT_EQ(session_->take(kPrompt.size()), kPrompt);
            } else {
                ASSERT_TRUE(session_->waitForKeyRead());
            }
            session_->sendSignal(signalNumber);
            const Ending ending = session_->finish();
            EXPECT_TRUE(ending.signalled);
            EXPECT_EQ(ending.status, signalNumber);
            expectSameSettings(session_->terminalSettings(), session_->initialSettings());
        }
    }
}

}  // namespace
}  // namespace e2e

// Start-up as a user meets it: the banner, the choice of the archive, loading
// and its failures, each run in a pseudo-terminal on the real binary.
#include <sys/stat.h>

#include <fstream>

#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

using StartUp = ExtractorTest;

TEST_F(StartUp, BannerLoadingAndFirstPageThenEscapeEndsWithStatusZero) {
    const auto entries = numberedEntries(3);
    TerminalSession session({writeArchive(entries)}, inFolder());
    const std::string expected = kBanner + loadingLine("test.dat") + page(entries, 0);
    EXPECT_EQ(session.take(expected.size()), expected);
    ASSERT_TRUE(session.type(kEscape));
    EXPECT_EQ(session.takeRest(), "");
    const Ending ending = session.finish();
    EXPECT_TRUE(ending.exited);
    EXPECT_EQ(ending.status, 0);
}

TEST_F(StartUp, ArgumentsAfterTheFirstAreIgnored) {
    const auto entries = numberedEntries(2);
    TerminalSession session({writeArchive(entries), "missing.dat", "--help"}, inFolder());
    const std::string expected = kBanner + loadingLine("test.dat") + page(entries, 0);
    EXPECT_EQ(session.take(expected.size()), expected);
    ASSERT_TRUE(session.type(kEscape));
    EXPECT_EQ(session.takeRest(), "");
}

struct LoadFailure {
    const char* name;
    std::string argument;
    std::string message;
};

void PrintTo(const LoadFailure& failure, std::ostream* out) {
    *out << failure.name;
}

class LoadFailures : public ExtractorTest, public ::testing::WithParamInterface<LoadFailure> {};

TEST_P(LoadFailures, PrintLoadingThenTheErrorAndEndWithStatusZero) {
    // The fixtures these cases name.
    fixture::writeFile(pathOf("lower.dat"), fixture::buildArchive(numberedEntries(2), {.magic = "kdat"}));
    fixture::writeFile(pathOf("short.dat"), std::string("KDAT\x10\0\0\0\0\0", 10));
    fixture::writeFile(pathOf("text.dat"), "This is not an archive, just some text.\n");
    fixture::writeFile(pathOf("cut.dat"), fixture::buildArchive(numberedEntries(3)).substr(0, 16 + 30 + 200));
    fixture::writeFile(pathOf("far.dat"), fixture::buildArchive(numberedEntries(1), {.directoryOffset = 0xFFFFFF00u}));
    std::filesystem::create_directory(pathOf("folder.dat"));

    const LoadFailure& failure = GetParam();
    TerminalSession session({failure.argument}, inFolder());
    EXPECT_EQ(session.takeRest(), kBanner + loadingLine(failure.argument) + failure.message);
    const Ending ending = session.finish();
    EXPECT_TRUE(ending.exited);
    EXPECT_EQ(ending.status, 0);
}

const std::string kLongPath = std::string(300, 'd') + "/" + std::string(300, 'f') + ".dat";

INSTANTIATE_TEST_SUITE_P(
    EachCause, LoadFailures,
    ::testing::Values(
        LoadFailure{"Missing", "missing.dat", "ERROR : Unable to Open Specified File missing.dat\n"},
        LoadFailure{"Folder", "folder.dat", "ERROR : Unable to Open Specified File folder.dat\n"},
        LoadFailure{"EmptyArgument", "", "ERROR : Unable to Open Specified File \n"},
        LoadFailure{"TooLongForThePathBuffer", kLongPath, "ERROR : Unable to Open Specified File " + kLongPath + "\n"},
        LoadFailure{"MagicInLowerCase", "lower.dat", "ERROR : File lower.dat is not a DAT file\n"},
        LoadFailure{"ShorterThanTheHeader", "short.dat", "ERROR : File short.dat is not a DAT file\n"},
        LoadFailure{"NotAnArchive", "text.dat", "ERROR : File text.dat is not a DAT file\n"},
        LoadFailure{"DirectoryCutShort", "cut.dat", "ERROR : File cut.dat is incomplete\n"},
        LoadFailure{"DirectoryPastTheEnd", "far.dat", "ERROR : File far.dat is incomplete\n"}),
    [](const ::testing::TestParamInfo<LoadFailure>& info) { return std::string(info.param.name); });

TEST_F(StartUp, FailedLoadingChangesNothingOnDisk) {
    fixture::writeFile(pathOf("lower.dat"), fixture::buildArchive(numberedEntries(2), {.magic = "kdat"}));
    const std::string before = fixture::readFile(pathOf("lower.dat"));
    TerminalSession missing({"missing.dat"}, inFolder());
    missing.finish();
    TerminalSession foreign({"lower.dat"}, inFolder());
    foreign.finish();
    EXPECT_FALSE(std::filesystem::exists(pathOf("missing.dat")));
    EXPECT_EQ(fixture::readFile(pathOf("lower.dat")), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1);
}

TEST_F(StartUp, AnUnreadableArchiveCannotBeOpened) {
    writeArchive(numberedEntries(1));
    chmod(pathOf("test.dat").c_str(), 0);
    SessionOptions options = inFolder();
    if (geteuid() == 0) {
        // Root reads every file: run as nobody, from a copy nobody can reach.
        options.asNobody = true;
        options.binary = pathOf("kdat-extract");
        std::filesystem::copy_file(extractorBinary(), *options.binary);
        chmod(folder_.c_str(), 0755);
    }
    TerminalSession session({"test.dat"}, options);
    EXPECT_EQ(session.takeRest(), kBanner + loadingLine("test.dat") +
                                      "ERROR : Unable to Open Specified File test.dat\n");
}

TEST_F(StartUp, WithoutAnyTerminalOnePageIsPrintedAndTheRunEnds) {
    const auto entries = numberedEntries(25);
    const DetachedRun run = runWithoutTerminal({writeArchive(entries)}, folder_.string());
    EXPECT_EQ(run.output, kBanner + loadingLine("test.dat") + page(entries, 0));
    EXPECT_TRUE(run.ending.exited);
    EXPECT_EQ(run.ending.status, 0);
}

TEST_F(StartUp, KeysComeFromTheTerminalWhenStandardInputIsRedirected) {
    const auto entries = numberedEntries(25);
    fixture::writeFile(pathOf("input.txt"), "\x1b[B\x1b\n");
    SessionOptions options = inFolder();
    options.standardInput = pathOf("input.txt");
    TerminalSession session({writeArchive(entries)}, options);
    const std::string start = kBanner + loadingLine("test.dat") + page(entries, 0);
    EXPECT_EQ(session.take(start.size()), start);
    ASSERT_TRUE(session.type("P"));
    EXPECT_EQ(session.take(page(entries, 20).size()), page(entries, 20));
    ASSERT_TRUE(session.type(kEscape));
    EXPECT_EQ(session.takeRest(), "");
    EXPECT_EQ(session.finish().status, 0);
}

TEST_F(StartUp, OutputIsOnItsWayBeforeTheProgramWaitsForAKey) {
    const auto entries = numberedEntries(4);
    SessionOptions options = inFolder();
    options.standardOutput = pathOf("output.txt");
    TerminalSession session({writeArchive(entries)}, options);
    ASSERT_TRUE(session.waitForKeyRead());
    EXPECT_EQ(fixture::readFile(pathOf("output.txt")), kBanner + loadingLine("test.dat") + page(entries, 0));
    ASSERT_TRUE(session.type("x"));
    ASSERT_TRUE(session.type(kEscape));
    session.finish();
    EXPECT_EQ(fixture::readFile(pathOf("output.txt")),
              kBanner + loadingLine("test.dat") + page(entries, 0) + page(entries, 0));
}

// The question on the terminal when there is no graphical session.
TEST_F(StartUp, WithoutAnArgumentTheTerminalAsksForTheArchive) {
    const auto entries = numberedEntries(2);
    writeArchive(entries);
    TerminalSession session({}, inFolder());
    const std::string question = kBanner + "Load .dat\nFile name: ";
    EXPECT_EQ(session.take(question.size()), question);
    session.send("test.dat\r");  // a line typed at the question, echoed
    const std::string expected = "test.dat\n" + loadingLine("test.dat") + page(entries, 0);
    EXPECT_EQ(session.take(expected.size()), expected);
    ASSERT_TRUE(session.type(kEscape));
    EXPECT_EQ(session.takeRest(), "");
}

TEST_F(StartUp, AnEmptyAnswerCancelsAndLeavesTheBannerAlone) {
    TerminalSession session({}, inFolder());
    const std::string question = kBanner + "Load .dat\nFile name: ";
    EXPECT_EQ(session.take(question.size()), question);
    session.send("\r");
    EXPECT_EQ(session.takeRest(), "\n");
    const Ending ending = session.finish();
    EXPECT_TRUE(ending.exited);
    EXPECT_EQ(ending.status, 0);
}

TEST_F(StartUp, WithNeitherArgumentNorTerminalTheDialogFails) {
    const DetachedRun run = runWithoutTerminal({}, folder_.string());
    EXPECT_EQ(run.output, kBanner);
    EXPECT_TRUE(run.ending.exited);
    EXPECT_EQ(run.ending.status, 0);
}

// In a graphical session the file chooser is asked; a stand-in records how.
class GraphicalDialog : public ExtractorTest {
protected:
    void installChooser(const std::string& answer, int status) {
        std::filesystem::create_directory(pathOf("bin"));
        const std::string script = pathOf("bin/zenity");
        std::ofstream(script) << "#!/bin/sh\n"
                              << "for argument in \"$@\"; do printf '%s\\n' \"$argument\"; done > '"
                              << pathOf("arguments.txt") << "'\n"
                              << "printf '%s\\n' '" << answer << "'\n"
                              << "exit " << status << "\n";
        chmod(script.c_str(), 0755);
    }
    SessionOptions graphical() const {
        SessionOptions options = inFolder();
        options.environment = {"DISPLAY=:99", "PATH=" + pathOf("bin") + ":/usr/bin:/bin"};
        return options;
    }
};

TEST_F(GraphicalDialog, ChooserIsAskedWithTitleAndFiltersAndItsChoiceIsLoaded) {
    const auto entries = numberedEntries(2);
    writeArchive(entries);
    installChooser(pathOf("test.dat"), 0);
    TerminalSession session({}, graphical());
    const std::string expected = kBanner + loadingLine(pathOf("test.dat")) + page(entries, 0);
    EXPECT_EQ(session.take(expected.size()), expected);
    ASSERT_TRUE(session.type(kEscape));
    EXPECT_EQ(session.takeRest(), "");
    EXPECT_EQ(fixture::readFile(pathOf("arguments.txt")),
              "--file-selection\n"
              "--title=Load .dat\n"
              "--file-filter=Korvelin DAT Files (*.dat) | *.dat\n"
              "--file-filter=All Files<bad idea>(*.*) | *.*\n");
}

TEST_F(GraphicalDialog, CancelOrAPathTooLongLeavesTheBannerAlone) {
    for (const auto& [answer, status] : {std::pair<std::string, int>{"", 1},
                                         {"/" + std::string(520, 'x') + ".dat", 0}}) {
        installChooser(answer, status);
        TerminalSession session({}, graphical());
        EXPECT_EQ(session.takeRest(), kBanner) << answer.size();
        EXPECT_EQ(session.finish().status, 0);
    }
}

}  // namespace
}  // namespace e2e

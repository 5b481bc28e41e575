// Extraction as a user drives it from the browser: Space writes every entry
// beneath the archive's folder, and the failures end the run after their line.
#include <sys/stat.h>
#include <unistd.h>

#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

// Bytes that a text-mode write or a careless copy would change.
const std::string kBinaryBytes = std::string("line\r\nnext\n\0\x1a\xff\x80 end", 20);

std::string levelMap() {
    std::string text;
    for (int row = 0; row < 400; ++row) text += "row " + std::to_string(row) + ": ##..##..~~..##\n";
    return text;
}

class Extraction : public ExtractorTest {
protected:
    // Starts the program on an archive of `entries` and reads up to its first page.
    void start(const std::vector<fixture::Entry>& entries, const fixture::Layout& layout = {}) {
        writeArchive(entries, layout);
        startOnWrittenArchive(entries, inFolder());
    }
    // The same, for an archive of `entries` already written as test.dat.
    void startOnWrittenArchive(const std::vector<fixture::Entry>& entries, const SessionOptions& options) {
        entries_ = entries;
        session_ = std::make_unique<TerminalSession>(std::vector<std::string>{"test.dat"}, options);
        const std::string opening = kBanner + loadingLine("test.dat") + page(entries_, 0);
        ASSERT_EQ(session_->take(opening.size()), opening);
    }
    // Types a key and expects `lines`, then the page again.
    void press(const std::string& key, const std::string& lines) {
        ASSERT_TRUE(session_->type(key));
        const std::string expected = lines + page(entries_, 0);
        EXPECT_EQ(session_->take(expected.size()), expected);
    }
    // Types a key and expects `lines` as the last output of a run that ends with status 0.
    void pressAndExpectTheEnd(const std::string& key, const std::string& lines) {
        typeAndExpectTheEnd(*session_, key, lines);
    }

    std::vector<fixture::Entry> entries_;
    std::unique_ptr<TerminalSession> session_;
};

TEST_F(Extraction, SpaceWritesEveryEntryByteForByteAndAgainWithoutMakingFolders) {
    std::vector<fixture::Entry> entries = {
        {"readme.txt", kBinaryBytes},
        {"data\\maps\\level1.map", levelMap(), true},
        {"data\\empty.bin", ""},
        {"data\\maps\\empty.z", "", true},
        {"data\\copy-of-level1.map", levelMap(), true},
        {"a\\b.bin", "one-letter folder"},
        {"data\\maps\\stored.map", kBinaryBytes + levelMap()},
        {"nowhere.bin", ""},
    };
    entries[4].samePayloadAs = 1;
    entries[7].offset = 0xFFFFFFF0u;  // no bytes to read, so no place is wrong
    // Payloads last entry first, after the directory, so the first entry's ends the file.
    start(entries, {.directoryFirst = true, .payloadsReversed = true});

    const std::string firstTime = writingLine(0, entries[0]) + madeLine("data") + madeLine("data/maps") +
                                  writingLine(1, entries[1]) + writingLine(2, entries[2]) +
                                  writingLine(3, entries[3]) + writingLine(4, entries[4]) + madeLine("a") +
                                  writingLine(5, entries[5]) + writingLine(6, entries[6]) +
                                  writingLine(7, entries[7]);
    press(" ", firstTime);
    const std::map<std::string, std::string> expected = {
        {"readme.txt", kBinaryBytes},
        {"data", "<folder>"},
        {"data/maps", "<folder>"},
        {"data/maps/level1.map", levelMap()},
        {"data/empty.bin", ""},
        {"data/maps/empty.z", ""},
        {"data/copy-of-level1.map", levelMap()},
        {"a", "<folder>"},
        {"a/b.bin", "one-letter folder"},
        {"data/maps/stored.map", kBinaryBytes + levelMap()},
        {"nowhere.bin", ""},
    };
    EXPECT_EQ(tree(), expected);

    // The folders exist now: the same lines without a made-directory line,
    // and every file rewritten from the start.
    fixture::writeFile(pathOf("data/empty.bin"), "left over from before");
    fixture::writeFile(pathOf("readme.txt"), kBinaryBytes + kBinaryBytes);
    std::string secondTime;
    for (int index = 0; index < static_cast<int>(entries.size()); ++index)
        secondTime += writingLine(index, entries[index]);
    press(" ", secondTime);
    EXPECT_EQ(tree(), expected);
    pressAndExpectTheEnd(kEscape, "");
}

// Each command looks at the folders afresh: the user may remove them between two.
TEST_F(Extraction, FoldersRemovedBetweenCommandsAreMadeAgain) {
    const std::vector<fixture::Entry> entries = {{"data\\maps\\one.map", "one"}, {"data\\maps\\two.map", "two", true}};
    start(entries);
    const std::string folders = madeLine("data") + madeLine("data/maps");
    press(" ", folders + writingLine(0, entries[0]) + writingLine(1, entries[1]));

    std::filesystem::remove_all(folder_ / "data");
    press(" ", folders + writingLine(0, entries[0]) + writingLine(1, entries[1]));

    std::filesystem::remove_all(folder_ / "data");
    ASSERT_TRUE(session_->type(kEnter));
    const std::string prompt = "Which file number do you wish to extract? ";
    ASSERT_EQ(session_->take(prompt.size()), prompt);
    session_->send("2\r");
    const std::string lines = "2\n" + folders + writingLine(1, entries[1]) + page(entries, 0);
    EXPECT_EQ(session_->take(lines.size()), lines);
    const std::map<std::string, std::string> expected = {
        {"data", "<folder>"}, {"data/maps", "<folder>"}, {"data/maps/two.map", "two"}};
    EXPECT_EQ(tree(), expected);
    pressAndExpectTheEnd(kEscape, "");
}

TEST_F(Extraction, AnEmptyArchiveExtractsNothing) {
    start({});
    // Space prints nothing to wait for, so Escape goes with it in one write.
    pressAndExpectTheEnd(std::string(" ") + kEscape, "");
    EXPECT_TRUE(tree().empty());
}

TEST_F(Extraction, AStreamShorterThanItsSizeShowsItsRealLengthFromThenOn) {
    std::vector<fixture::Entry> entries = {{"notes.txt", "only these bytes", true}, {"other.txt", "x"}};
    entries[0].size = 100;
    start(entries);  // its row shows 100 bytes

    ASSERT_TRUE(session_->type(kEnter));
    const std::string prompt = "Which file number do you wish to extract? ";
    ASSERT_EQ(session_->take(prompt.size()), prompt);
    session_->send("1\r");
    const std::string lines = "1\n" + writingLine(0, entries[0]) + "1 notes.txt 16 bytes \n2 other.txt 1 bytes \n";
    EXPECT_EQ(session_->take(lines.size()), lines);
    EXPECT_EQ(fixture::readFile(pathOf("notes.txt")), "only these bytes");
    entries_[0].size.reset();

    // Extracting it again sizes its buffer by the new length, and still fits.
    press(" ", writingLine(0, entries[0]) + writingLine(1, entries[1]));
    EXPECT_EQ(fixture::readFile(pathOf("notes.txt")), "only these bytes");
    pressAndExpectTheEnd(kEscape, "");
}

// A failing entry ends the run during extract-all; what came before stays.
struct FailureCase {
    const char* name;
    std::vector<fixture::Entry> entries;
    // What the run prints after the page, given the program's view of the scratch folder.
    std::string (*lines)(const std::string& root);
    std::map<std::string, std::string> treeAfter;
    fixture::Layout layout = {};
    void (*prepare)(const std::filesystem::path& folder) = nullptr;
};

void PrintTo(const FailureCase& failure, std::ostream* out) {
    *out << failure.name;
}

fixture::Entry withOverrides(fixture::Entry entry, std::optional<std::uint32_t> offset,
                             std::optional<std::uint32_t> size, std::optional<std::uint32_t> packedSize = {},
                             std::optional<std::string> payload = {}) {
    entry.offset = offset;
    entry.size = size;
    entry.packedSize = packedSize;
    entry.payload = payload;
    return entry;
}

const std::string kLongText(5000, 'q');
const std::string kLongStream = fixture::compressZlib(kLongText);

class ExtractionFailures : public Extraction, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ExtractionFailures, PrintTheEntrysLinesThenTheErrorAndStopWithStatusZero) {
    const FailureCase& failure = GetParam();
    if (failure.prepare) failure.prepare(folder_);
    start(failure.entries, failure.layout);
    pressAndExpectTheEnd(" ", failure.lines(root()));
    EXPECT_EQ(tree(), failure.treeAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtractionFailures,
    ::testing::Values(
        FailureCase{
            "CorruptStreamLeavesAnEmptyFileAndLaterEntriesUnwritten",
            {{"first.txt", "one"},
             withOverrides({"broken.bin", "", true}, {}, 10, {}, "not a zlib stream at all"),
             {"later.txt", "three"}},
            [](const std::string&) {
                return std::string("Writing File #0 first.txt ...\n"
                                   "Writing Compressed File #1 broken.bin ...\n"
                                   "ERROR : Bad Compressed Data for File broken.bin\n");
            },
            {{"first.txt", "one"}, {"broken.bin", ""}}},
        FailureCase{
            "TruncatedStreamIsBadData",
            {withOverrides({"cut.bin", kLongText, true}, {}, {}, {}, kLongStream.substr(0, kLongStream.size() / 2))},
            [](const std::string&) {
                return std::string("Writing Compressed File #0 cut.bin ...\n"
                                   "ERROR : Bad Compressed Data for File cut.bin\n");
            },
            {{"cut.bin", ""}}},
        FailureCase{
            "StreamLongerThanItsSizeIsBadDataNotACutFile",
            {withOverrides({"big.txt", kLongText, true}, {}, 4999)},
            [](const std::string&) {
                return std::string("Writing Compressed File #0 big.txt ...\n"
                                   "ERROR : Bad Compressed Data for File big.txt\n");
            },
            {{"big.txt", ""}}},
        FailureCase{
            "StoredPayloadPastTheEndCreatesNoFile",
            {{"ok.txt", "fine"}, withOverrides({"far.bin", "data"}, 0xFFFFFF00u, {})},
            [](const std::string&) {
                return std::string("Writing File #0 ok.txt ...\n"
                                   "Writing File #1 far.bin ...\n"
                                   "ERROR : Missing Data for File far.bin\n");
            },
            {{"ok.txt", "fine"}, {"far.bin", "kept as it was"}},
            {},
            [](const std::filesystem::path& folder) { fixture::writeFile((folder / "far.bin").string(), "kept as it was"); }},
        FailureCase{
            // The payload ends the file, so one byte more is past its end.
            "StoredPayloadOneBytePastTheEnd",
            {withOverrides({"edge.bin", "12345"}, {}, 6)},
            [](const std::string&) {
                return std::string("Writing File #0 edge.bin ...\n"
                                   "ERROR : Missing Data for File edge.bin\n");
            },
            {},
            {.directoryFirst = true}},
        FailureCase{
            "CompressedPayloadPastTheEnd",
            {withOverrides({"far.z", kLongText, true}, {}, {}, 0x7FFFFFFFu)},
            [](const std::string&) {
                return std::string("Writing Compressed File #0 far.z ...\n"
                                   "ERROR : Missing Data for File far.z\n");
            },
            {}},
        FailureCase{
            "NameEndingWithABackslashMakesItsFoldersButNoFile",
            {{"docs\\", "text"}},
            [](const std::string& root) {
                return "Made the directory " + root + "/docs \n"
                       "Writing File #0 docs\\ ...\n"
                       "ERROR : Unable to Open Specified File docs\\\n";
            },
            {{"docs", "<folder>"}}},
        FailureCase{
            "FolderWhereTheFileShouldBe",
            {{"taken.txt", "text"}},
            [](const std::string&) {
                return std::string("Writing File #0 taken.txt ...\n"
                                   "ERROR : Unable to Open Specified File taken.txt\n");
            },
            {{"taken.txt", "<folder>"}},
            {},
            [](const std::filesystem::path& folder) { std::filesystem::create_directory(folder / "taken.txt"); }},
        FailureCase{
            // Nothing of the path may be made elsewhere, as in the archive's folder.
            "FileWhereAFolderShouldBe",
            {{"blocked\\inner\\x.txt", "text"}},
            [](const std::string&) {
                return std::string("Writing File #0 blocked\\inner\\x.txt ...\n"
                                   "ERROR : Unable to Open Specified File blocked\\inner\\x.txt\n");
            },
            {{"blocked", "a file"}},
            {},
            [](const std::filesystem::path& folder) { fixture::writeFile((folder / "blocked").string(), "a file"); }},
        FailureCase{
            // A pipe that nobody reads would hold the run for ever.
            "PipeWhereTheFileShouldBe",
            {{"pipe.bin", "text"}},
            [](const std::string&) {
                return std::string("Writing File #0 pipe.bin ...\n"
                                   "ERROR : Unable to Open Specified File pipe.bin\n");
            },
            {{"pipe.bin", "<other>"}},
            {},
            [](const std::filesystem::path& folder) { mkfifo((folder / "pipe.bin").c_str(), 0666); }},
        FailureCase{
            // A file small enough for any buffer: its one write and its close
            // are both checked, so the failure shows whichever reports it.
            "FullDiskForASmallFile",
            {{"ok.txt", "fine"}, {"full.bin", "a little data"}, {"later.txt", "never"}},
            [](const std::string&) {
                return std::string("Writing File #0 ok.txt ...\n"
                                   "Writing File #1 full.bin ...\n"
                                   "ERROR : Unable to Write File full.bin\n");
            },
            {{"ok.txt", "fine"}, {"full.bin", "<link>"}},
            {},
            [](const std::filesystem::path& folder) { std::filesystem::create_symlink("/dev/full", folder / "full.bin"); }},
        FailureCase{
            "FullDiskAtTheWrite",
            {{"full.bin", std::string(1 << 20, 'w'), true}},
            [](const std::string&) {
                return std::string("Writing Compressed File #0 full.bin ...\n"
                                   "ERROR : Unable to Write File full.bin\n");
            },
            {{"full.bin", "<link>"}},
            {},
            [](const std::filesystem::path& folder) { std::filesystem::create_symlink("/dev/full", folder / "full.bin"); }}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST_F(Extraction, NamesLeadingOutsideAreRefusedBeforeAnythingIsMade) {
    const std::string hostile[] = {"\\evil.txt",    "/tmp/evil.txt",       "C:evil.txt",    "..\\evil.txt",
                                   "../evil.txt",   "sub\\..\\..\\evil.txt", "sub/../../evil", "sub\\\\evil.txt",
                                   ".\\evil.txt",   "sub\\C:evil.txt"};
    for (const std::string& name : hostile) {
        SCOPED_TRACE(name);
        std::filesystem::remove_all(folder_ / "ok.txt");
        start({{"ok.txt", "fine"}, {name, "payload"}, {"later.txt", "never"}});
        pressAndExpectTheEnd(" ", "Writing File #0 ok.txt ...\nERROR : Unsafe File Name " + name + "\n");
        const std::map<std::string, std::string> expected = {{"ok.txt", "fine"}};
        EXPECT_EQ(tree(), expected);
    }
    EXPECT_FALSE(std::filesystem::exists(folder_.parent_path() / "evil.txt"));
}

TEST_F(Extraction, TheArchiveItselfIsNeverWritten) {
    const struct {
        const char* name;
        void (*prepare)(const std::filesystem::path& folder);
    } cases[] = {
        {"test.dat", nullptr},
        {"link.dat", [](const std::filesystem::path& folder) {
             std::filesystem::create_symlink(folder / "test.dat", folder / "link.dat");
         }},
        {"hard.dat", [](const std::filesystem::path& folder) {
             std::filesystem::create_hard_link(folder / "test.dat", folder / "hard.dat");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        const std::vector<fixture::Entry> entries = {{"ok.txt", "fine"}, {c.name, "overwritten"}, {"later.txt", "x"}};
        const std::string archive = fixture::buildArchive(entries);
        fixture::writeFile(pathOf("test.dat"), archive);
        if (c.prepare) c.prepare(folder_);
        startOnWrittenArchive(entries, inFolder());
        pressAndExpectTheEnd(" ", "Writing File #0 ok.txt ...\nWriting File #1 " + std::string(c.name) +
                                      " ...\nERROR : Unable to Open Specified File " + c.name + "\n");
        EXPECT_EQ(fixture::readFile(pathOf("test.dat")), archive);
    }
}

TEST_F(Extraction, ASizeBeyondTheMemoryAtHandIsNotEnoughMemory) {
    std::vector<fixture::Entry> entries = {{"first.txt", "ok"}, {"huge.bin", "tiny", true}, {"later.txt", "x"}};
    entries[1].size = 0xF0000000u;
    writeArchive(entries);
    startOnWrittenArchive(entries, inFolderWithLittleMemory());
    pressAndExpectTheEnd(" ", "Writing File #0 first.txt ...\n"
                              "Writing Compressed File #1 huge.bin ...\n"
                              "ERROR : Not Enough Memory for File huge.bin\n");
    const std::map<std::string, std::string> expected = {{"first.txt", "ok"}, {"huge.bin", ""}};
    EXPECT_EQ(tree(), expected);
}

TEST_F(Extraction, AFileSizeLimitIsAFullDiskNotAnEnd) {
    const std::vector<fixture::Entry> entries = {
        {"small.txt", "fits"}, {"large.bin", std::string(64 * 1024, 'L'), true}, {"later.txt", "never"}};
    writeArchive(entries);
    SessionOptions options = inFolder();
    options.fileSizeLimit = 16 * 1024;
    startOnWrittenArchive(entries, options);
    pressAndExpectTheEnd(" ", "Writing File #0 small.txt ...\n"
                              "Writing Compressed File #1 large.bin ...\n"
                              "ERROR : Unable to Write File large.bin\n");
    EXPECT_EQ(fixture::readFile(pathOf("small.txt")), "fits");
    EXPECT_FALSE(std::filesystem::exists(pathOf("later.txt")));
}

TEST_F(Extraction, ANameWithoutItsEndIsTakenAsItsWholeField) {
    const std::string longName = "long\\" + std::string(123, 'n');  // 128 bytes, no NUL
    start({{longName, "content"}});
    press(" ", madeLine("long") + "Writing File #0 " + longName + " ...\n");
    EXPECT_EQ(fixture::readFile(pathOf("long/" + std::string(123, 'n'))), "content");
    pressAndExpectTheEnd(kEscape, "");
}

// The folder paths of this test come close to the 512 bytes of the text buffers.
class LongPaths : public Extraction {
protected:
    // A folder below the scratch folder whose absolute path has `length` characters.
    std::filesystem::path deepFolder(std::size_t length) {
        std::filesystem::path deep = std::filesystem::canonical(folder_);
        while (deep.string().size() + 1 + 100 < length) deep /= std::string(100, 'd');
        deep /= std::string(length - deep.string().size() - 1, 'e');
        std::filesystem::create_directories(deep);
        return deep;
    }
};

TEST_F(LongPaths, AFolderPathThatWouldNotFitMakesTheFileUnopenable) {
    const std::filesystem::path deep = deepFolder(430);
    const std::string first(60, 'f');
    const std::string second(60, 'g');
    const std::string name = first + "\\" + second + "\\x.txt";
    fixture::writeFile((deep / "test.dat").string(), fixture::buildArchive({{"fits.txt", "yes"}, {name, "no"}}));
    TerminalSession session({(deep / "test.dat").string()}, inFolder());
    const std::string opening = kBanner + loadingLine((deep / "test.dat").string()) + "1 fits.txt 3 bytes \n2 " +
                                name + " 2 bytes \n";
    ASSERT_EQ(session.take(opening.size()), opening);
    ASSERT_TRUE(session.type(" "));
    // 430 + 61 characters fit the 511 of the buffer; another 61 do not.
    EXPECT_EQ(session.takeRest(), "Writing File #0 fits.txt ...\n"
                                  "Made the directory " + (deep / first).string() + " \n"
                                  "Writing File #1 " + name + " ...\n"
                                  "ERROR : Unable to Open Specified File " + name + "\n");
    EXPECT_EQ(fixture::readFile((deep / "fits.txt").string()), "yes");
    EXPECT_FALSE(std::filesystem::exists(deep / first / second));
    EXPECT_EQ(session.finish().status, 0);
}

TEST_F(LongPaths, AnArchiveFolderTooLongToHoldWritesNothing) {
    // The relative path fits its buffer; the absolute folder does not.
    const std::filesystem::path deep = deepFolder(520);
    fixture::writeFile((deep / "test.dat").string(), fixture::buildArchive({{"a.txt", "text"}}));
    TerminalSession session({"test.dat"}, SessionOptions{.workFolder = deep.string()});
    const std::string opening = kBanner + loadingLine("test.dat") + "1 a.txt 4 bytes \n";
    ASSERT_EQ(session.take(opening.size()), opening);
    ASSERT_TRUE(session.type(" "));
    EXPECT_EQ(session.takeRest(), "Writing File #0 a.txt ...\nERROR : Unable to Open Specified File a.txt\n");
    EXPECT_FALSE(std::filesystem::exists(deep / "a.txt"));
    EXPECT_EQ(session.finish().status, 0);
}

}  // namespace
}  // namespace e2e

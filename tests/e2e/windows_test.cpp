// The Windows program (kdat-extract.exe) as a user drives it, run under wine
// on this host. wine's console reads the keys from the terminal and hands
// them to _getch; standard output goes through a pipe, so the text read back
// is the program's own, without the console's control sequences.
//
// wine passes a key to the program only when it arrives in one write, and
// Escape only as two Escapes in one write.
#include <cstdlib>
#include <filesystem>

#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

constexpr char kWineEscape[] = "\x1b\x1b";
constexpr char kWine[] = "/usr/bin/wine";

std::string windowsProgram() {
    const char* path = std::getenv("KDAT_WINDOWS_EXE");
    return path ? path : "";
}

// The folder that holds wine's drive letters.
std::filesystem::path driveLetters() {
    const char* prefix = std::getenv("WINEPREFIX");
    const std::filesystem::path home = std::getenv("HOME") ? std::getenv("HOME") : "/root";
    return (prefix ? std::filesystem::path(prefix) : home / ".wine") / "dosdevices";
}

std::string backslashed(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

class WindowsProgram : public ExtractorTest {
protected:
    void SetUp() override {
        ExtractorTest::SetUp();
        ASSERT_FALSE(windowsProgram().empty()) << "KDAT_WINDOWS_EXE names no program";
    }

    // wine's drive Z: is the host's root folder.
    std::string windowsRoot() const { return "Z:" + backslashed(root()); }
    std::string windowsPath(const std::string& name) const { return windowsRoot() + "\\" + name; }
    std::string windowsMadeLine(const std::string& folder) const {
        return "Made the directory " + windowsRoot() + "\\" + folder + " \n";
    }

    std::unique_ptr<TerminalSession> run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), windowsProgram());
        SessionOptions options = inFolder();
        options.binary = kWine;
        options.outputThroughPipe = true;
        options.patience = std::chrono::seconds(30);  // wine takes seconds to start
        options.environment = {"WINEDEBUG=-all"};
        if (const char* prefix = std::getenv("WINEPREFIX")) options.environment.push_back(std::string("WINEPREFIX=") + prefix);
        return std::make_unique<TerminalSession>(arguments, options);
    }

    // Starts on the archive at `path` (as given) and reads up to the first page.
    std::unique_ptr<TerminalSession> start(const std::string& path, const std::vector<fixture::Entry>& entries) {
        auto session = run({path});
        const std::string opening = kBanner + loadingLine(path) + page(entries, 0);
        EXPECT_EQ(session->take(opening.size()), opening);
        return session;
    }

    static void expectAfterKey(TerminalSession& session, const std::string& key, const std::string& text) {
        ASSERT_TRUE(session.type(key));
        EXPECT_EQ(session.take(text.size()), text);
    }
};

// Nested folders, stored and compressed payloads, binary bytes, an empty file.
std::vector<fixture::Entry> nestedEntries() {
    return {{"readme.txt", std::string("line\r\nnext\n\0\x1a\xff end", 17)},
            {"models\\props\\crate.bin", std::string(3000, 'c'), true},
            {"models\\hero.mdl", "hero"},
            {"sounds\\empty.wav", "", true}};
}

std::map<std::string, std::string> nestedTree() {
    return {{"readme.txt", std::string("line\r\nnext\n\0\x1a\xff end", 17)},
            {"models", "<folder>"},
            {"models/props", "<folder>"},
            {"models/props/crate.bin", std::string(3000, 'c')},
            {"models/hero.mdl", "hero"},
            {"sounds", "<folder>"},
            {"sounds/empty.wav", ""}};
}

TEST_F(WindowsProgram, PagesWithTheArrowKeysAndTheLettersAndEndsOnEscape) {
    const std::vector<fixture::Entry> entries = numberedEntries(45);
    writeArchive(entries);
    auto session = start(windowsPath("test.dat"), entries);
    // An arrow arrives as the lead code 224, which prints the page again, then its own code.
    expectAfterKey(*session, kDown, page(entries, 0) + page(entries, 20));
    expectAfterKey(*session, "P", page(entries, 40));
    expectAfterKey(*session, "P", page(entries, 25));
    expectAfterKey(*session, "H", page(entries, 5));
    expectAfterKey(*session, kUp, page(entries, 5) + page(entries, 0));
    expectAfterKey(*session, "p", page(entries, 0));
    typeAndExpectTheEnd(*session, kWineEscape, "");
}

TEST_F(WindowsProgram, ArchivesThatCannotBeLoadedAreReported) {
    fixture::writeFile(pathOf("short.dat"), "KDAT");
    fixture::writeFile(pathOf("foreign.dat"), fixture::buildArchive({{"a.txt", "a"}}, {.magic = "ZDAT"}));
    const struct {
        std::string name;
        std::string error;
    } cases[] = {{"missing.dat", "ERROR : Unable to Open Specified File "},
                 {"short.dat", "ERROR : File "},
                 {"foreign.dat", "ERROR : File "}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = windowsPath(c.name);
        const std::string error = c.error == "ERROR : File " ? c.error + path + " is not a DAT file\n" : c.error + path + "\n";
        auto session = run({path});
        EXPECT_EQ(session->takeRest(), kBanner + loadingLine(path) + error);
        EXPECT_EQ(session->finish().status, 0);
    }
}

TEST_F(WindowsProgram, WithoutAnArgumentAFailedDialogEndsTheRunAfterTheBanner) {
    // wine here has no display, so the open-file dialog cannot be shown.
    auto session = run({});
    EXPECT_EQ(session->takeRest(), kBanner);
    const Ending ending = session->finish();
    EXPECT_TRUE(ending.exited);
    EXPECT_EQ(ending.status, 0);
}

TEST_F(WindowsProgram, SpaceWritesEveryEntryBeneathTheArchivesDriveAndFolder) {
    const std::vector<fixture::Entry> entries = nestedEntries();
    writeArchive(entries);
    auto session = start(windowsPath("test.dat"), entries);
    expectAfterKey(*session, " ",
                   writingLine(0, entries[0]) + windowsMadeLine("models") + windowsMadeLine("models\\props") +
                       writingLine(1, entries[1]) + writingLine(2, entries[2]) + windowsMadeLine("sounds") +
                       writingLine(3, entries[3]) + page(entries, 0));
    EXPECT_EQ(tree(), nestedTree());
    typeAndExpectTheEnd(*session, kWineEscape, "");
}

// However the path is written, the folders are made beside the archive and
// shown with the full path from the drive letter on.
TEST_F(WindowsProgram, RelativeAndUnusualPathsAreMadeFullFirst) {
    const std::vector<fixture::Entry> entries = {{"sub\\file.txt", "text"}};
    writeArchive(entries);
    const std::string paths[] = {"test.dat", "z" + windowsRoot().substr(1) + "\\test.dat",
                                 "Z:" + root() + "/test.dat", windowsRoot() + "\\sub\\..\\test.dat"};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        std::filesystem::remove_all(folder_ / "sub");
        auto session = start(path, entries);
        expectAfterKey(*session, " ", windowsMadeLine("sub") + writingLine(0, entries[0]) + page(entries, 0));
        typeAndExpectTheEnd(*session, kWineEscape, "");
        const std::map<std::string, std::string> expected = {{"sub", "<folder>"}, {"sub/file.txt", "text"}};
        EXPECT_EQ(tree(), expected);
    }
}

TEST_F(WindowsProgram, AnArchiveInTheRootOfADriveWritesIntoThatRoot) {
    // A drive letter of its own for this folder, so the archive is at its root.
    const std::filesystem::path drive = driveLetters() / "k:";
    std::filesystem::remove(drive);
    std::filesystem::create_directory_symlink(folder_, drive);
    const std::vector<fixture::Entry> entries = nestedEntries();
    writeArchive(entries);
    auto session = start("K:\\test.dat", entries);
    expectAfterKey(*session, " ",
                   writingLine(0, entries[0]) + "Made the directory K:\\models \n" +
                       "Made the directory K:\\models\\props \n" + writingLine(1, entries[1]) +
                       writingLine(2, entries[2]) + "Made the directory K:\\sounds \n" +
                       writingLine(3, entries[3]) + page(entries, 0));
    typeAndExpectTheEnd(*session, kWineEscape, "");
    std::filesystem::remove(drive);
    EXPECT_EQ(tree(), nestedTree());
}

TEST_F(WindowsProgram, EnterAsksForANumberAndExtractsThatEntry) {
    const std::vector<fixture::Entry> entries = nestedEntries();
    writeArchive(entries);
    auto session = start(windowsPath("test.dat"), entries);
    expectAfterKey(*session, kEnter, "Which file number do you wish to extract? ");
    // The answer is a line of standard input, typed into the console.
    session->send("3\r");
    const std::string extracted = windowsMadeLine("models") + writingLine(2, entries[2]) + page(entries, 0);
    EXPECT_EQ(session->take(extracted.size()), extracted);
    expectAfterKey(*session, kEnter, "Which file number do you wish to extract? ");
    session->send("0x5\r");
    const std::string refused = "Illegal File Number\n" + page(entries, 0);
    EXPECT_EQ(session->take(refused.size()), refused);
    typeAndExpectTheEnd(*session, kWineEscape, "");
    const std::map<std::string, std::string> expected = {{"models", "<folder>"}, {"models/hero.mdl", "hero"}};
    EXPECT_EQ(tree(), expected);
}

TEST_F(WindowsProgram, FailuresEndTheRunAfterTheirLine) {
    std::vector<fixture::Entry> corrupt = {{"first.txt", "one"}, {"broken.bin", "", true}};
    corrupt[1].size = 10;
    corrupt[1].payload = "not a zlib stream at all";
    std::vector<fixture::Entry> beyondTheEnd = {{"far.bin", "data"}};
    beyondTheEnd[0].offset = 0xFFFFFF00u;
    const struct {
        std::string name;
        std::vector<fixture::Entry> entries;
        std::string lines;
        std::map<std::string, std::string> treeAfter;
    } cases[] = {
        {"corrupt stream", corrupt,
         "Writing File #0 first.txt ...\nWriting Compressed File #1 broken.bin ...\n"
         "ERROR : Bad Compressed Data for File broken.bin\n",
         {{"first.txt", "one"}, {"broken.bin", ""}}},
        {"payload past the end", beyondTheEnd, "Writing File #0 far.bin ...\nERROR : Missing Data for File far.bin\n", {}},
        {"name leading outside", {{"..\\evil.txt", "x"}}, "ERROR : Unsafe File Name ..\\evil.txt\n", {}},
        {"name with a drive", {{"sub\\C:evil.txt", "x"}}, "ERROR : Unsafe File Name sub\\C:evil.txt\n", {}},
        {"the archive itself", {{"TEST.DAT", "overwritten"}},
         "Writing File #0 TEST.DAT ...\nERROR : Unable to Open Specified File TEST.DAT\n", {}},
        {"a device name", {{"CON", "to the console"}},
         "Writing File #0 CON ...\nERROR : Unable to Open Specified File CON\n", {}},
        {"a device name in a folder", {{"sub\\nul.txt", "to nowhere"}},
         windowsMadeLine("sub") + "Writing File #0 sub\\nul.txt ...\nERROR : Unable to Open Specified File sub\\nul.txt\n",
         {{"sub", "<folder>"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        const std::string archive = fixture::buildArchive(c.entries);
        fixture::writeFile(pathOf("test.dat"), archive);
        auto session = start(windowsPath("test.dat"), c.entries);
        typeAndExpectTheEnd(*session, " ", c.lines);
        EXPECT_EQ(tree(), c.treeAfter);
        EXPECT_EQ(fixture::readFile(pathOf("test.dat")), archive);
    }
    EXPECT_FALSE(std::filesystem::exists(folder_.parent_path() / "evil.txt"));
}

}  // namespace
}  // namespace e2e

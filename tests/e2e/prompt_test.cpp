// Enter and the file-number prompt: the answer is typed on the prompt's line
// with the terminal's echo, or comes from a redirected standard input.
#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

const std::string kPrompt = "Which file number do you wish to extract? ";
const std::string kIllegal = "Illegal File Number\n";

// One press of Enter: what is typed at the prompt (nothing when the answer
// is already pending or the input has failed), how the terminal echoes it,
// and the number of the entry extracted, 0 for an illegal answer.
struct Answer {
    std::string typed;
    std::string echo;
    int extracted;
};

class Prompt : public ExtractorTest {
protected:
    void start(const SessionOptions& options) {
        entries_ = numberedEntries(20);
        session_ = std::make_unique<TerminalSession>(std::vector<std::string>{writeArchive(entries_)}, options);
        const std::string opening = kBanner + loadingLine("test.dat") + page(entries_, 0);
        ASSERT_EQ(session_->take(opening.size()), opening);
    }
    // What extracting the entry listed as `number` prints; the folder is made once.
    std::string extractionLines(int number) {
        std::string lines = folderMade_ ? "" : madeLine("folder");
        folderMade_ = true;
        return lines + writingLine(number - 1, entries_[number - 1]);
    }
    void pressEnter(const Answer& answer) {
        ASSERT_TRUE(session_->type(kEnter));
        ASSERT_EQ(session_->take(kPrompt.size()), kPrompt);
        if (!answer.typed.empty()) session_->send(answer.typed);
        const std::string expected = answer.echo +
                                     (answer.extracted == 0 ? kIllegal : extractionLines(answer.extracted)) +
                                     page(entries_, 0);
        EXPECT_EQ(session_->take(expected.size()), expected) << "typed: " << answer.typed;
        if (answer.extracted != 0) {
            const fixture::Entry& entry = entries_[answer.extracted - 1];
            EXPECT_EQ(fixture::readFile(pathOf("folder/" + entry.name.substr(7))), entry.content);
        }
    }
    void escapeAndExpectTheEnd() { typeAndExpectTheEnd(*session_, kEscape, ""); }

    std::vector<fixture::Entry> entries_;
    std::unique_ptr<TerminalSession> session_;
    bool folderMade_ = false;
};

TEST_F(Prompt, AnswersAsTyped) {
    const struct {
        const char* name;
        std::vector<Answer> answers;
    } cases[] = {
        {"the first entry is announced as #0", {{"1\r", "1\n", 1}}},
        {"the last entry", {{"20\r", "20\n", 20}}},
        {"0 is illegal and the input stays good", {{"0\r", "0\n", 0}, {"2\r", "2\n", 2}}},
        {"-1 is illegal", {{"-1\r", "-1\n", 0}}},
        {"one past the last is illegal", {{"21\r", "21\n", 0}}},
        {"010 is octal", {{"010\r", "010\n", 8}}},
        {"0x10 is hexadecimal", {{"0x10\r", "0x10\n", 16}}},
        {"08 is 0, and its 8 is the next answer", {{"08\r", "08\n", 0}, {"", "", 8}}},
        {"3 4 answers two prompts", {{"3 4\r", "3 4\n", 3}, {"", "", 4}}},
        {"12abc extracts 12, then the input has failed for good",
         {{"12abc\r", "12abc\n", 12}, {"", "", 0}, {"", "", 0}}},
        {"abc fails the input for good", {{"abc\r", "abc\n", 0}, {"", "", 0}}},
        {"beyond 32 bits is illegal, and the input stays good",
         {{"4294967297\r", "4294967297\n", 0}, {"5\r", "5\n", 5}}},
        {"empty lines do not answer", {{"\r\r  7\r", "\n\n  7\n", 7}}},
        {"sixteen digits: the last one answers the next prompt",
         {{"1000000000000006\r", "1000000000000006\n", 0}, {"", "", 6}}},
        {"the end-of-file key fails the input for good", {{"\x04", "", 0}, {"", "", 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder_ / "folder");
        folderMade_ = false;
        start(inFolder());
        for (const Answer& answer : c.answers) pressEnter(answer);
        escapeAndExpectTheEnd();
    }
}

TEST_F(Prompt, AfterTheInputFailedSpaceStillExtractsEverything) {
    start(inFolder());
    pressEnter({"x\r", "x\n", 0});
    std::string all;
    for (int number = 1; number <= 20; ++number) all += extractionLines(number);
    ASSERT_TRUE(session_->type(" "));
    EXPECT_EQ(session_->take(all.size() + page(entries_, 0).size()), all + page(entries_, 0));
    pressEnter({"", "", 0});
    escapeAndExpectTheEnd();
}

TEST_F(Prompt, AnAnswerTypedAheadWithEnterIsTheAnswer) {
    start(inFolder());
    // Typed while the key was awaited, so the terminal does not echo it.
    ASSERT_TRUE(session_->type("\r7\r"));
    const std::string expected = kPrompt + extractionLines(7) + page(entries_, 0);
    EXPECT_EQ(session_->take(expected.size()), expected);
    pressEnter({"8\r", "8\n", 8});
    escapeAndExpectTheEnd();
}

TEST_F(Prompt, ARedirectedInputAnswersWhileKeysComeFromTheTerminal) {
    const struct {
        const char* name;
        std::string content;
        std::vector<int> extracted;  // per Enter, 0 for illegal
    } cases[] = {
        {"lines, blanks and then no number", "2\n  0x3\n\nabc\n", {2, 3, 0, 0}},
        {"a number ended by the end of the file counts", "5", {5, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder_ / "folder");
        folderMade_ = false;
        fixture::writeFile(pathOf("answers.txt"), c.content);
        SessionOptions options = inFolder();
        options.standardInput = pathOf("answers.txt");
        start(options);
        // Nothing is typed, so nothing is echoed: each answer follows its prompt on the same line.
        for (const int number : c.extracted) pressEnter({"", "", number});
        escapeAndExpectTheEnd();
    }
}

TEST_F(Prompt, AnEmptyArchiveTakesNoNumber) {
    const std::vector<fixture::Entry> none;
    TerminalSession session({writeArchive(none)}, inFolder());
    const std::string opening = kBanner + loadingLine("test.dat");
    ASSERT_EQ(session.take(opening.size()), opening);
    for (const std::string answer : {"1\r", "0\r"}) {
        ASSERT_TRUE(session.type(kEnter));
        ASSERT_EQ(session.take(kPrompt.size()), kPrompt);
        session.send(answer);
        const std::string expected = answer.substr(0, 1) + "\n" + kIllegal;
        EXPECT_EQ(session.take(expected.size()), expected);
    }
    ASSERT_TRUE(session.type(kEscape));
    EXPECT_EQ(session.takeRest(), "");
    EXPECT_EQ(session.finish().status, 0);
}

}  // namespace
}  // namespace e2e

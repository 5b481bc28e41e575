#include "platform/number_reader.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

// A stdio stream holding `text`, as standard input redirected from a file.
std::FILE* streamOf(const std::string& text) {
    std::FILE* stream = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), stream);
    std::rewind(stream);
    return stream;
}

std::string restOf(std::FILE* stream) {
    std::string rest;
    for (int character = std::getc(stream); character != EOF; character = std::getc(stream))
        rest.push_back(static_cast<char>(character));
    return rest;
}

constexpr std::optional<std::int32_t> kNone = std::nullopt;

TEST(NumberReader, ReadsAnswersAsTheNumberSyntaxSays) {
    const struct {
        const char* name;
        std::string typed;
        std::vector<std::optional<std::int32_t>> reads;  // one per prompt
        // Left in the stream after the reads. After a failed read nothing is
        // ever read again, so what it took is not looked at (nullopt).
        std::optional<std::string> rest;
        bool failed;
    } cases[] = {
        {"decimal", "5\n", {5}, "\n", false},
        {"white space and empty lines first", " \n\t\n  12\n", {12}, "\n", false},
        {"plus sign", "+7\n", {7}, "\n", false},
        {"minus sign", "-1\n", {-1}, "\n", false},
        {"octal", "010\n", {8}, "\n", false},
        {"hexadecimal", "0x10\n", {16}, "\n", false},
        {"hexadecimal, capital X and digits", "0X1F\n", {31}, "\n", false},
        {"negative hexadecimal", "-0x10\n", {-16}, "\n", false},
        {"zero", "0\n", {0}, "\n", false},
        {"8 ends an octal number and is the next answer", "08\n", {0, 8}, "\n", false},
        {"two numbers on one line", "3 4\n", {3, 4}, "\n", false},
        {"letters after a number fail the next read", "12abc\n", {12, kNone, kNone}, "abc\n", true},
        {"letters fail at once and stay", "abc\n", {kNone, kNone}, "abc\n", true},
        {"a sign without digits", "- 5\n", {kNone, kNone}, std::nullopt, true},
        {"0x without a hexadecimal digit", "0xg\n", {kNone}, std::nullopt, true},
        {"largest", "2147483647\n", {INT_MAX}, "\n", false},
        {"smallest", "-2147483648\n", {INT_MIN}, "\n", false},
        {"beyond 32 bits is clamped, and the input stays good", "4294967297\n5\n", {INT_MAX, 5}, "\n", false},
        {"far below is clamped", "-99999999999\n", {INT_MIN}, "\n", false},
        {"sixteenth digit is the next answer", "1234567890123456\n", {INT_MAX, 6}, "\n", false},
        {"the prefix counts in the 15", "0x0000000000001f\n", {1, kNone}, "f\n", true},
        {"the sign counts in the 15", "+0000000000001234\n", {10, 34}, "\n", false},  // octal 12
        {"the end of the input ends a number and fails the next read", "7", {7, kNone}, "", true},
        {"nothing but the end of the input", " \n", {kNone}, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::FILE* stream = streamOf(c.typed);
        platform::NumberInput input{stream};
        std::vector<std::optional<std::int32_t>> reads;
        for (std::size_t i = 0; i < c.reads.size(); ++i) reads.push_back(platform::readNumber(input));
        EXPECT_EQ(reads, c.reads);
        EXPECT_EQ(input.failed, c.failed);
        if (c.rest) {
            EXPECT_EQ(restOf(stream), *c.rest);
        }
        std::fclose(stream);
    }
}

TEST(NumberReader, AFailedInputTakesNothingMore) {
    std::FILE* stream = streamOf("x\n42\n");
    platform::NumberInput input{stream};
    EXPECT_EQ(platform::readNumber(input), kNone);
    EXPECT_EQ(platform::readNumber(input), kNone);
    EXPECT_EQ(platform::readNumber(input), kNone);
    EXPECT_EQ(restOf(stream), "x\n42\n");
    std::fclose(stream);
}

}  // namespace

#include "extraction/output_folders.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace {

const std::string kSeparator(1, platform::kFolderSeparator);

TEST(AppendFolder, AddsOneSeparatorAndTheFolder) {
    const struct {
        std::string path;
        std::string folder;
        std::string expected;
    } cases[] = {
        {"base", "models", "base" + kSeparator + "models"},
        {"base" + kSeparator, "models", "base" + kSeparator + "models"},  // the root ends with one
        {"", "x", kSeparator + "x"},
        {"base", "a/b", "base" + kSeparator + "a/b"},  // a '/' inside a component is not a separator here
    };
    for (const auto& c : cases) {
        char path[64] = {};
        c.path.copy(path, c.path.size());
        EXPECT_TRUE(appendFolder(path, sizeof path, c.folder)) << c.path;
        EXPECT_EQ(std::string(path), c.expected) << c.path;
    }
}

TEST(AppendFolder, RefusesWhatWouldNotFitAndLeavesThePath) {
    // 10 bytes hold 9 characters and the NUL.
    char path[10] = "base";
    EXPECT_TRUE(appendFolder(path, sizeof path, "abcd"));  // base + separator + abcd: 9
    EXPECT_EQ(std::string(path), "base" + kSeparator + "abcd");

    char full[10] = "base";
    EXPECT_FALSE(appendFolder(full, sizeof full, "abcde"));  // 10 characters
    EXPECT_EQ(std::string(full), "base");

    char unterminated[4] = {'a', 'b', 'c', 'd'};
    EXPECT_FALSE(appendFolder(unterminated, sizeof unterminated, "x"));
    EXPECT_EQ(std::string(unterminated, 4), "abcd");
}

}  // namespace

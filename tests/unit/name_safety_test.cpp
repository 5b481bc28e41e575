#include "extraction/name_safety.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(NameSafety, NamesThatStayInsideTheArchiveFolderPass) {
    for (const std::string name : {"readme.txt", "models\\props\\crate.bin", "a\\b.bin", "a/b.bin",
                                   "sounds\\", "x", "..name", "name..", "a\\.x.\\b", ".hidden\\x", " \\x", "a b\\c",
                                   "dir.\\file", "notes:2.txt", "1:x", ""}) {
        EXPECT_TRUE(isSafeEntryName(name)) << name;
    }
}

TEST(NameSafety, NamesThatLeadOutsideAreRefused) {
    for (const std::string name : {"\\evil.txt", "/etc/evil", "C:evil.txt", "c:\\evil.txt", "z:",
                                   "a\\C:evil.txt", "a/d:evil", "..", "..\\evil.txt", "../evil.txt",
                                   "a\\..\\..\\evil.txt", "a/../../evil.txt", "a\\..", ".", ".\\x.txt",
                                   "a\\.\\b.txt", "...", "a\\...\\b", ".. \\x", "a\\. .\\x", " ..",
                                   "a\\\\b.txt", "a//b.txt", "a\\/b.txt", "a\\\\", "\\"}) {
        EXPECT_FALSE(isSafeEntryName(name)) << name;
    }
}

TEST(NameSafety, OnlyTheNameBeforeItsEndIsJudged) {
    const char field[] = {'o', 'k', '\0', '.', '.', '\\', 'x'};
    EXPECT_TRUE(isSafeEntryName(std::string_view(field, 2)));
    EXPECT_FALSE(isSafeEntryName(std::string_view(field + 3, 4)));
}

}  // namespace

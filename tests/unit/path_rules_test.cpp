#include "platform/path_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowsArchiveFolder, CutsAtTheLastBackslashOnly) {
    const struct {
        const char* path;
        const char* folder;
    } cases[] = {
        {"D:\\Archives\\sounds.dat", "D:\\Archives"},
        {"C:\\sounds.dat", "C:"},
        {"sounds.dat", "sounds.dat"},
        {"\\sounds.dat", "\\sounds.dat"},
        {"D:/Archives/sounds.dat", "D:/Archives/sounds.dat"},
        {"D:\\Games\\Data\\models\\x.dat", "D:\\Games\\Data\\models"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::windowsArchiveFolder(c.path), c.folder) << c.path;
}

TEST(PosixArchiveFolder, CutsAtTheLastSlashAndKeepsTheRoot) {
    const struct {
        const char* path;
        const char* folder;
    } cases[] = {
        {"/home/user/archives/sounds.dat", "/home/user/archives"},
        {"/sounds.dat", "/"},
        {"/home/user/back\\slash.dat", "/home/user"},
        {"/home/a\\b\\c.dat", "/home"},
        {"/data/dir/", "/data/dir"},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::posixArchiveFolder(c.path), c.folder) << c.path;
}

TEST(PosixAbsolutePath, ResolvesRelativePathsAgainstTheCurrentFolder) {
    EXPECT_EQ(platform::posixAbsolutePath("/home/user", "sounds.dat"), "/home/user/sounds.dat");
    EXPECT_EQ(platform::posixAbsolutePath("/home/user", "sub/sounds.dat"), "/home/user/sub/sounds.dat");
    EXPECT_EQ(platform::posixAbsolutePath("/", "sounds.dat"), "/sounds.dat");
    EXPECT_EQ(platform::posixAbsolutePath("/home/user", "/srv/sounds.dat"), "/srv/sounds.dat");
    EXPECT_EQ(platform::posixArchiveFolder(platform::posixAbsolutePath("/", "sounds.dat")), "/");
}

}  // namespace

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "archive/text_buffer.h"
#include "platform/platform.h"

namespace {

std::string folderOf(const std::string& archivePath) {
    TextBuffer folder;
    platform::findArchiveFolder(archivePath.c_str(), folder, sizeof folder);
    return folder;
}

TEST(FindArchiveFolder, IsAbsoluteWhateverTheArgument) {
    const std::string current = std::filesystem::current_path().string();
    EXPECT_EQ(folderOf("sounds.dat"), current);
    EXPECT_EQ(folderOf("data/sounds.dat"), current + "/data");
    EXPECT_EQ(folderOf("/srv/games/sounds.dat"), "/srv/games");
    EXPECT_EQ(folderOf("/sounds.dat"), "/");
    EXPECT_EQ(folderOf("/srv/back\\slash.dat"), "/srv");
}

TEST(FindArchiveFolder, IsEmptyWhenItDoesNotFitTheBuffer) {
    EXPECT_EQ(folderOf("/" + std::string(511, 'd') + "/sounds.dat"), "");
    EXPECT_EQ(folderOf("/" + std::string(510, 'd') + "/sounds.dat"), "/" + std::string(510, 'd'));
}

}  // namespace

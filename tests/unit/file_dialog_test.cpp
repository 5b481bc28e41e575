#include "platform/file_dialog.h"

#include <gtest/gtest.h>

#include "console/start_up.h"

namespace {

TEST(FileDialog, TheArchiveFilterHoldsTwoPairsWithDatFilesFirst) {
    const std::vector<platform::FileFilter> filters = platform::parseFilterBlock(kDialogFilter);
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].label, "Korvelin DAT Files (*.dat)");
    EXPECT_EQ(filters[0].pattern, "*.dat");
    EXPECT_EQ(filters[1].label, "All Files<bad idea>(*.*)");
    EXPECT_EQ(filters[1].pattern, "*.*");
}

TEST(FileDialog, FilterBlockParsingStopsAtTheEmptyString) {
    EXPECT_TRUE(platform::parseFilterBlock("\0").empty());
    EXPECT_EQ(platform::parseFilterBlock("Text\0*.txt\0\0Hidden\0*.x\0").size(), 1u);
    EXPECT_TRUE(platform::parseFilterBlock("Unpaired\0\0").empty());
}

}  // namespace

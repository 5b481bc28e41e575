#include "console/listing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "archive/archive_state.h"

namespace {

TEST(PageArithmetic, KeySequencesMoveTheFirstRowAsDocumented) {
    const struct {
        std::int32_t entryCount;
        std::int32_t startRow;
        std::string keys;  // 'D' page down, 'U' page up
        std::vector<std::int32_t> rows;  // first row after each key
    } cases[] = {
        {20, 0, "D", {0}},
        {7, 0, "DD", {0, 0}},
        {21, 0, "DDD", {20, 1, 1}},
        {45, 0, "DDDD", {20, 40, 25, 25}},
        {45, 25, "UU", {5, 0}},
        {45, 40, "UUU", {20, 0, 0}},
        {0, 0, "DU", {0, 0}},
        {29826161, 29826141, "DU", {29826141, 29826121}},
    };
    for (const auto& c : cases) {
        std::int32_t row = c.startRow;
        for (std::size_t i = 0; i < c.keys.size(); ++i) {
            row = c.keys[i] == 'D' ? rowAfterPageDown(row, c.entryCount) : rowAfterPageUp(row);
            EXPECT_EQ(row, c.rows[i]) << c.entryCount << " entries, key " << i + 1 << " of " << c.keys;
        }
    }
}

class ListingOutput : public ::testing::Test {
protected:
    void giveEntries(std::int32_t count) {
        archiveState.entries.reset(new DirectoryEntry[count]{});
        archiveState.entryCount = count;
        for (std::int32_t i = 0; i < count; ++i) {
            const std::string name = "e" + std::to_string(i + 1);
            std::memcpy(archiveState.entries[i].name, name.c_str(), name.size() + 1);
            archiveState.entries[i].size = static_cast<std::uint32_t>(i);
        }
    }
    void TearDown() override {
        closeArchive();
        firstRow = 0;
    }
};

TEST_F(ListingOutput, RowShowsPositionNameAndExtractedLength) {
    giveEntries(1);
    std::memcpy(archiveState.entries[0].name, "sound\\door.wav\0tail", 20);
    archiveState.entries[0].size = 300;
    archiveState.entries[0].packedSize = 120;
    ::testing::internal::CaptureStdout();
    printEntryRow(0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "1 sound\\door.wav 300 bytes \n");
}

TEST_F(ListingOutput, LengthsOf2GiBAndMoreShowUnsigned) {
    giveEntries(1);
    archiveState.entries[0].size = 0xFFFFFFFFu;
    ::testing::internal::CaptureStdout();
    printEntryRow(0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "1 e1 4294967295 bytes \n");
}

TEST_F(ListingOutput, NameWithoutNulShowsItsWholeFieldAndNoMore) {
    giveEntries(2);
    std::memset(archiveState.entries[0].name, 'n', kNameBytes);
    ::testing::internal::CaptureStdout();
    printEntryRow(0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "1 " + std::string(128, 'n') + " 0 bytes \n");
}

TEST_F(ListingOutput, PageShowsAtMostTwentyRowsFromTheFirstRow) {
    giveEntries(45);
    firstRow = 40;
    ::testing::internal::CaptureStdout();
    printPage();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "41 e41 40 bytes \n42 e42 41 bytes \n43 e43 42 bytes \n44 e44 43 bytes \n45 e45 44 bytes \n");
    firstRow = 0;
    ::testing::internal::CaptureStdout();
    printPage();
    const std::string page = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(page.begin(), page.end(), '\n'), 20);
    EXPECT_EQ(page.rfind("20 e20 19 bytes \n"), page.size() - 17);
}

}  // namespace

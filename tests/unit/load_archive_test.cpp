#include "archive/load_archive.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "archive/archive_state.h"
#include "tests/support/archive_writer.h"

namespace {

class LoadArchive : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("kdat-load-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        closeArchive();
        std::filesystem::remove_all(folder_);
    }
    // Loads the bytes as an archive and returns what loading printed.
    std::string load(const std::string& bytes) {
        const std::string path = (folder_ / "test.dat").string();
        fixture::writeFile(path, bytes);
        copyText(archiveState.archivePath, sizeof archiveState.archivePath, path.c_str());
        ::testing::internal::CaptureStdout();
        loadArchive();
        return ::testing::internal::GetCapturedStdout();
    }
    std::filesystem::path folder_;
};

TEST_F(LoadArchive, ReadsEveryRecordInDirectoryOrder) {
    const std::string printed = load(fixture::buildArchive(
        {{"a.txt", "alpha"}, {"dir\\b.bin", "bravo bravo", true}, {"c", ""}}));
    EXPECT_EQ(printed, "Loading File " + std::string(archiveState.archivePath) + " ...\n\n");
    ASSERT_EQ(archiveState.entryCount, 3);
    EXPECT_STREQ(archiveState.entries[0].name, "a.txt");
    EXPECT_EQ(archiveState.entries[0].offset, 16u);
    EXPECT_EQ(archiveState.entries[0].size, 5u);
    EXPECT_EQ(archiveState.entries[0].packedSize, 0u);
    EXPECT_STREQ(archiveState.entries[1].name, "dir\\b.bin");
    EXPECT_EQ(archiveState.entries[1].offset, 21u);
    EXPECT_EQ(archiveState.entries[1].size, 11u);
    EXPECT_EQ(archiveState.entries[1].packedSize, fixture::compressZlib("bravo bravo").size());
    EXPECT_STREQ(archiveState.entries[2].name, "c");
    EXPECT_TRUE(archiveState.archiveStream.is_open());
}

TEST_F(LoadArchive, BytesAfterTheLastWholeRecordAreNotARecord) {
    // 300 bytes of directory: two records and 12 bytes that belong to none,
    // here the very last bytes of the file.
    load(fixture::buildArchive({{"one", "1"}, {"two", "22"}}, {.directoryTailBytes = 12}));
    EXPECT_EQ(archiveState.entryCount, 2);
    EXPECT_STREQ(archiveState.entries[1].name, "two");
}

TEST_F(LoadArchive, DirectoryMayComeBeforeThePayloads) {
    load(fixture::buildArchive({{"one", "1"}, {"two", "22"}}, {.directoryFirst = true}));
    ASSERT_EQ(archiveState.entryCount, 2);
    EXPECT_EQ(archiveState.entries[0].offset, 16u + 2 * 144);
    EXPECT_EQ(archiveState.entries[1].offset, 16u + 2 * 144 + 1);
}

TEST_F(LoadArchive, AnEmptyDirectoryIsNotReadWhereverItPoints) {
    load(fixture::buildArchive({}, {.directoryOffset = 0xFFFFFFF0u, .directoryLength = 143}));
    EXPECT_EQ(archiveState.entryCount, 0);
}

TEST_F(LoadArchive, CloseReleasesEverything) {
    load(fixture::buildArchive({{"one", "1"}}));
    closeArchive();
    EXPECT_FALSE(archiveState.archiveStream.is_open());
    EXPECT_EQ(archiveState.header, nullptr);
    EXPECT_EQ(archiveState.entries, nullptr);
    EXPECT_EQ(archiveState.entryCount, 0);
}

}  // namespace

namespace {

TEST_F(LoadArchive, DirectoryBeyondTwoGigabytesIsRead) {
    // A sparse file: the header, a hole, and the directory above 2^31, near the
    // end of the 32-bit range.
    const std::uint32_t directoryAt = 0xFFFFF000u;
    const std::string small = fixture::buildArchive({{"far\\away.bin", "payload"}});
    std::string header = small.substr(0, 16);
    header.replace(4, 4, std::string("\x00\xF0\xFF\xFF", 4));
    const std::string directory = small.substr(small.size() - 144);

    const std::string path = (folder_ / "sparse.dat").string();
    {
        std::ofstream out(path, std::ios::binary);
        out.write(header.data(), 16);
        out.seekp(directoryAt);
        out.write(directory.data(), 144);
        ASSERT_TRUE(out.good());
    }
    copyText(archiveState.archivePath, sizeof archiveState.archivePath, path.c_str());
    ::testing::internal::CaptureStdout();
    loadArchive();
    ::testing::internal::GetCapturedStdout();
    ASSERT_EQ(archiveState.entryCount, 1);
    EXPECT_STREQ(archiveState.entries[0].name, "far\\away.bin");
    EXPECT_EQ(archiveState.entries[0].size, 7u);
}

}  // namespace

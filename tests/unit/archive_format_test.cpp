#include "archive/archive_format.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(ArchiveFormat, RecordFieldsAreReadLittleEndian) {
    unsigned char bytes[kEntryBytes] = {};
    std::memcpy(bytes, "a\\b.bin", 8);
    const unsigned char numbers[] = {0x01, 0x00, 0x00, 0x80,   // offset 0x80000001
                                     0x78, 0x56, 0x34, 0x12,   // size 0x12345678
                                     0xFF, 0xFF, 0xFF, 0xFF,   // packedSize
                                     0xDE, 0xAD, 0xBE, 0xEF};  // unused
    std::memcpy(bytes + 128, numbers, sizeof numbers);
    DirectoryEntry entry;
    std::memcpy(&entry, bytes, sizeof entry);
    decodeEntry(entry);
    EXPECT_STREQ(entry.name, "a\\b.bin");
    EXPECT_EQ(entry.offset, 0x80000001u);
    EXPECT_EQ(entry.size, 0x12345678u);
    EXPECT_EQ(entry.packedSize, 0xFFFFFFFFu);
}

TEST(ArchiveFormat, HeaderFieldsAreReadLittleEndian) {
    const unsigned char bytes[kHeaderBytes] = {'K', 'D', 'A', 'T', 0x10, 0x00, 0x00, 0x00,
                                               0x2C, 0x01, 0x00, 0x00, 9, 9, 9, 9};
    ArchiveHeader header;
    std::memcpy(&header, bytes, sizeof header);
    decodeHeader(header);
    EXPECT_TRUE(hasArchiveMagic(header));
    EXPECT_EQ(header.directoryOffset, 16u);
    EXPECT_EQ(header.directoryLength, 300u);
}

TEST(ArchiveFormat, MagicMustMatchExactly) {
    const struct {
        const char* magic;
        bool recognised;
    } cases[] = {{"KDAT", true}, {"kdat", false}, {"KDAt", false}, {"TADK", false}, {"KDA\0", false}};
    for (const auto& c : cases) {
        ArchiveHeader header{};
        std::memcpy(header.magic, c.magic, 4);
        EXPECT_EQ(hasArchiveMagic(header), c.recognised) << c.magic;
    }
}

TEST(ArchiveFormat, EntryCountDropsTheRemainder) {
    const struct {
        std::uint32_t directoryLength;
        std::int32_t entries;
    } cases[] = {{0, 0}, {143, 0}, {144, 1}, {300, 2}, {0xFFFFFFFFu, 29826161}};
    for (const auto& c : cases) EXPECT_EQ(countEntries(c.directoryLength), c.entries) << c.directoryLength;
}

TEST(ArchiveFormat, NameEndsAtFirstNulOrAtTheFieldsEnd) {
    DirectoryEntry entry{};
    std::memcpy(entry.name, "sound\\door.wav\0junk", 19);
    EXPECT_EQ(entryNameLength(entry), 14u);
    std::memset(entry.name, 'x', sizeof entry.name);
    EXPECT_EQ(entryNameLength(entry), kNameBytes);
}

}  // namespace

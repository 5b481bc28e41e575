// The on-disk layout of a DAT archive: a 16-byte header at offset 0 and a
// directory of 144-byte records. Every number is an unsigned 32-bit
// little-endian integer and every offset counts from the first byte of the file.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kHeaderBytes = 16;
inline constexpr std::size_t kEntryBytes = 144;
inline constexpr std::size_t kNameBytes = 128;
inline constexpr char kArchiveMagic[4] = {'K', 'D', 'A', 'T'};

struct ArchiveHeader {
    char magic[4];
    std::uint32_t directoryOffset;
    std::uint32_t directoryLength;
    std::uint8_t unused[4];
};

struct DirectoryEntry {
    char name[kNameBytes];  // NUL-terminated, backslash-separated path
    std::uint32_t offset;
    std::uint32_t size;
    std::uint32_t packedSize;  // 0 for a stored entry
    std::uint8_t unused[4];
};

// The directory is read straight into a table of these records, so their
// layout must be the file's, byte for byte.
static_assert(sizeof(ArchiveHeader) == kHeaderBytes);
static_assert(offsetof(ArchiveHeader, magic) == 0);
static_assert(offsetof(ArchiveHeader, directoryOffset) == 4);
static_assert(offsetof(ArchiveHeader, directoryLength) == 8);
static_assert(offsetof(ArchiveHeader, unused) == 12);
static_assert(sizeof(DirectoryEntry) == kEntryBytes);
static_assert(offsetof(DirectoryEntry, name) == 0);
static_assert(offsetof(DirectoryEntry, offset) == 128);
static_assert(offsetof(DirectoryEntry, size) == 132);
static_assert(offsetof(DirectoryEntry, packedSize) == 136);
static_assert(offsetof(DirectoryEntry, unused) == 140);

// Reads four bytes as an unsigned little-endian number, whatever the host's order.
std::uint32_t readLittleEndian32(const unsigned char* bytes);

// Turns the numbers of records read raw from the file into host order, in place.
void decodeHeader(ArchiveHeader& header);
void decodeEntry(DirectoryEntry& entry);

// True when the header starts with "KDAT", compared byte by byte, case and order exact.
bool hasArchiveMagic(const ArchiveHeader& header);

// Number of whole records in a directory of that many bytes; a remainder
// shorter than one record belongs to no entry. Never above 29,826,161.
std::int32_t countEntries(std::uint32_t directoryLength);

// Length of an entry's name: up to its first NUL, or the whole 128-byte
// field when the field holds no NUL.
std::size_t entryNameLength(const DirectoryEntry& entry);

#include "archive/archive_format.h"

#include <cstring>

std::uint32_t readLittleEndian32(const unsigned char* bytes) {
    return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
           std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24;
}

namespace {

void decodeField(std::uint32_t& field) {
    unsigned char bytes[sizeof field];
    std::memcpy(bytes, &field, sizeof field);
    field = readLittleEndian32(bytes);
}

}  // namespace

void decodeHeader(ArchiveHeader& header) {
    decodeField(header.directoryOffset);
    decodeField(header.directoryLength);
}

void decodeEntry(DirectoryEntry& entry) {
    decodeField(entry.offset);
    decodeField(entry.size);
    decodeField(entry.packedSize);
}

bool hasArchiveMagic(const ArchiveHeader& header) {
    return std::memcmp(header.magic, kArchiveMagic, sizeof kArchiveMagic) == 0;
}

std::int32_t countEntries(std::uint32_t directoryLength) {
    return static_cast<std::int32_t>(directoryLength / kEntryBytes);
}

std::size_t entryNameLength(const DirectoryEntry& entry) {
    const void* terminator = std::memchr(entry.name, '\0', kNameBytes);
    if (terminator == nullptr) return kNameBytes;
    return static_cast<std::size_t>(static_cast<const char*>(terminator) - entry.name);
}

// Builds DAT archives for tests and for the sample archive: a header, the
// payloads, then the directory (or the directory first), all little-endian.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fixture {

struct Entry {
    Entry(std::string entryName, std::string entryContent, bool isCompressed = false)
        : name(std::move(entryName)), content(std::move(entryContent)), compressed(isCompressed) {}

    std::string name;         // a name of 128 bytes or more fills the field with no NUL
    std::string content;      // the extracted bytes
    bool compressed = false;  // payload as one zlib stream instead of the bytes themselves
    // Overrides of the record's numbers, to describe broken or hostile entries.
    std::optional<std::uint32_t> offset;
    std::optional<std::uint32_t> size;
    std::optional<std::uint32_t> packedSize;
    // Bytes stored instead of the content's (a corrupt stream, for instance).
    std::optional<std::string> payload;
    // Index of another entry whose payload this one points at, storing none of its own.
    std::optional<std::size_t> samePayloadAs;
};

struct Layout {
    bool directoryFirst = false;            // directory right after the header
    bool payloadsReversed = false;          // payloads stored last entry first
    std::uint32_t directoryTailBytes = 0;   // bytes after the last record that form no record
    std::optional<std::uint32_t> directoryOffset;
    std::optional<std::uint32_t> directoryLength;
    std::string magic = "KDAT";
};

// The archive's bytes.
std::string buildArchive(const std::vector<Entry>& entries, const Layout& layout = {});

// The zlib stream of `content`, as the archive stores a compressed entry.
std::string compressZlib(const std::string& content);

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);

}  // namespace fixture

#include "tests/support/archive_writer.h"

#include <zlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fixture {

namespace {

constexpr std::size_t kHeaderBytes = 16;
constexpr std::size_t kRecordBytes = 144;
constexpr std::size_t kNameField = 128;

void putLittleEndian32(std::string& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string payloadOf(const Entry& entry) {
    if (entry.payload) return *entry.payload;
    return entry.compressed ? compressZlib(entry.content) : entry.content;
}

std::string recordOf(const Entry& entry, std::uint32_t offset, const std::string& payload) {
    std::string record(kRecordBytes, '\0');
    record.replace(0, std::min(entry.name.size(), kNameField), entry.name, 0, kNameField);
    putLittleEndian32(record, 128, entry.offset.value_or(offset));
    putLittleEndian32(record, 132, entry.size.value_or(static_cast<std::uint32_t>(entry.content.size())));
    const std::uint32_t packed = entry.compressed ? static_cast<std::uint32_t>(payload.size()) : 0;
    putLittleEndian32(record, 136, entry.packedSize.value_or(packed));
    record.replace(140, 4, "\x5A\xA5\x5A\xA5");  // unused bytes, never read
    return record;
}

// Places every payload that is not shared after `start`, in directory order
// or reversed, and returns the region with each entry's offset.
std::string placePayloads(const std::vector<Entry>& entries, std::size_t start, bool reversed,
                          std::vector<std::uint32_t>& offsets) {
    std::string region;
    offsets.assign(entries.size(), 0);
    for (std::size_t n = 0; n < entries.size(); ++n) {
        const std::size_t i = reversed ? entries.size() - 1 - n : n;
        if (entries[i].samePayloadAs) continue;
        offsets[i] = static_cast<std::uint32_t>(start + region.size());
        region += payloadOf(entries[i]);
    }
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].samePayloadAs) offsets[i] = offsets.at(*entries[i].samePayloadAs);
    return region;
}

}  // namespace

std::string compressZlib(const std::string& content) {
    uLongf length = compressBound(static_cast<uLong>(content.size()));
    std::string stream(length, '\0');
    if (compress2(reinterpret_cast<Bytef*>(stream.data()), &length,
                  reinterpret_cast<const Bytef*>(content.data()), static_cast<uLong>(content.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK)
        throw std::runtime_error("compress2 failed");
    stream.resize(length);
    return stream;
}

std::string buildArchive(const std::vector<Entry>& entries, const Layout& layout) {
    const std::size_t directoryBytes = entries.size() * kRecordBytes + layout.directoryTailBytes;
    const std::size_t payloadStart = kHeaderBytes + (layout.directoryFirst ? directoryBytes : 0);
    std::vector<std::uint32_t> offsets;
    const std::string payloads = placePayloads(entries, payloadStart, layout.payloadsReversed, offsets);
    std::string directory;
    for (std::size_t i = 0; i < entries.size(); ++i)
        directory += recordOf(entries[i], offsets[i], payloadOf(entries[i]));
    directory.append(layout.directoryTailBytes, '\x77');

    std::string header(kHeaderBytes, '\0');
    for (std::size_t i = 0; i < 4 && i < layout.magic.size(); ++i) header[i] = layout.magic[i];
    const std::size_t directoryAt = layout.directoryFirst ? kHeaderBytes : kHeaderBytes + payloads.size();
    putLittleEndian32(header, 4, layout.directoryOffset.value_or(static_cast<std::uint32_t>(directoryAt)));
    putLittleEndian32(header, 8, layout.directoryLength.value_or(static_cast<std::uint32_t>(directoryBytes)));
    header.replace(12, 4, "\x01\x02\x03\x04");  // unused bytes, never read
    return layout.directoryFirst ? header + directory + payloads : header + payloads + directory;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace fixture

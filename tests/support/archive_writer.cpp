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
    std::string payloads;
    std::string directory;
    const std::size_t payloadStart = kHeaderBytes + (layout.directoryFirst ? directoryBytes : 0);
    for (const Entry& entry : entries) {
        const std::string payload = payloadOf(entry);
        directory += recordOf(entry, static_cast<std::uint32_t>(payloadStart + payloads.size()), payload);
        payloads += payload;
    }
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

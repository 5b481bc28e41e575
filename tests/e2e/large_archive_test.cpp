// Archives past 4 GiB: payloads above 2 GiB, one that straddles the 4 GiB
// mark, and the last byte an offset can name (2^32 - 1). The archives are
// sparse files, so they cost a few pages of disk however large they claim to be.
#include <fstream>

#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

constexpr std::uint64_t k4GiB = std::uint64_t{1} << 32;

class LargeArchive : public ExtractorTest {
protected:
    // Writes test.dat: header and directory at the start, then `pieces` at
    // their offsets, and a length of `fileSize` bytes, the rest holes.
    void writeSparseArchive(const std::vector<fixture::Entry>& entries,
                            const std::vector<std::pair<std::uint64_t, std::string>>& pieces, std::uint64_t fileSize) {
        fixture::writeFile(pathOf("test.dat"), fixture::buildArchive(entries, {.directoryFirst = true}));
        std::filesystem::resize_file(pathOf("test.dat"), fileSize);
        std::fstream file(pathOf("test.dat"), std::ios::in | std::ios::out | std::ios::binary);
        for (const auto& [offset, bytes] : pieces) {
            file.seekp(static_cast<std::streamoff>(offset));
            file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
        ASSERT_TRUE(file.good());
    }
};

// An entry whose record points at `offset`, storing nothing where the writer puts payloads.
fixture::Entry farEntry(const std::string& name, std::uint32_t offset, std::uint32_t size,
                        std::uint32_t packedSize = 0) {
    fixture::Entry entry(name, "", packedSize != 0);
    entry.payload = "";
    entry.offset = offset;
    entry.size = size;
    entry.packedSize = packedSize;
    return entry;
}

TEST_F(LargeArchive, PayloadsUpToTheLastAddressableByteExtractByteForByte) {
    const std::string above2GiB = noise(5000, 1);
    const std::string text = std::string(20000, 'z') + "the end";
    const std::string packed = fixture::compressZlib(text);
    // 8 KiB on each side of the 4 GiB mark, where the last entries lie.
    const std::uint64_t edgeStart = k4GiB - 0x2000;
    const std::string edge = noise(0x4000, 2);
    const auto edgeBytes = [&](std::uint64_t offset, std::size_t length) {
        return edge.substr(static_cast<std::size_t>(offset - edgeStart), length);
    };

    std::vector<fixture::Entry> entries = {
        farEntry("high\\above-2gib.bin", 0x80000123u, 5000),
        farEntry("high\\packed.txt", 0xC0000000u, static_cast<std::uint32_t>(text.size()),
                 static_cast<std::uint32_t>(packed.size())),
        farEntry("edge\\straddles-4gib.bin", 0xFFFFF000u, 0x2000),
        farEntry("edge\\last-byte.bin", 0xFFFFFFFFu, 1),
        farEntry("edge\\from-the-last-byte.bin", 0xFFFFFFFFu, 0x1001),
    };
    writeSparseArchive(entries, {{0x80000123u, above2GiB}, {0xC0000000u, packed}, {edgeStart, edge}},
                       edgeStart + edge.size());

    TerminalSession session({"test.dat"}, inFolder());
    std::string expected = kBanner + loadingLine("test.dat") + page(entries, 0);
    ASSERT_EQ(session.take(expected.size()), expected);
    expected = madeLine("high") + writingLine(0, entries[0]) + writingLine(1, entries[1]) + madeLine("edge");
    for (int index = 2; index < 5; ++index) expected += writingLine(index, entries[index]);
    expected += page(entries, 0);
    ASSERT_TRUE(session.type(" "));
    EXPECT_EQ(session.take(expected.size()), expected);
    typeAndExpectTheEnd(session, kEscape, "");

    const std::map<std::string, std::string> files = {
        {"high", "<folder>"},
        {"high/above-2gib.bin", above2GiB},
        {"high/packed.txt", text},
        {"edge", "<folder>"},
        {"edge/straddles-4gib.bin", edgeBytes(0xFFFFF000u, 0x2000)},
        {"edge/last-byte.bin", edgeBytes(0xFFFFFFFFu, 1)},
        {"edge/from-the-last-byte.bin", edgeBytes(0xFFFFFFFFu, 0x1001)},
    };
    EXPECT_EQ(tree(), files);
}

// Inside an archive of over 4 GiB, a payload near 4 GiB long lies within
// the file, so only the memory to hold it is missing.
TEST_F(LargeArchive, PayloadsTooLargeToHoldAreNotEnoughMemory) {
    const struct {
        fixture::Entry entry;
        const char* lines;
    } cases[] = {
        {farEntry("stored.bin", 0x1000u, 0xFFFFF000u),
         "Writing File #0 stored.bin ...\nERROR : Not Enough Memory for File stored.bin\n"},
        {farEntry("packed.z", 0x1000u, 100, 0xF0000000u),
         "Writing Compressed File #0 packed.z ...\nERROR : Not Enough Memory for File packed.z\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry.name);
        std::filesystem::remove_all(pathOf(c.entry.name));
        writeSparseArchive({c.entry}, {{0x1000u, "the start of a payload"}}, k4GiB + 0x1000);
        TerminalSession session({"test.dat"}, inFolderWithLittleMemory());
        const std::string opening = kBanner + loadingLine("test.dat") + page({c.entry}, 0);
        ASSERT_EQ(session.take(opening.size()), opening);
        typeAndExpectTheEnd(session, " ", c.lines);
        // Opened before the buffers were asked for, so left empty.
        EXPECT_EQ(fixture::readFile(pathOf(c.entry.name)), "");
    }
}

}  // namespace
}  // namespace e2e

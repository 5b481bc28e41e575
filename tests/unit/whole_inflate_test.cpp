// The outcomes of inflating one entry, whichever inflater the build chose.
#include "extraction/whole_inflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "tests/support/archive_writer.h"

namespace {

struct Inflation {
    InflateOutcome outcome;
    std::string bytes;
};

Inflation inflateInto(std::uint32_t capacity, const std::string& stream) {
    std::vector<unsigned char> buffer(capacity + 1, 0xEE);  // one more, so a zero capacity has a pointer
    std::uint32_t length = 0xDEAD;
    const InflateOutcome outcome =
        inflateWhole(buffer.data(), capacity, reinterpret_cast<const unsigned char*>(stream.data()),
                     static_cast<std::uint32_t>(stream.size()), length);
    if (outcome != InflateOutcome::inflated) return {outcome, ""};
    EXPECT_LE(length, capacity);
    return {outcome, std::string(buffer.begin(), buffer.begin() + length)};
}

// A zlib header with the given window-size field and check bits that fit it.
std::string withWindowField(std::string stream, int field) {
    stream[0] = static_cast<char>(field << 4 | 8);
    const int rest = (static_cast<unsigned char>(stream[0]) << 8 | (static_cast<unsigned char>(stream[1]) & 0xE0));
    stream[1] = static_cast<char>((static_cast<unsigned char>(stream[1]) & 0xE0) | (31 - rest % 31) % 31);
    return stream;
}

std::string withDictionary(const std::string& content, const std::string& dictionary) {
    z_stream deflater = {};
    deflateInit(&deflater, Z_DEFAULT_COMPRESSION);
    deflateSetDictionary(&deflater, reinterpret_cast<const Bytef*>(dictionary.data()),
                         static_cast<uInt>(dictionary.size()));
    std::string stream(deflateBound(&deflater, content.size()), '\0');
    deflater.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
    deflater.avail_in = static_cast<uInt>(content.size());
    deflater.next_out = reinterpret_cast<Bytef*>(stream.data());
    deflater.avail_out = static_cast<uInt>(stream.size());
    deflate(&deflater, Z_FINISH);
    stream.resize(deflater.total_out);
    deflateEnd(&deflater);
    return stream;
}

const std::string kText = [] {
    std::string text;
    for (int line = 0; line < 300; ++line) text += "line " + std::to_string(line) + " of the map\n";
    return text;
}();
const std::string kStream = fixture::compressZlib(kText);
const auto kTextLength = static_cast<std::uint32_t>(kText.size());

TEST(InflateWhole, InflatesTheWholeStreamIntoRoomEnoughForIt) {
    const struct {
        const char* name;
        std::uint32_t capacity;
        std::string stream;
        std::string expected;
    } cases[] = {
        {"exact room", kTextLength, kStream, kText},
        {"room to spare", kTextLength + 100, kStream, kText},
        {"bytes after the stream", kTextLength, kStream + "trailing bytes", kText},
        {"empty stream, no room", 0, fixture::compressZlib(""), ""},
        {"empty stream, room", 8, fixture::compressZlib(""), ""},
        {"smallest window field", kTextLength, withWindowField(kStream, 0), kText},
    };
    for (const auto& c : cases) {
        const Inflation result = inflateInto(c.capacity, c.stream);
        EXPECT_EQ(result.outcome, InflateOutcome::inflated) << c.name;
        EXPECT_EQ(result.bytes, c.expected) << c.name;
    }
}

TEST(InflateWhole, RefusesWhatIsNotOneWholeStreamThatFits) {
    std::string badCheck = kStream;
    badCheck.back() = static_cast<char>(badCheck.back() ^ 1);
    const struct {
        const char* name;
        std::uint32_t capacity;
        std::string stream;
    } cases[] = {
        {"one byte too little room", kTextLength - 1, kStream},
        // uncompress alone takes a one-byte stream with no room for success.
        {"one byte, no room", 0, fixture::compressZlib("x")},
        {"two bytes, no room", 0, fixture::compressZlib("xy")},
        {"cut before its check value", kTextLength, kStream.substr(0, kStream.size() - 4)},
        {"cut in the middle", kTextLength, kStream.substr(0, kStream.size() / 2)},
        {"no bytes at all", kTextLength, ""},
        {"wrong check value", kTextLength, badCheck},
        {"window field beyond 32 KiB", kTextLength, withWindowField(kStream, 8)},
        {"preset dictionary", kTextLength, withDictionary(kText, "line of the map")},
        {"not a stream", kTextLength, "not a zlib stream at all"},
    };
    for (const auto& c : cases) EXPECT_EQ(inflateInto(c.capacity, c.stream).outcome, InflateOutcome::badData) << c.name;
}

}  // namespace

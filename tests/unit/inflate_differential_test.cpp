// The build's inflater against zlib's uncompress, stream by stream: thousands
// of generated streams, whole and damaged, into rooms too small, exact and too
// large. Built where the inflater is not uncompress itself (KDAT_LIBDEFLATE).
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "extraction/whole_inflate.h"

namespace {

using Bytes = std::vector<unsigned char>;

struct Outcome {
    InflateOutcome outcome;
    Bytes bytes;  // what was inflated, on success
    bool operator==(const Outcome&) const = default;
};

// What uncompress makes of the stream in a buffer of `capacity` bytes, in the
// terms of inflateWhole. Its one quirk is corrected as inflateWhole's contract
// says: with no room at all, a stream of one byte is too long, not empty.
Outcome byUncompress(const Bytes& stream, std::uint32_t capacity) {
    Bytes buffer(capacity + std::size_t{1});
    uLongf length = capacity;
    const int result = uncompress(buffer.data(), &length, stream.data(), static_cast<uLong>(stream.size()));
    if (result == Z_MEM_ERROR) return {InflateOutcome::outOfMemory, {}};
    if (result != Z_OK) return {InflateOutcome::badData, {}};
    if (capacity == 0) {
        uLongf oneByte = 1;
        if (uncompress(buffer.data(), &oneByte, stream.data(), static_cast<uLong>(stream.size())) == Z_OK &&
            oneByte == 1)
            return {InflateOutcome::badData, {}};
    }
    buffer.resize(length);
    return {InflateOutcome::inflated, buffer};
}

Outcome byInflateWhole(const Bytes& stream, std::uint32_t capacity) {
    Bytes buffer(capacity + std::size_t{1});
    std::uint32_t length = 0;
    const InflateOutcome outcome =
        inflateWhole(buffer.data(), capacity, stream.data(), static_cast<std::uint32_t>(stream.size()), length);
    if (outcome != InflateOutcome::inflated) return {outcome, {}};
    buffer.resize(length);
    return {outcome, buffer};
}

class StreamMaker {
public:
    explicit StreamMaker(std::uint32_t seed) : random_(seed) {}

    std::uint32_t below(std::uint32_t bound) { return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(random_); }

    // Contents of the kinds an archive holds: none, noise, text-like, runs.
    Bytes content() {
        const std::uint32_t length = below(4) == 0 ? below(4) : below(16384);
        Bytes bytes(length);
        const std::uint32_t kind = below(4);
        const std::uint32_t alphabet = kind == 0 ? 256 : kind == 1 ? 16 : 4;
        for (std::uint32_t i = 0; i < length; ++i) {
            if (kind == 3 && i >= 64 && below(8) != 0)
                bytes[i] = bytes[i - 1 - below(64)];  // repeats: long matches
            else
                bytes[i] = static_cast<unsigned char>('a' + below(alphabet) % 256);
        }
        return bytes;
    }

    // A zlib stream of `content`, made with varied settings: every block type
    // (stored, fixed, dynamic), window sizes from 512 bytes to 32 KiB, and
    // sometimes a preset dictionary.
    Bytes compress(const Bytes& content, bool withDictionary) {
        static const int kStrategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
        z_stream deflater = {};
        const int level = static_cast<int>(below(10));
        const int windowBits = 9 + static_cast<int>(below(7));
        deflateInit2(&deflater, level, Z_DEFLATED, windowBits, 8, kStrategies[below(5)]);
        if (withDictionary) {
            const Bytes dictionary(content.begin(), content.begin() + std::min<std::size_t>(content.size(), 100));
            deflateSetDictionary(&deflater, dictionary.empty() ? reinterpret_cast<const Bytef*>("d") : dictionary.data(),
                                 dictionary.empty() ? 1 : static_cast<uInt>(dictionary.size()));
        }
        Bytes stream(deflateBound(&deflater, content.size()) + 64);
        deflater.next_in = const_cast<Bytef*>(content.data());
        deflater.avail_in = static_cast<uInt>(content.size());
        deflater.next_out = stream.data();
        deflater.avail_out = static_cast<uInt>(stream.size());
        EXPECT_EQ(deflate(&deflater, Z_FINISH), Z_STREAM_END);
        stream.resize(deflater.total_out);
        deflateEnd(&deflater);
        return stream;
    }

private:
    std::mt19937 random_;
};

// Sets the header's window-size field and makes its check bits fit again,
// so that only the field itself is wrong.
void setWindowField(Bytes& stream, unsigned field) {
    stream[0] = static_cast<unsigned char>(field << 4 | (stream[0] & 0x0F));
    const unsigned rest = stream[0] << 8 | (stream[1] & 0xE0);
    stream[1] = static_cast<unsigned char>((stream[1] & 0xE0) | (31 - rest % 31) % 31);
}

enum class Damage { none, truncated, bitFlips, windowField, dictionary, trailingBytes, count };

const char* nameOf(Damage damage) {
    static const char* const kNames[] = {"whole", "truncated", "bit-flipped", "window field", "preset dictionary",
                                         "trailing bytes"};
    return kNames[static_cast<int>(damage)];
}

TEST(InflateDifferential, SameOutcomeAsUncompressForEveryStream) {
    StreamMaker maker(20010630);
    int inflatedCount = 0;
    int refusedCount = 0;
    for (int n = 0; n < 6000; ++n) {
        const auto damage = static_cast<Damage>(n % static_cast<int>(Damage::count));
        const Bytes content = maker.content();
        Bytes stream = maker.compress(content, damage == Damage::dictionary);
        switch (damage) {
        case Damage::truncated: stream.resize(maker.below(static_cast<std::uint32_t>(stream.size()))); break;
        case Damage::bitFlips:
            for (std::uint32_t flips = 1 + maker.below(3); flips > 0; --flips)
                stream[maker.below(static_cast<std::uint32_t>(stream.size()))] ^= static_cast<unsigned char>(1 << maker.below(8));
            break;
        case Damage::windowField: setWindowField(stream, maker.below(16)); break;
        case Damage::trailingBytes:
            for (std::uint32_t extra = 1 + maker.below(16); extra > 0; --extra)
                stream.push_back(static_cast<unsigned char>(maker.below(256)));
            break;
        default: break;
        }
        // Room: too small by one or more, none, exact, or too large.
        const auto size = static_cast<std::uint32_t>(content.size());
        const std::uint32_t capacities[] = {size == 0 ? 0 : maker.below(size), 0, size, size + 1 + maker.below(5000)};
        for (const std::uint32_t capacity : capacities) {
            const Outcome expected = byUncompress(stream, capacity);
            ASSERT_EQ(byInflateWhole(stream, capacity), expected)
                << "stream " << n << " (" << nameOf(damage) << ", " << stream.size() << " bytes), content "
                << size << " bytes, room " << capacity;
            ++(expected.outcome == InflateOutcome::inflated ? inflatedCount : refusedCount);
        }
    }
    // Both kinds of outcome must be well represented for the comparison to mean anything.
    EXPECT_GT(inflatedCount, 5000);
    EXPECT_GT(refusedCount, 5000);
}

}  // namespace

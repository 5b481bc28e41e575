// Inflating one entry's zlib stream whole, in one call. The build chooses the
// inflater (zlib's uncompress by default, libdeflate with KDAT_LIBDEFLATE);
// both give the same outcome for every stream.
#pragma once

#include <cstdint>

enum class InflateOutcome {
    inflated,     // the whole stream, its check value included, fitted the buffer
    badData,      // corrupt, cut short, asks for a preset dictionary, or too long for the buffer
    outOfMemory,  // the inflater could not get its working memory
};

// Inflates the zlib stream in the `packedLength` bytes at `packed` into
// `inflated`, which has room for `capacity` bytes. On success `length` is the
// number of bytes produced, which may be fewer than `capacity`. Bytes after
// the stream's end are ignored. A stream that holds more than `capacity`
// bytes is bad data, also when `capacity` is 0.
InflateOutcome inflateWhole(unsigned char* inflated, std::uint32_t capacity, const unsigned char* packed,
                            std::uint32_t packedLength, std::uint32_t& length);

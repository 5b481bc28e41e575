#include <zlib.h>

#include "extraction/whole_inflate.h"

InflateOutcome inflateWhole(unsigned char* inflated, std::uint32_t capacity, const unsigned char* packed,
                            std::uint32_t packedLength, std::uint32_t& length) {
    // Given no room at all, uncompress inflates one byte into a scratch byte
    // of its own and drops it: a stream of one byte would pass as empty. With
    // a byte of room here, that byte shows, and is one too many.
    unsigned char spare = 0;
    unsigned char* target = capacity == 0 ? &spare : inflated;
    uLongf produced = capacity == 0 ? 1 : capacity;
    const int result = uncompress(target, &produced, packed, packedLength);
    if (result == Z_MEM_ERROR) return InflateOutcome::outOfMemory;
    if (result != Z_OK || produced > capacity) return InflateOutcome::badData;
    length = static_cast<std::uint32_t>(produced);
    return InflateOutcome::inflated;
}

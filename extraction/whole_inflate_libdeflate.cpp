#include <libdeflate.h>

#include <memory>

#include "extraction/whole_inflate.h"

namespace {

struct DecompressorFree {
    void operator()(libdeflate_decompressor* decompressor) const { libdeflate_free_decompressor(decompressor); }
};

}  // namespace

// libdeflate's zlib reader agrees with uncompress where it matters here: it
// checks the header (method, window size, check bits) and the Adler-32 value,
// refuses a preset dictionary, stops at the stream's end and ignores what
// follows, and reports a stream longer than the buffer as such.
InflateOutcome inflateWhole(unsigned char* inflated, std::uint32_t capacity, const unsigned char* packed,
                            std::uint32_t packedLength, std::uint32_t& length) {
    // A decompressor per call keeps the call self-contained; it costs a few
    // kilobytes and a microsecond, next to the entry's own buffers.
    const std::unique_ptr<libdeflate_decompressor, DecompressorFree> decompressor(libdeflate_alloc_decompressor());
    if (!decompressor) return InflateOutcome::outOfMemory;
    std::size_t produced = 0;
    const libdeflate_result result =
        libdeflate_zlib_decompress(decompressor.get(), packed, packedLength, inflated, capacity, &produced);
    if (result != LIBDEFLATE_SUCCESS) return InflateOutcome::badData;
    length = static_cast<std::uint32_t>(produced);
    return InflateOutcome::inflated;
}

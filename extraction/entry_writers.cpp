#include "extraction/entry_writers.h"

#include <zlib.h>

#include <utility>

#include "archive/archive_reads.h"
#include "archive/messages.h"
#include "extraction/writer_steps.h"

void extractStored(std::int32_t index, bool folderReached) {
    const DirectoryEntry& entry = archiveState.entries[index];
    OutputFile file = startWriting(kWritingFile, index, entry.size, folderReached);

    PayloadBuffer data = allocatePayload(entry.size);
    if (!data) stopExtraction(kEntryNotEnoughMemory, entry, file);
    // The archive may have shrunk since the check above.
    if (!readArchiveBytes(entry.offset, data.get(), entry.size))
        stopExtraction(kMissingData, entry, file, std::move(data));
    if (!writeAndClose(file, data.get(), entry.size))
        stopExtraction(kUnableToWrite, entry, file, std::move(data));
}

namespace {

// uncompress's outcomes that are not a success. A stream that would inflate
// to more than `size` bytes is as corrupt as one zlib cannot read: writing
// what fitted would cut the file short without a word.
[[noreturn]] void stopInflating(int result, const DirectoryEntry& entry, OutputFile& file,
                                PayloadBuffer inflated, PayloadBuffer packed) {
    const char* message = result == Z_MEM_ERROR ? kEntryNotEnoughMemory : kBadCompressedData;
    stopExtraction(message, entry, file, std::move(inflated), std::move(packed));
}

}  // namespace

void extractCompressed(std::int32_t index, bool folderReached) {
    DirectoryEntry& entry = archiveState.entries[index];
    OutputFile file = startWriting(kWritingCompressedFile, index, entry.packedSize, folderReached);

    PayloadBuffer packed = allocatePayload(entry.packedSize);
    if (!packed) stopExtraction(kEntryNotEnoughMemory, entry, file);
    PayloadBuffer inflated = allocatePayload(entry.size);
    if (!inflated) stopExtraction(kEntryNotEnoughMemory, entry, file, nullptr, std::move(packed));
    if (!readArchiveBytes(entry.offset, packed.get(), entry.packedSize))
        stopExtraction(kMissingData, entry, file, std::move(inflated), std::move(packed));

    uLongf length = entry.size;
    const int result = uncompress(inflated.get(), &length, packed.get(), entry.packedSize);
    if (result != Z_OK) stopInflating(result, entry, file, std::move(inflated), std::move(packed));
    entry.size = static_cast<std::uint32_t>(length);

    if (!writeAndClose(file, inflated.get(), length))
        stopExtraction(kUnableToWrite, entry, file, std::move(inflated), std::move(packed));
    // Leaving scope releases the inflated buffer first, then the packed one.
}

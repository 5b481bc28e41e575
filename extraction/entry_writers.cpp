#include "extraction/entry_writers.h"

#include <utility>

#include "archive/archive_reads.h"
#include "archive/messages.h"
#include "extraction/whole_inflate.h"
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

// The outcomes of inflating that are not a success. A stream that would
// inflate to more than `size` bytes is as corrupt as one that cannot be read:
// writing what fitted would cut the file short without a word.
[[noreturn]] void stopInflating(InflateOutcome outcome, const DirectoryEntry& entry, OutputFile& file,
                                PayloadBuffer inflated, PayloadBuffer packed) {
    const char* message = outcome == InflateOutcome::outOfMemory ? kEntryNotEnoughMemory : kBadCompressedData;
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

    std::uint32_t length = 0;
    const InflateOutcome outcome = inflateWhole(inflated.get(), entry.size, packed.get(), entry.packedSize, length);
    if (outcome != InflateOutcome::inflated)
        stopInflating(outcome, entry, file, std::move(inflated), std::move(packed));
    entry.size = length;

    if (!writeAndClose(file, inflated.get(), length))
        stopExtraction(kUnableToWrite, entry, file, std::move(inflated), std::move(packed));
    // Leaving scope releases the inflated buffer first, then the packed one.
}

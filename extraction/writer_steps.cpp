#include "extraction/writer_steps.h"

#include <new>
#include <string>
#include <utility>

#include "archive/archive_reads.h"
#include "archive/messages.h"
#include "extraction/progress_flush.h"
#include "platform/platform.h"

namespace {

int nameLength(const DirectoryEntry& entry) {
    return static_cast<int>(entryNameLength(entry));
}

// A failure before the output file is open: nothing to close or release.
[[noreturn]] void stopBeforeWriting(const char* message, const DirectoryEntry& entry) {
    std::printf(message, nameLength(entry), entry.name);
    fatalStop();
}

}  // namespace

OutputFile startWriting(const char* progressFormat, std::int32_t index, std::uint64_t payloadLength,
                        bool folderReached) {
    const DirectoryEntry& entry = archiveState.entries[index];
    std::printf(progressFormat, index, nameLength(entry), entry.name);
    // Before the entry's own work, which may be long for a large one.
    flushProgressWhenDue();
    if (!archiveHolds(entry.offset, payloadLength)) stopBeforeWriting(kMissingData, entry);
    const std::string name(entry.name, entryNameLength(entry));
    OutputFile file(folderReached ? platform::openOutputFile(name.c_str()) : nullptr);
    if (!file) stopBeforeWriting(kUnableToOpenEntry, entry);
    return file;
}

PayloadBuffer allocatePayload(std::uint64_t length) {
    if (!fitsOneRead(length)) return nullptr;
    return PayloadBuffer(new (std::nothrow) unsigned char[static_cast<std::size_t>(length)]);
}

void stopExtraction(const char* message, const DirectoryEntry& entry, OutputFile& file,
                    PayloadBuffer outputBuffer, PayloadBuffer inputBuffer) {
    std::printf(message, nameLength(entry), entry.name);
    file.reset();
    fatalStop(std::move(outputBuffer), std::move(inputBuffer));
}

bool writeAndClose(OutputFile& file, const unsigned char* bytes, std::uint64_t length) {
    // Unbuffered, the entry goes out in one write; through the stream's buffer
    // it would take two or more.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    const auto count = static_cast<std::size_t>(length);
    const bool written = count == 0 || std::fwrite(bytes, 1, count, file.get()) == count;
    return std::fclose(file.release()) == 0 && written;
}

#include "extraction/writer_steps.h"

#include <new>
#include <string>
#include <utility>

#include "archive/archive_reads.h"
#include "archive/messages.h"
#include "platform/platform.h"

namespace {

int nameLength(const DirectoryEntry& entry) {
    return static_cast<int>(entryNameLength(entry));
}

}  // namespace

void announceEntry(const char* format, std::int32_t index, const DirectoryEntry& entry) {
    std::printf(format, index, nameLength(entry), entry.name);
}

void requirePayload(const DirectoryEntry& entry, std::uint64_t length) {
    if (archiveHolds(entry.offset, length)) return;
    std::printf(kMissingData, nameLength(entry), entry.name);
    fatalStop();
}

OutputFile openOutputOrStop(const DirectoryEntry& entry, bool folderReached) {
    const std::string name(entry.name, entryNameLength(entry));
    OutputFile file(folderReached ? platform::openOutputFile(name.c_str()) : nullptr);
    if (!file) {
        std::printf(kUnableToOpenEntry, nameLength(entry), entry.name);
        fatalStop();
    }
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
    const bool written = length == 0 || std::fwrite(bytes, 1, static_cast<std::size_t>(length), file.get()) == length;
    return std::fclose(file.release()) == 0 && written;
}

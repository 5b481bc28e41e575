#include "archive/load_archive.h"

#include <cstdint>
#include <cstdio>
#include <new>

#include "archive/archive_reads.h"
#include "archive/archive_state.h"
#include "archive/messages.h"
#include "platform/platform.h"

namespace {

[[noreturn]] void failLoading(const char* message) {
    std::printf(message, archiveState.archivePath);
    fatalStop();
}

void openArchiveStream() {
    const char* path = archiveState.archivePath;
    // Only a regular file is an archive: a folder or a pipe would open but
    // could not be read as one.
    if (platform::isRegularFile(path))
        archiveState.archiveStream.open(path, std::ios::in | std::ios::binary);
    if (!archiveState.archiveStream.is_open()) failLoading(kUnableToOpen);
    platform::rememberArchiveFile(path);
}

// A file shorter than the header cannot be an archive either.
void readHeader() {
    archiveState.header = std::make_unique<ArchiveHeader>();
    auto* bytes = reinterpret_cast<char*>(archiveState.header.get());
    archiveState.archiveStream.read(bytes, kHeaderBytes);
    if (archiveState.archiveStream.gcount() != static_cast<std::streamsize>(kHeaderBytes) ||
        !hasArchiveMagic(*archiveState.header))
        failLoading(kNotDatFile);
    decodeHeader(*archiveState.header);
}

void readDirectory() {
    const ArchiveHeader& header = *archiveState.header;
    const std::int32_t count = countEntries(header.directoryLength);
    const std::uint64_t tableBytes = std::uint64_t{kEntryBytes} * static_cast<std::uint64_t>(count);
    // Checked before allocating, so a hostile length costs nothing.
    if (count > 0 && !archiveHolds(header.directoryOffset, tableBytes))
        failLoading(kIncompleteFile);
    if (!fitsOneRead(tableBytes)) failLoading(kNotEnoughMemory);

    archiveState.entries.reset(new (std::nothrow) DirectoryEntry[static_cast<std::size_t>(count)]);
    if (!archiveState.entries) failLoading(kNotEnoughMemory);
    archiveState.entryCount = count;
    if (count == 0) return;

    // The file may have shrunk since its size was taken.
    if (!readArchiveBytes(header.directoryOffset, archiveState.entries.get(), tableBytes))
        failLoading(kIncompleteFile);
    for (std::int32_t i = 0; i < count; ++i) decodeEntry(archiveState.entries[i]);
}

}  // namespace

void loadArchive() {
    std::printf(kLoadingFile, archiveState.archivePath);
    openArchiveStream();
    readHeader();
    readDirectory();
}

void refuseArchivePath(const char* path) {
    std::printf(kLoadingFile, path);
    std::printf(kUnableToOpen, path);
    fatalStop();
}

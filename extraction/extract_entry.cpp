#include "extraction/extract_entry.h"

#include <cstdio>
#include <string_view>

#include "archive/archive_reads.h"
#include "archive/archive_state.h"
#include "archive/messages.h"
#include "extraction/entry_writers.h"
#include "extraction/name_safety.h"
#include "extraction/output_folders.h"
#include "platform/platform.h"

namespace {

// Before anything is made or opened on the entry's behalf.
void refuseUnsafeName(std::string_view name) {
    if (isSafeEntryName(name)) return;
    std::printf(kUnsafeFileName, static_cast<int>(name.size()), name.data());
    fatalStop();
}

// What a command knew of the disk may be stale: the user may have changed
// folders or the archive while the browser waited.
void startCommand() {
    forgetReachedFolders();
    forgetArchiveSize();
}

}  // namespace

void extractEntry(std::int32_t index) {
    const DirectoryEntry& entry = archiveState.entries[index];
    const std::string_view name(entry.name, entryNameLength(entry));
    refuseUnsafeName(name);
    const bool folderReached = prepareEntryFolders(name);
    if (entry.packedSize != 0)
        extractCompressed(index, folderReached);
    else
        extractStored(index, folderReached);
}

void extractAll() {
    startCommand();
    for (std::int32_t index = 0; index < archiveState.entryCount; ++index) extractEntry(index);
}

void promptForEntry() {
    std::printf(kWhichFileNumber);
    // The answer is typed on the prompt's line, so the prompt must show first.
    std::fflush(stdout);
    std::int32_t number = 0;
    if (!platform::readFileNumber(number) || number < 1 || number > archiveState.entryCount) {
        std::printf(kIllegalFileNumber);
        return;
    }
    startCommand();
    extractEntry(number - 1);
}

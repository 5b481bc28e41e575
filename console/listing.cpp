#include "console/listing.h"

#include <cstdio>

#include "archive/archive_state.h"
#include "archive/messages.h"

std::int32_t firstRow = 0;

void printEntryRow(std::int32_t index) {
    const DirectoryEntry& entry = archiveState.entries[index];
    std::printf(kEntryRow, index + 1, static_cast<int>(entryNameLength(entry)), entry.name,
                static_cast<unsigned>(entry.size));
}

void printPage() {
    for (std::int32_t row = 0; row < kPageRows && firstRow + row < archiveState.entryCount; ++row)
        printEntryRow(firstRow + row);
}

std::int32_t rowAfterPageUp(std::int32_t row) {
    return row - kPageRows < 0 ? 0 : row - kPageRows;
}

std::int32_t rowAfterPageDown(std::int32_t row, std::int32_t entryCount) {
    std::int32_t next = row + kPageRows;
    if (next >= entryCount) next = entryCount - kPageRows;
    return next < 0 ? 0 : next;
}

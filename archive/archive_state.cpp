#include "archive/archive_state.h"

#include "archive/process_end.h"

ArchiveState archiveState;

namespace {

void releaseDirectory() {
    archiveState.header.reset();
    archiveState.entries.reset();
    archiveState.entryCount = 0;
}

}  // namespace

void closeArchive() {
    archiveState.archiveStream.close();
    releaseDirectory();
}

void fatalStop(PayloadBuffer outputBuffer, PayloadBuffer inputBuffer) {
    if (archiveState.archiveStream.is_open()) archiveState.archiveStream.close();
    releaseDirectory();
    outputBuffer.reset();
    inputBuffer.reset();
    endProcess();
}

// The one record of the open archive, shared by the whole program, and the two
// ways a run lets go of it: closeArchive at the normal end, fatalStop on failure.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>

#include "archive/archive_format.h"
#include "archive/text_buffer.h"

// A payload buffer of an extraction: allocated uninitialised, since it is
// filled by a read or by inflation before anything looks at it.
using PayloadBuffer = std::unique_ptr<unsigned char[]>;

struct ArchiveState {
    TextBuffer archivePath = {};    // as the user gave it; shown in loading messages
    TextBuffer archiveFolder = {};  // the folder that holds the archive, absolute
    std::ifstream archiveStream;    // open for binary reading from loading to the end
    std::unique_ptr<ArchiveHeader> header;
    std::unique_ptr<DirectoryEntry[]> entries;  // entryCount records, in directory order
    std::int32_t entryCount = 0;
};

// Lives for the whole process: it exists, unopened, before main runs, and its
// destruction at process end closes the archive whichever way the run ends.
extern ArchiveState archiveState;

// Closes the archive, then releases the header, then the directory table.
void closeArchive();

// The common end of every failure, called after its message is printed:
// closes the archive, releases the header, the directory table and then the
// given buffers (output before input), and ends the process with status 0.
[[noreturn]] void fatalStop(PayloadBuffer outputBuffer = nullptr,
                            PayloadBuffer inputBuffer = nullptr);

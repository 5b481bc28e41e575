// The steps both writers share, each ending the run with its own error line
// when it fails.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

#include "archive/archive_format.h"
#include "archive/archive_state.h"

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OutputFile = std::unique_ptr<std::FILE, FileCloser>;

// Prints an entry's progress line, as stored or compressed.
void announceEntry(const char* format, std::int32_t index, const DirectoryEntry& entry);

// Ends the run unless the archive holds `length` bytes at the entry's offset.
// Checked before the output file is opened, so no file is emptied for nothing.
void requirePayload(const DirectoryEntry& entry, std::uint64_t length);

// Opens the entry's output file, or ends the run.
OutputFile openOutputOrStop(const DirectoryEntry& entry, bool folderReached);

// A buffer of `length` bytes; null when it cannot be had.
PayloadBuffer allocatePayload(std::uint64_t length);

// Prints `message` with the entry's name, closes the output file, and ends
// the run through fatalStop, which releases the buffers (output, then input).
[[noreturn]] void stopExtraction(const char* message, const DirectoryEntry& entry, OutputFile& file,
                                 PayloadBuffer outputBuffer = nullptr, PayloadBuffer inputBuffer = nullptr);

// Writes `length` bytes in one write and closes the file. False when the
// write or the close failed (a full disk shows at either).
bool writeAndClose(OutputFile& file, const unsigned char* bytes, std::uint64_t length);

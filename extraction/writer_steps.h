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

// The start both writers share: prints the entry's progress line, ends the
// run unless the archive holds its `payloadLength` bytes (checked before the
// open, so no file is emptied for nothing), and opens its output file, or
// ends the run.
OutputFile startWriting(const char* progressFormat, std::int32_t index, std::uint64_t payloadLength,
                        bool folderReached);

// A buffer of `length` bytes; null when it cannot be had.
PayloadBuffer allocatePayload(std::uint64_t length);

// Prints `message` with the entry's name, closes the output file, and ends
// the run through fatalStop, which releases the buffers (output, then input).
[[noreturn]] void stopExtraction(const char* message, const DirectoryEntry& entry, OutputFile& file,
                                 PayloadBuffer outputBuffer = nullptr, PayloadBuffer inputBuffer = nullptr);

// Writes `length` bytes in one write and closes the file. False when the
// write or the close failed (a full disk shows at either).
bool writeAndClose(OutputFile& file, const unsigned char* bytes, std::uint64_t length);

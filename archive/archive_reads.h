// Reads from the open archive by absolute position. A payload may lie
// anywhere below 4 GiB, so positions and lengths are 64-bit here.
#pragma once

#include <cstdint>

// The archive's current length in bytes; it is taken afresh on each call, as
// the file may have changed since it was loaded.
std::uint64_t archiveFileSize();

// True when `length` bytes at `offset` lie within the archive; always for no
// bytes, wherever the offset points. Within a command the length is taken
// afresh only when the bytes seem to lie beyond it, so an archive that shrinks
// during a command is noticed by the short read that follows
// (readArchiveBytes), not here.
bool archiveHolds(std::uint64_t offset, std::uint64_t length);

// Makes the next archiveHolds take the length afresh: at the start of every
// command, as the file may have changed while the browser waited.
void forgetArchiveSize();

// True when `length` bytes can be read into one buffer in one read.
bool fitsOneRead(std::uint64_t length);

// Positions the archive at `offset` (unless the last read ended there) and
// reads `length` bytes in one read. False when fewer bytes arrived.
bool readArchiveBytes(std::uint64_t offset, void* buffer, std::uint64_t length);

// The two writers: each moves one entry whole into its output file, opened by
// the entry's name relative to the current folder (the archive's folder).
// They return only when the file is written; any failure prints one error
// line and ends the run through fatalStop.
#pragma once

#include <cstdint>

// Copies a stored entry's `size` bytes: one read, one write.
// `folderReached` is false when the entry's folder could not be made current,
// so its file counts as unopenable.
void extractStored(std::int32_t index, bool folderReached);

// Inflates a compressed entry's `packedSize` bytes in one call (inflateWhole)
// into a buffer of `size` bytes and writes them in one write. The
// length produced replaces the entry's `size`, so the listing shows it.
void extractCompressed(std::int32_t index, bool folderReached);

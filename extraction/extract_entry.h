// Extraction of one entry and the two commands of the browser that ask for it.
#pragma once

#include <cstdint>

// Writes the entry at `index` (0 <= index < entryCount) beneath the archive's
// folder: refuses a name that would lead outside it, makes the folders of
// its path, then hands it to the stored or the compressed writer.
void extractEntry(std::int32_t index);

// Space: every entry in directory order. A failure ends the run, so the
// entries after it are not written.
void extractAll();

// Enter: asks for a file number counted from 1 and extracts that entry.
void promptForEntry();

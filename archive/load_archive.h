// Opening an archive, recognising it and reading its directory into memory.
#pragma once

// Opens the archive named by archiveState.archivePath, checks its magic and
// reads the whole directory into archiveState.entries. Returns only on
// success; every failure prints its message and ends through fatalStop.
void loadArchive();

// For a path that does not fit archivePath: prints the loading line and the
// open failure with the path as given, then ends through fatalStop.
[[noreturn]] void refuseArchivePath(const char* path);

// The services of the host that the rest of the program uses. Each host has
// its own implementation files (*_posix.cpp, *_windows.cpp); the build picks one set.
#pragma once

#include <cstddef>

namespace platform {

// What readConsoleKey returns when there is no console to read, or its input has ended.
inline constexpr int kNoConsoleKey = -1;

// Waits for one key press on the console itself (never standard input) and
// returns its code, without echo and without waiting for Enter. A key without
// a character arrives as two codes on two calls: a lead code (0 or 224), then
// the key's own code. Standard output is flushed before the wait.
int readConsoleKey();

// Asks the user for an existing file, showing `title` and the pairs of label
// and pattern in `filter` (NUL-separated, ended by an empty string). Returns
// non-zero with the chosen path in `path`; 0 when the user cancelled, no way
// of asking exists, or the path does not fit `capacity` bytes with its NUL.
int showOpenFileDialog(const char* title, const char* filter, char* path, std::size_t capacity);

// Fills `folder` with the absolute path of the folder that holds the file at
// `archivePath`. Leaves it empty when that path does not fit `capacity` bytes.
void findArchiveFolder(const char* archivePath, char* folder, std::size_t capacity);

// True when `path` names an existing regular file (not a folder, pipe or device).
bool isRegularFile(const char* path);

}  // namespace platform

// The services of the host that the rest of the program uses. Each host has
// its own implementation files (*_posix.cpp, *_windows.cpp); the build picks one set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

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

// The current folder, through which extraction creates an entry's folders
// one level at a time. On Windows the archive's drive is made current too.

// The separator the host puts between the folders of a path it shows.
extern const char kFolderSeparator;

// Makes `folder`, an absolute path, the current folder.
// False when it cannot be entered.
bool enterFolder(const char* folder);

// Copies the absolute path of the current folder into `buffer`. False, with
// the buffer untouched, when it cannot be read or does not fit `capacity`.
bool copyCurrentFolder(char* buffer, std::size_t capacity);

// Creates the folder `name` relative to the current folder. True only when
// this call created it (false when it exists already or cannot be made).
bool makeFolder(const char* name);

// Marks the file at `path` as the open archive, which openOutputFile must
// never open, whatever name or link leads to it.
void rememberArchiveFile(const char* path);

// Opens an entry's output file for binary writing, relative to the current
// folder, creating it or emptying it. `name` is the entry's name, with the
// archive's backslashes. Null when it cannot be opened, or is the archive.
std::FILE* openOutputFile(const char* name);

// Reads the answer to the file-number prompt from standard input: an integer
// in C's syntax (sign, 0x for hexadecimal, 0 for octal) of at most 15
// characters, clamped to the signed 32-bit range. What follows the number
// stays pending for the next read. False when no number could be read; from
// then on every read is false at once.
bool readFileNumber(std::int32_t& number);

}  // namespace platform

// The folders of an entry's path, created beneath the archive's folder one
// level at a time through the current folder, before the entry's file is written.
#pragma once

#include <cstddef>
#include <string_view>

#include "archive/text_buffer.h"

// The absolute path of the folder the walk has reached, shown in the
// made-directory lines. Refilled at the start of every extraction.
extern TextBuffer createdPath;

// Appends the host's separator (unless `path` already ends with one, as the
// root does) and `folder` to the text in `path`. False, with `path`
// unchanged, when the result would not fit `capacity` bytes with its NUL.
bool appendFolder(char* path, std::size_t capacity, std::string_view folder);

// Creates the folders of `name` (all its backslash-separated components but
// the last) one below the other, entering each, and announces each folder it
// created. Starts at the current folder, whose path is in createdPath.
// False when a folder could not be entered or its path does not fit createdPath.
bool makeEntryFolders(std::string_view name);

// Makes the archive's folder current, fills createdPath, makes the folders of
// `name` and makes the archive's folder current again, so that the entry's
// file can be opened by its relative name. False when the entry's folder was
// not reached: its file must then be taken as unopenable.
// Within one command, an entry in the same folder as the entry before it
// finds everything in place already, and the host is not asked again.
bool prepareEntryFolders(std::string_view name);

// Starts a command (extract-all, or one entry): the folders reached before
// are looked at afresh, since the user may have changed them meanwhile.
void forgetReachedFolders();

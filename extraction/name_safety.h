// Which entry names may be extracted: those that stay inside the archive's folder.
#pragma once

#include <string_view>

// False for a name that could lead outside the archive's folder on any host,
// with both '\' and '/' taken as separators: one that begins with a
// separator, has two separators in a row, has a component "." or ".." (or
// one of dots and spaces only, which Windows reads as such), or has a
// component that begins with a drive ("C:"). A trailing separator is allowed.
bool isSafeEntryName(std::string_view name);

// How each host finds the folder that holds a file, as pure text rules.
#pragma once

#include <string>

namespace platform {

// Windows: the path without its last backslash and what follows; a path with
// no backslash, or whose only backslash is its first character, stays whole.
// A forward slash does not separate. "C:\sounds.dat" gives "C:".
std::string windowsArchiveFolder(const std::string& path);

// POSIX, for an absolute path: the path without its last '/' and what
// follows, and "/" for a file in the root. A backslash does not separate.
std::string posixArchiveFolder(const std::string& absolutePath);

// POSIX: `path` made absolute against `currentFolder` when it is relative.
std::string posixAbsolutePath(const std::string& currentFolder, const std::string& path);

}  // namespace platform

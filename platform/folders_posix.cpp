// The current folder and the output files on a POSIX host. Archive names
// separate folders with backslashes; the host's separator is '/'.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "archive/text_buffer.h"
#include "platform/platform.h"

namespace platform {

const char kFolderSeparator = '/';

bool enterFolder(const char* folder) {
    return folder[0] != '\0' && chdir(folder) == 0;
}

bool copyCurrentFolder(char* buffer, std::size_t capacity) {
    // Read whole first, so a path that does not fit leaves the buffer as it was.
    const std::unique_ptr<char, decltype(&std::free)> current(getcwd(nullptr, 0), &std::free);
    if (!current || std::char_traits<char>::length(current.get()) >= capacity) return false;
    return copyText(buffer, capacity, current.get());
}

bool makeFolder(const char* name) {
    return mkdir(name, 0777) == 0;
}

std::FILE* openOutputFile(const char* name) {
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return std::fopen(path.c_str(), "wb");
}

}  // namespace platform

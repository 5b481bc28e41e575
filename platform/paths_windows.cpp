// The archive's folder on Windows. The path is made full first, so that a
// relative path, a path with forward slashes or one with "." and ".." in it
// still gives the drive letter and folder that extraction works through.
#include <windows.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <string>

#include "archive/text_buffer.h"
#include "platform/path_rules.h"
#include "platform/platform.h"

namespace platform {

namespace {

// Empty when the path cannot be made full.
std::string fullPath(const char* path) {
    const DWORD needed = GetFullPathNameA(path, 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::string full(needed, '\0');
    const DWORD length = GetFullPathNameA(path, needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return {};
    full.resize(length);
    return full;
}

}  // namespace

void findArchiveFolder(const char* archivePath, char* folder, std::size_t capacity) {
    const std::string full = archivePath[0] != '\0' ? fullPath(archivePath) : std::string();
    copyText(folder, capacity, full.empty() ? "" : windowsArchiveFolder(full).c_str());
}

bool isRegularFile(const char* path) {
    struct _stat64 status;
    return _stat64(path, &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFREG;
}

}  // namespace platform

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "archive/text_buffer.h"
#include "platform/path_rules.h"
#include "platform/platform.h"

namespace platform {

namespace {

std::string currentFolder() {
    const std::unique_ptr<char, decltype(&std::free)> path(getcwd(nullptr, 0), &std::free);
    return path ? std::string(path.get()) : std::string();
}

}  // namespace

void findArchiveFolder(const char* archivePath, char* folder, std::size_t capacity) {
    std::string absolutePath = archivePath;
    if (absolutePath.empty() || absolutePath.front() != '/') {
        const std::string current = currentFolder();
        // Without a current folder there is nothing to resolve a relative path against.
        if (current.empty()) {
            copyText(folder, capacity, "");
            return;
        }
        absolutePath = posixAbsolutePath(current, absolutePath);
    }
    copyText(folder, capacity, posixArchiveFolder(absolutePath).c_str());
}

bool isRegularFile(const char* path) {
    struct stat status;
    return stat(path, &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace platform

#include "platform/path_rules.h"

namespace platform {

std::string windowsArchiveFolder(const std::string& path) {
    const std::size_t lastBackslash = path.rfind('\\');
    if (lastBackslash == std::string::npos || lastBackslash == 0) return path;
    return path.substr(0, lastBackslash);
}

std::string posixArchiveFolder(const std::string& absolutePath) {
    const std::size_t lastSlash = absolutePath.rfind('/');
    if (lastSlash == std::string::npos) return absolutePath;
    if (lastSlash == 0) return "/";
    return absolutePath.substr(0, lastSlash);
}

std::string posixAbsolutePath(const std::string& currentFolder, const std::string& path) {
    if (!path.empty() && path.front() == '/') return path;
    if (!currentFolder.empty() && currentFolder.back() == '/') return currentFolder + path;
    return currentFolder + "/" + path;
}

}  // namespace platform

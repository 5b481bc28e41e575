#include "extraction/output_folders.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "archive/archive_state.h"
#include "archive/messages.h"
#include "platform/platform.h"

TextBuffer createdPath = {};

bool appendFolder(char* path, std::size_t capacity, std::string_view folder) {
    const std::size_t length = strnlen(path, capacity);
    const bool needsSeparator = length == 0 || path[length - 1] != platform::kFolderSeparator;
    const std::size_t added = (needsSeparator ? 1 : 0) + folder.size();
    if (length >= capacity || added >= capacity - length) return false;
    char* end = path + length;
    if (needsSeparator) *end++ = platform::kFolderSeparator;
    std::memcpy(end, folder.data(), folder.size());
    end[folder.size()] = '\0';
    return true;
}

namespace {

// Creates one folder of the walk below the current folder and enters it.
bool enterNewFolder(std::string_view component) {
    if (!appendFolder(createdPath, sizeof createdPath, component)) return false;
    const std::string folder(component);
    if (platform::makeFolder(folder.c_str())) std::printf(kMadeDirectory, createdPath);
    // A folder that could neither be made nor entered (a file of that name,
    // no permission) ends the walk, so nothing is made in the wrong place.
    return platform::enterFolder(createdPath);
}

}  // namespace

bool makeEntryFolders(std::string_view name) {
    std::size_t start = 0;
    while (start < name.size()) {
        // A component's first character never separates.
        const std::size_t end = name.find('\\', start + 1);
        if (end == std::string_view::npos) return true;  // the last component names the file
        if (!enterNewFolder(name.substr(start, end - start))) return false;
        start = end + 1;
    }
    return true;
}

bool prepareEntryFolders(std::string_view name) {
    const char* archiveFolder = archiveState.archiveFolder;
    const bool reached = platform::enterFolder(archiveFolder) &&
                         platform::copyCurrentFolder(createdPath, sizeof createdPath) &&
                         makeEntryFolders(name);
    return platform::enterFolder(archiveFolder) && reached;
}

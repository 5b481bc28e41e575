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

namespace {

// The folder part of the last name whose folders were reached, with the
// archive's folder current again afterwards; empty for a name without one.
// Known for one command only: between commands the user may delete folders.
std::string reachedFolder;
bool reachedFolderKnown = false;

// The part of `name` that the walk turns into folders: all but the last
// component. A component's first character never separates.
std::string_view folderPartOf(std::string_view name) {
    const std::size_t end = name.rfind('\\');
    return end == std::string_view::npos || end == 0 ? std::string_view() : name.substr(0, end);
}

// Enters the entry's folder at once when it exists already, as it does for
// every entry but the first of a folder: the walk would make nothing and
// print nothing there. Leaves createdPath as the walk would.
bool enterExistingFolder(std::string_view name) {
    TextBuffer path;
    std::memcpy(path, createdPath, sizeof path);
    std::size_t start = 0;
    for (std::size_t end = name.find('\\', 1); end != std::string_view::npos; end = name.find('\\', start + 1)) {
        if (!appendFolder(path, sizeof path, name.substr(start, end - start))) return false;
        start = end + 1;
    }
    if (!platform::enterFolder(path)) return false;
    std::memcpy(createdPath, path, sizeof path);
    return true;
}

}  // namespace

void forgetReachedFolders() {
    reachedFolderKnown = false;
}

bool prepareEntryFolders(std::string_view name) {
    const std::string_view folder = folderPartOf(name);
    // The previous entry of the same folder left the archive's folder
    // current and its own folder in place: nothing is left to do.
    if (reachedFolderKnown && folder == reachedFolder) return true;
    reachedFolderKnown = false;
    const char* archiveFolder = archiveState.archiveFolder;
    const bool reached = platform::enterFolder(archiveFolder) &&
                         platform::copyCurrentFolder(createdPath, sizeof createdPath) &&
                         (folder.empty() || enterExistingFolder(name) || makeEntryFolders(name));
    const bool back = platform::enterFolder(archiveFolder);
    if (reached && back) {
        reachedFolder = folder;
        reachedFolderKnown = true;
    }
    return back && reached;
}

// Pieces of the open-file dialog that do not depend on the host.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct FileFilter {
    std::string label;    // shown to the user, e.g. "Text Files (*.txt)"
    std::string pattern;  // e.g. "*.txt"
};

// Splits a filter block (label, NUL, pattern, NUL, ..., ended by an empty
// string) into its pairs. An unpaired last label is dropped.
std::vector<FileFilter> parseFilterBlock(const char* block);

}  // namespace platform

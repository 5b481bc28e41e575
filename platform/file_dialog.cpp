#include "platform/file_dialog.h"

#include <cstring>

namespace platform {

std::vector<FileFilter> parseFilterBlock(const char* block) {
    std::vector<FileFilter> filters;
    while (*block != '\0') {
        const char* label = block;
        const char* pattern = label + std::strlen(label) + 1;
        if (*pattern == '\0') break;
        filters.push_back({label, pattern});
        block = pattern + std::strlen(pattern) + 1;
    }
    return filters;
}

}  // namespace platform

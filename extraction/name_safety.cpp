#include "extraction/name_safety.h"

namespace {

bool isSeparator(char character) {
    return character == '\\' || character == '/';
}

bool isAsciiLetter(char character) {
    return (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z');
}

// Windows takes "C:name" as a path on drive C, wherever it stands, so a
// component handed alone to the folder functions must not begin so.
bool beginsWithDrive(std::string_view component) {
    return component.size() >= 2 && isAsciiLetter(component[0]) && component[1] == ':';
}

// ".", "..", and what Windows makes of them by dropping a component's
// trailing dots and spaces: "...", ".. ", ". .".
bool namesCurrentOrParent(std::string_view component) {
    return component.find('.') != std::string_view::npos &&
           component.find_first_not_of(". ") == std::string_view::npos;
}

bool isSafeComponent(std::string_view component) {
    return !namesCurrentOrParent(component) && !beginsWithDrive(component);
}

}  // namespace

bool isSafeEntryName(std::string_view name) {
    std::size_t start = 0;
    for (;;) {
        std::size_t end = start;
        while (end < name.size() && !isSeparator(name[end])) ++end;
        const std::string_view component = name.substr(start, end - start);
        // Only the last component may be empty, after a trailing separator;
        // an empty one before it is a leading or doubled separator.
        if (end == name.size()) return isSafeComponent(component);
        if (component.empty() || !isSafeComponent(component)) return false;
        start = end + 1;
    }
}

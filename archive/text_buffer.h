// The program's paths live in fixed text buffers of 512 bytes; nothing is
// ever written past them.
#pragma once

#include <cstddef>
#include <cstring>

inline constexpr std::size_t kTextBufferBytes = 512;
using TextBuffer = char[kTextBufferBytes];

// Copies text with its NUL into a buffer of `capacity` bytes. Returns false,
// leaving the buffer empty, when the text does not fit.
inline bool copyText(char* buffer, std::size_t capacity, const char* text) {
    const std::size_t length = std::strlen(text);
    if (capacity == 0) return false;
    if (length >= capacity) {
        buffer[0] = '\0';
        return false;
    }
    std::memcpy(buffer, text, length + 1);
    return true;
}

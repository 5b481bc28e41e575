// Turns the bytes a terminal sends for a key press into console key codes: a
// character's own code, or for a key without a character a lead code (224 for
// the cursor block, 0 for the function keys) and the key's second code.
#pragma once

#include <cstddef>

namespace platform {

inline constexpr unsigned char kEscapeByte = 27;

struct DecodedKey {
    std::size_t consumed = 0;  // 0: the bytes may still grow into one sequence
    int codes[2] = {0, 0};
    int codeCount = 0;         // 0 with consumed > 0: a sequence for no known key
};

// Decodes the first key in `bytes`. With `moreMayFollow` an incomplete escape
// sequence asks for more bytes (consumed 0); without it, an Escape that starts
// no complete sequence is a press of Escape alone, and the bytes after it are
// left for the next key.
DecodedKey decodeTerminalKey(const unsigned char* bytes, std::size_t count, bool moreMayFollow);

}  // namespace platform

#include "platform/terminal_keys.h"

namespace platform {

namespace {

constexpr int kCursorLead = 224;
constexpr int kFunctionLead = 0;
// Longest escape sequence looked at; longer ones are reports no key sends.
constexpr std::size_t kLongestSequence = 16;

DecodedKey oneCode(std::size_t consumed, int code) {
    return DecodedKey{consumed, {code, 0}, 1};
}

DecodedKey twoCodes(std::size_t consumed, int lead, int second) {
    return DecodedKey{consumed, {lead, second}, 2};
}

DecodedKey noKey(std::size_t consumed) {
    return DecodedKey{consumed, {0, 0}, 0};
}

DecodedKey needMore() {
    return DecodedKey{};
}

DecodedKey escapeAlone() {
    return oneCode(1, kEscapeByte);
}

// Keys named by the final letter of ESC [ x, ESC [ 1 ; mod x or ESC O x.
DecodedKey keyByFinalLetter(std::size_t consumed, unsigned char letter) {
    switch (letter) {
    case 'A': return twoCodes(consumed, kCursorLead, 72);  // Up
    case 'B': return twoCodes(consumed, kCursorLead, 80);  // Down
    case 'C': return twoCodes(consumed, kCursorLead, 77);  // Right
    case 'D': return twoCodes(consumed, kCursorLead, 75);  // Left
    case 'H': return twoCodes(consumed, kCursorLead, 71);  // Home
    case 'F': return twoCodes(consumed, kCursorLead, 79);  // End
    case 'P': return twoCodes(consumed, kFunctionLead, 59);  // F1
    case 'Q': return twoCodes(consumed, kFunctionLead, 60);  // F2
    case 'R': return twoCodes(consumed, kFunctionLead, 61);  // F3
    case 'S': return twoCodes(consumed, kFunctionLead, 62);  // F4
    case 'Z': return twoCodes(consumed, kFunctionLead, 15);  // Shift+Tab
    default: return noKey(consumed);
    }
}

// Keys named by the number of ESC [ n ~ (the VT220 form).
DecodedKey keyByNumber(std::size_t consumed, int number) {
    switch (number) {
    case 1: case 7: return twoCodes(consumed, kCursorLead, 71);  // Home
    case 2: return twoCodes(consumed, kCursorLead, 82);          // Insert
    case 3: return twoCodes(consumed, kCursorLead, 83);          // Delete
    case 4: case 8: return twoCodes(consumed, kCursorLead, 79);  // End
    case 5: return twoCodes(consumed, kCursorLead, 73);          // Page Up
    case 6: return twoCodes(consumed, kCursorLead, 81);          // Page Down
    case 23: return twoCodes(consumed, kCursorLead, 133);        // F11
    case 24: return twoCodes(consumed, kCursorLead, 134);        // F12
    default: break;
    }
    if (number >= 11 && number <= 15) return twoCodes(consumed, kFunctionLead, 59 + number - 11);
    if (number >= 17 && number <= 21) return twoCodes(consumed, kFunctionLead, 64 + number - 17);
    return noKey(consumed);
}

// ESC [ [ A to ESC [ [ E: F1 to F5 on the Linux console.
DecodedKey decodeLinuxFunctionKey(const unsigned char* bytes, std::size_t count, bool moreMayFollow) {
    if (count < 4) return moreMayFollow ? needMore() : escapeAlone();
    if (bytes[3] >= 'A' && bytes[3] <= 'E') return twoCodes(4, kFunctionLead, 59 + bytes[3] - 'A');
    return noKey(4);
}

// ESC [ or ESC O, then parameter bytes (digits and ';'), then one final byte.
DecodedKey decodeSequence(const unsigned char* bytes, std::size_t count, bool moreMayFollow) {
    const bool isCsi = bytes[1] == '[';
    if (isCsi && count > 2 && bytes[2] == '[') return decodeLinuxFunctionKey(bytes, count, moreMayFollow);

    int firstNumber = 0;
    bool inFirstNumber = true;
    for (std::size_t i = 2; i < count && i < kLongestSequence; ++i) {
        const unsigned char byte = bytes[i];
        if (byte >= '0' && byte <= '9') {
            if (inFirstNumber && firstNumber < 1000) firstNumber = firstNumber * 10 + (byte - '0');
        } else if (byte >= 0x20 && byte <= 0x3F) {
            inFirstNumber = false;  // ';' and the like: modifiers follow
        } else if (byte >= 0x40 && byte <= 0x7E) {
            if (!isCsi && byte == 'M') return oneCode(i + 1, 13);  // keypad Enter
            if (isCsi && byte == '~') return keyByNumber(i + 1, firstNumber);
            return keyByFinalLetter(i + 1, byte);
        } else {
            return escapeAlone();  // not a sequence after all
        }
    }
    if (count >= kLongestSequence) return noKey(kLongestSequence);
    return moreMayFollow ? needMore() : escapeAlone();
}

}  // namespace

DecodedKey decodeTerminalKey(const unsigned char* bytes, std::size_t count, bool moreMayFollow) {
    if (count == 0) return needMore();
    if (bytes[0] != kEscapeByte) return oneCode(1, bytes[0]);
    if (count == 1) return moreMayFollow ? needMore() : escapeAlone();
    if (bytes[1] == '[' || bytes[1] == 'O') return decodeSequence(bytes, count, moreMayFollow);
    return escapeAlone();
}

}  // namespace platform

// The syntax of the file-number prompt's answer, read from a stdio stream so
// that what follows a number stays in the stream for the next prompt.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>

namespace platform {

// Longest answer taken, sign and base prefix included; the next character
// starts the next answer.
inline constexpr int kLongestNumber = 15;

struct NumberInput {
    std::FILE* stream = nullptr;
    // Set by the first read that yields no number; it never clears, and every
    // later read yields nothing without touching the stream.
    bool failed = false;
};

// Skips white space (waiting for further lines), then reads an optional sign
// and digits: "0x" or "0X" for hexadecimal, a leading 0 for octal, decimal
// otherwise. A value beyond the signed 32-bit range becomes its nearest end.
// The first character that does not belong to the number is left in the stream.
std::optional<std::int32_t> readNumber(NumberInput& input);

}  // namespace platform

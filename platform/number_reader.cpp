#include "platform/number_reader.h"

#include <cctype>
#include <limits>

namespace platform {

namespace {

// The characters of one answer, taken one by one up to its length limit. The
// end of the input is remembered, so a terminal is never asked again after it.
struct Scanner {
    static constexpr int kNotRead = -2;

    std::FILE* stream;
    int taken = 0;
    int next = kNotRead;  // looked at, not yet taken
    bool ended = false;

    int peek() {
        if (taken >= kLongestNumber) return EOF;
        if (next == kNotRead && !ended) next = std::getc(stream);
        if (next == EOF) ended = true;
        return ended ? EOF : next;
    }
    void take() {
        ++taken;
        next = kNotRead;
    }
    // Returns the character looked at, and not taken, to the stream.
    void leave() {
        if (next != kNotRead && next != EOF) std::ungetc(next, stream);
        next = kNotRead;
    }
};

int skipWhiteSpace(std::FILE* stream) {
    int character = std::getc(stream);
    while (character != EOF && std::isspace(character)) character = std::getc(stream);
    return character;
}

int digitValue(int character) {
    if (character >= '0' && character <= '9') return character - '0';
    if (character >= 'a' && character <= 'f') return character - 'a' + 10;
    if (character >= 'A' && character <= 'F') return character - 'A' + 10;
    return std::numeric_limits<int>::max();
}

// At most 15 hexadecimal digits, 60 bits: the magnitude never overflows.
std::int32_t clampToInt32(bool negative, std::uint64_t magnitude) {
    constexpr std::uint64_t kLargest = std::numeric_limits<std::int32_t>::max();
    if (!negative) return magnitude > kLargest ? std::numeric_limits<std::int32_t>::max()
                                               : static_cast<std::int32_t>(magnitude);
    if (magnitude > kLargest + 1) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
}

// Reads the digits of `base`; `prefixDigit` counts a leading 0 already taken.
std::optional<std::uint64_t> readDigits(Scanner& scanner, int base, bool prefixDigit) {
    std::uint64_t magnitude = 0;
    bool anyDigit = prefixDigit;
    while (digitValue(scanner.peek()) < base) {
        magnitude = magnitude * static_cast<std::uint64_t>(base) +
                    static_cast<std::uint64_t>(digitValue(scanner.peek()));
        scanner.take();
        anyDigit = true;
    }
    if (!anyDigit) return std::nullopt;
    return magnitude;
}

std::optional<std::uint64_t> readMagnitude(Scanner& scanner) {
    if (scanner.peek() != '0') return readDigits(scanner, 10, false);
    scanner.take();
    if (scanner.peek() != 'x' && scanner.peek() != 'X') return readDigits(scanner, 8, true);
    scanner.take();
    return readDigits(scanner, 16, false);
}

}  // namespace

std::optional<std::int32_t> readNumber(NumberInput& input) {
    if (input.failed) return std::nullopt;
    Scanner scanner{input.stream};
    scanner.next = skipWhiteSpace(input.stream);

    bool negative = false;
    if (scanner.peek() == '+' || scanner.peek() == '-') {
        negative = scanner.peek() == '-';
        scanner.take();
    }
    const std::optional<std::uint64_t> magnitude = readMagnitude(scanner);
    scanner.leave();
    // A number ended by the end of the input is still taken, but nothing can follow it.
    if (!magnitude || scanner.ended) input.failed = true;
    if (!magnitude) return std::nullopt;
    return clampToInt32(negative, *magnitude);
}

}  // namespace platform

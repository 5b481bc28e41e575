// Any bytes as what is typed at the file-number prompt, read answer after
// answer until the input fails. Each number taken must be exactly what C's
// strtoll makes of the characters taken (at most 15 after the white space),
// clamped to the signed 32-bit range, and a failed input must take nothing more.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/number_reader.h"

namespace {

std::int32_t clamped(long long value) {
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

void checkAnswer(const std::string& taken, std::int32_t number) {
    std::size_t start = 0;
    while (start < taken.size() && std::isspace(static_cast<unsigned char>(taken[start]))) ++start;
    const std::string text = taken.substr(start);
    if (text.empty() || text.size() > static_cast<std::size_t>(platform::kLongestNumber))
        fuzz::fail("took " + std::to_string(text.size()) + " characters for a number");
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 0);
    if (end != text.c_str() + text.size()) fuzz::fail("took more than a number: " + text);
    if (clamped(value) != number) fuzz::fail("read " + text + " as " + std::to_string(number));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string typed(reinterpret_cast<const char*>(data), size);
    std::FILE* stream = std::tmpfile();
    if (!stream) fuzz::fail("no temporary file");
    std::fwrite(typed.data(), 1, typed.size(), stream);
    std::rewind(stream);

    platform::NumberInput input{stream};
    // Every read that yields a number takes at least one character, so the
    // input fails before this many reads.
    for (std::size_t read = 0; read <= size + 1; ++read) {
        const long before = std::ftell(stream);
        const std::optional<std::int32_t> number = platform::readNumber(input);
        const long after = std::ftell(stream);
        if (number) {
            if (after <= before) fuzz::fail("a number that took no characters");
            checkAnswer(typed.substr(static_cast<std::size_t>(before), static_cast<std::size_t>(after - before)),
                        *number);
        }
        if (input.failed) {
            const long failedAt = std::ftell(stream);
            if (platform::readNumber(input) || std::ftell(stream) != failedAt)
                fuzz::fail("a failed input took more");
            break;
        }
    }
    if (!input.failed) fuzz::fail("the input never failed");
    std::fclose(stream);
    return 0;
}

// The prompt's number read, the same on every host: standard input through
// stdio, whose buffer keeps what was typed after a number for the next prompt.
#include <cstdio>

#include "platform/number_reader.h"
#include "platform/platform.h"

namespace platform {

bool readFileNumber(std::int32_t& number) {
    static NumberInput standardInput{stdin};
    const std::optional<std::int32_t> answer = readNumber(standardInput);
    if (answer) number = *answer;
    return answer.has_value();
}

}  // namespace platform

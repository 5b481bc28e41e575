#include "platform/terminal_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Decodes every key of `bytes` as if nothing more would arrive.
std::vector<int> decodeAll(const std::string& bytes) {
    std::vector<int> codes;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const auto* data = reinterpret_cast<const unsigned char*>(bytes.data()) + at;
        const platform::DecodedKey key = platform::decodeTerminalKey(data, bytes.size() - at, false);
        if (key.consumed == 0) break;
        codes.insert(codes.end(), key.codes, key.codes + key.codeCount);
        at += key.consumed;
    }
    return codes;
}

TEST(TerminalKeys, SequencesBecomeTheTwoCodeForm) {
    const struct {
        const char* name;
        std::string bytes;
        std::vector<int> codes;
    } cases[] = {
        {"Up", "\x1b[A", {224, 72}},
        {"Down", "\x1b[B", {224, 80}},
        {"Right", "\x1b[C", {224, 77}},
        {"Left", "\x1b[D", {224, 75}},
        {"Up, application cursor", "\x1bOA", {224, 72}},
        {"Down, application cursor", "\x1bOB", {224, 80}},
        {"Home", "\x1b[H", {224, 71}},
        {"Home, application", "\x1bOH", {224, 71}},
        {"Home, VT220", "\x1b[1~", {224, 71}},
        {"Home, rxvt", "\x1b[7~", {224, 71}},
        {"End", "\x1b[F", {224, 79}},
        {"End, VT220", "\x1b[4~", {224, 79}},
        {"End, rxvt", "\x1b[8~", {224, 79}},
        {"Insert", "\x1b[2~", {224, 82}},
        {"Delete", "\x1b[3~", {224, 83}},
        {"Page Up", "\x1b[5~", {224, 73}},
        {"Page Down", "\x1b[6~", {224, 81}},
        {"F1", "\x1bOP", {0, 59}},
        {"F4", "\x1bOS", {0, 62}},
        {"F1, VT220", "\x1b[11~", {0, 59}},
        {"F5", "\x1b[15~", {0, 63}},
        {"F6", "\x1b[17~", {0, 64}},
        {"F10", "\x1b[21~", {0, 68}},
        {"F1, Linux console", "\x1b[[A", {0, 59}},
        {"F5, Linux console", "\x1b[[E", {0, 63}},
        {"Ctrl+Up ignores its modifier", "\x1b[1;5A", {224, 72}},
        {"Shift+F5 ignores its modifier", "\x1b[15;2~", {0, 63}},
        {"keypad Enter", "\x1bOM", {13}},
        {"Enter", "\r", {13}},
        {"Space", " ", {32}},
        {"capital H", "H", {72}},
        {"Ctrl+C", "\x03", {3}},
        {"a byte above 127", "\xe9", {0xe9}},
        {"Escape alone", "\x1b", {27}},
        {"Escape then a letter", "\x1bx", {27, 'x'}},
        {"Escape twice", "\x1b\x1b", {27, 27}},
        {"Escape twice, then Up", "\x1b\x1b[A", {27, 224, 72}},
        {"an unknown sequence is no key", "\x1b[99~", {}},
        {"an unknown final letter is no key", "\x1b[E", {}},
        {"keys typed ahead", "\x1b[BP\x1b[A", {224, 80, 'P', 224, 72}},
    };
    for (const auto& c : cases) EXPECT_EQ(decodeAll(c.bytes), c.codes) << c.name;
}

TEST(TerminalKeys, AnIncompleteSequenceWaitsForMoreWhileMoreMayFollow) {
    for (const std::string prefix : {"\x1b", "\x1b[", "\x1bO", "\x1b[1", "\x1b[15;", "\x1b[["}) {
        const auto* data = reinterpret_cast<const unsigned char*>(prefix.data());
        EXPECT_EQ(platform::decodeTerminalKey(data, prefix.size(), true).consumed, 0u) << prefix.substr(1);
        // Nothing more came: it was a press of Escape alone.
        const platform::DecodedKey alone = platform::decodeTerminalKey(data, prefix.size(), false);
        EXPECT_EQ(alone.consumed, 1u);
        ASSERT_EQ(alone.codeCount, 1);
        EXPECT_EQ(alone.codes[0], 27);
    }
}

TEST(TerminalKeys, AnOverlongSequenceIsDroppedNotWaitedFor) {
    const std::string bytes = "\x1b[" + std::string(40, '1');
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const platform::DecodedKey key = platform::decodeTerminalKey(data, bytes.size(), true);
    EXPECT_GT(key.consumed, 0u);
    EXPECT_EQ(key.codeCount, 0);
}

}  // namespace

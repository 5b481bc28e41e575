// Writes the fuzzers' seed corpus: archives of every shape the tests build
// (for the loading and extraction targets), answers to the number prompt,
// and entry names.
//   make-seed-corpus FOLDER   writes FOLDER/archives, FOLDER/numbers, FOLDER/names
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/archive_writer.h"

namespace {

using fixture::Entry;
using fixture::Layout;

struct Seed {
    const char* name;
    std::string bytes;
};

Entry withSize(Entry entry, std::uint32_t size) {
    entry.size = size;
    return entry;
}

Entry sharing(Entry entry, std::size_t index) {
    entry.samePayloadAs = index;
    return entry;
}

Entry withPayload(Entry entry, std::string payload) {
    entry.payload = std::move(payload);
    return entry;
}

Entry atOffset(Entry entry, std::uint32_t offset) {
    entry.offset = offset;
    return entry;
}

std::vector<Seed> archiveSeeds() {
    const std::string text = "row 1: ##..##..~~..##\nrow 2: ##..##..~~..##\nrow 3: ##..##..~~..##\n";
    const std::string binary = std::string("line\r\nnext\n\0\x1a\xff\x80 end", 20);
    const std::vector<Entry> mixed = {
        {"readme.txt", binary}, {"data\\maps\\level1.map", text, true}, {"data\\empty.bin", ""},
        {"data\\maps\\empty.z", "", true}, {"a\\b.bin", "one-letter folder"}};
    const std::string fullName = "long\\" + std::string(123, 'n');  // fills the field, no NUL
    Layout tail;
    tail.directoryTailBytes = 12;
    Layout badMagic;
    badMagic.magic = "KDAU";
    Layout farDirectory;
    farDirectory.directoryOffset = 0xFFFFFF00u;
    return {
        {"stored", fixture::buildArchive({{"one.txt", "stored bytes"}})},
        {"compressed", fixture::buildArchive({{"one.txt", text, true}})},
        {"empty", fixture::buildArchive({})},
        {"mixed", fixture::buildArchive(mixed)},
        {"directory-first", fixture::buildArchive(mixed, {.directoryFirst = true})},
        {"payloads-reversed", fixture::buildArchive(mixed, {.directoryFirst = true, .payloadsReversed = true})},
        {"shared-payload", fixture::buildArchive({{"a.map", text, true}, sharing({"copy.map", text, true}, 0)})},
        {"nested-folders", fixture::buildArchive({{"a\\b\\c\\d\\e.txt", "deep"}, {"a\\b\\f.txt", "less deep"}})},
        {"name-without-nul", fixture::buildArchive({{fullName, "content"}})},
        {"directory-tail", fixture::buildArchive({{"x.txt", "x"}, {"y.txt", "y"}}, tail)},
        {"shorter-stream", fixture::buildArchive({withSize({"notes.txt", "only these bytes", true}, 100)})},
        {"corrupt-stream", fixture::buildArchive({withPayload({"broken.bin", "", true}, "not a zlib stream")})},
        {"payload-past-end", fixture::buildArchive({atOffset({"far.bin", "data"}, 0xFFFFFF00u)})},
        {"directory-past-end", fixture::buildArchive({{"x.txt", "x"}}, farDirectory)},
        {"folder-name-ends", fixture::buildArchive({{"docs\\", "text"}})},
        {"unsafe-name", fixture::buildArchive({{"ok.txt", "fine"}, {"..\\evil.txt", "payload"}})},
        {"not-a-dat-file", fixture::buildArchive({{"x.txt", "x"}}, badMagic)},
        {"header-only", fixture::buildArchive({}).substr(0, 16)},
        {"short", "KDAT\x10"},
    };
}

std::vector<Seed> numberSeeds() {
    return {{"one", "1\n"},       {"octal", "010\n"},      {"hex", "0x10\n"},        {"octal-ends", "08\n"},
            {"trailing", "12abc\n"}, {"negative", "-1\n"}, {"two", "+7 8\n"},        {"blank-lines", "  \n\n\t3\n"},
            {"word", "abc\n"},    {"bare-hex", "0x\n"},    {"long", "999999999999999999\n"},
            {"long-hex", "0xFFFFFFFFFFFFFFFFF\n"},         {"no-end", "42"}};
}

std::vector<Seed> nameSeeds() {
    return {{"plain", "readme.txt"},     {"nested", "sounds\\doors\\door01.wav"}, {"slashes", "a/b/c.bin"},
            {"folder", "docs\\"},        {"parent", "..\\evil.txt"},             {"drive", "C:evil.txt"},
            {"inner-parent", "sub/../x"}, {"dots-spaces", ". .\\x"},             {"doubled", "a\\\\b"},
            {"root", "\\evil"},          {"long", std::string(60, 'f') + "\\" + std::string(60, 'g') + "\\x"}};
}

void writeSeeds(const std::filesystem::path& folder, const std::vector<Seed>& seeds) {
    std::filesystem::create_directories(folder);
    for (const Seed& seed : seeds) fixture::writeFile((folder / seed.name).string(), seed.bytes);
}

}  // namespace

int main(int argumentCount, char** arguments) {
    if (argumentCount != 2) {
        std::fprintf(stderr, "usage: make-seed-corpus FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = arguments[1];
    writeSeeds(folder / "archives", archiveSeeds());
    writeSeeds(folder / "numbers", numberSeeds());
    writeSeeds(folder / "names", nameSeeds());
    return 0;
}

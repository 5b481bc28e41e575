// Writes the sample archive of the quick start: nested folders, stored and
// compressed entries, and enough entries to fill more than one page.
//   make-sample-archive FOLDER   writes FOLDER/korvelin-sample.dat
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/archive_writer.h"

namespace {

// Text compresses well, as the game's scripts and tables do.
std::string textContent(const std::string& topic, int lines) {
    std::string text;
    for (int line = 1; line <= lines; ++line)
        text += topic + " line " + std::to_string(line) + ": the quick brown fox jumps over the lazy dog\r\n";
    return text;
}

// Noise does not compress, as sounds and images already compressed do not.
std::string noiseContent(unsigned seed, std::size_t length) {
    std::string bytes(length, '\0');
    for (char& byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<char>(seed >> 24);
    }
    return bytes;
}

std::vector<fixture::Entry> sampleEntries() {
    std::vector<fixture::Entry> entries;
    entries.push_back({"readme.txt", textContent("readme", 12), true});
    for (int i = 1; i <= 8; ++i)
        entries.push_back({"sounds\\doors\\door0" + std::to_string(i) + ".wav", noiseContent(i, 300 * i), false});
    for (int i = 1; i <= 6; ++i)
        entries.push_back({"sounds\\ambient\\wind" + std::to_string(i) + ".wav", noiseContent(100 + i, 1000 + i), false});
    for (int i = 1; i <= 6; ++i)
        entries.push_back({"scripts\\level" + std::to_string(i) + ".txt", textContent("level", 40 * i), true});
    entries.push_back({"models\\props\\crate.bin", noiseContent(7, 2048), false});
    entries.push_back({"models\\props\\barrel.bin", noiseContent(8, 4096), false});
    entries.push_back({"models\\characters\\hero\\hero.mdl", textContent("hero", 200), true});
    entries.push_back({"textures\\walls\\brick.tga", std::string(65536, '\x40'), true});
    entries.push_back({"textures\\walls\\stone.tga", noiseContent(9, 5000), false});
    entries.push_back({"config\\keys.ini", textContent("keys", 3), true});
    entries.push_back({"empty.txt", "", false});
    return entries;
}

}  // namespace

int main(int argumentCount, char** arguments) {
    if (argumentCount != 2) {
        std::fprintf(stderr, "usage: make-sample-archive FOLDER\n");
        return 2;
    }
    const std::string folder = arguments[1];
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/korvelin-sample.dat";
    fixture::writeFile(path, fixture::buildArchive(sampleEntries()));
    std::printf("%s\n", path.c_str());
    return 0;
}

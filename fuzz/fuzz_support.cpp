#include "fuzz/fuzz_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace fuzz {

void silenceStandardOutput() {
    if (!std::freopen("/dev/null", "w", stdout)) fail("cannot send standard output to /dev/null");
}

namespace {

std::filesystem::path makeProcessFolder() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kdat-fuzz-" + std::to_string(getpid()));
    makeEmptyFolder(folder);
    // As the program sees it once it is current, links resolved.
    return std::filesystem::canonical(folder);
}

}  // namespace

const std::filesystem::path& processFolder() {
    static const std::filesystem::path folder = makeProcessFolder();
    return folder;
}

void makeEmptyFolder(const std::filesystem::path& folder) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
}

CurrentFolderKeeper::CurrentFolderKeeper() : folder_(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (folder_ < 0) fail("cannot open the current folder");
}

CurrentFolderKeeper::~CurrentFolderKeeper() {
    if (fchdir(folder_) != 0) fail("cannot return to the current folder");
    close(folder_);
}

void fail(const std::string& what) {
    std::fprintf(stderr, "\n== broken property: %s\n", what.c_str());
    std::abort();
}

void writeBytes(const std::filesystem::path& path, const unsigned char* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) fail("cannot write " + path.string());
}

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace fuzz

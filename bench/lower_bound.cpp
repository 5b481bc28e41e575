// kdat-lower-bound ARCHIVE OUTPUT-FOLDER
//
// The least work that extracts a DAT archive in kdat-extract's model: one
// thread; each entry read whole with one positioned read, inflated with one
// call of the same inflater, written with one write; its folders created.
// Nothing else: no listing, no progress lines, no name checks, no current
// folder. The benchmark measures kdat-extract against it. It trusts its
// archive and stops with status 1 at the first failure.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "extraction/whole_inflate.h"

namespace {

constexpr std::size_t kHeaderBytes = 16;
constexpr std::size_t kRecordBytes = 144;
constexpr std::size_t kNameBytes = 128;

[[noreturn]] void fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "kdat-lower-bound: %s %s: %s\n", what, detail.c_str(), std::strerror(errno));
    std::exit(1);
}

std::uint32_t littleEndian32(const unsigned char* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

void readAt(int fd, void* buffer, std::size_t length, std::uint64_t offset) {
    auto* at = static_cast<unsigned char*>(buffer);
    while (length > 0) {
        const ssize_t got = pread(fd, at, length, static_cast<off_t>(offset));
        if (got <= 0) fail("cannot read", "the archive");
        at += got;
        offset += static_cast<std::uint64_t>(got);
        length -= static_cast<std::size_t>(got);
    }
}

// A buffer that only grows, so an entry costs no allocation once a larger one came.
class Buffer {
public:
    unsigned char* atLeast(std::size_t length) {
        if (length > capacity_) {
            bytes_.reset(new unsigned char[length]);
            capacity_ = length;
        }
        return bytes_.get();
    }

private:
    std::unique_ptr<unsigned char[]> bytes_;
    std::size_t capacity_ = 0;
};

// Creates the folders of `path` (a/b/c), each only if missing.
void makeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/'); ; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) fail("cannot make", prefix);
        if (slash == std::string::npos) return;
    }
}

void writeFile(const std::string& path, const unsigned char* bytes, std::size_t length) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) fail("cannot open", path);
    while (length > 0) {
        const ssize_t put = write(fd, bytes, length);
        if (put <= 0) fail("cannot write", path);
        bytes += put;
        length -= static_cast<std::size_t>(put);
    }
    if (close(fd) != 0) fail("cannot close", path);
}

}  // namespace

int main(int argumentCount, char** arguments) {
    if (argumentCount != 3) {
        std::fprintf(stderr, "usage: kdat-lower-bound ARCHIVE OUTPUT-FOLDER\n");
        return 2;
    }
    const int archive = open(arguments[1], O_RDONLY | O_CLOEXEC);
    if (archive < 0) fail("cannot open", arguments[1]);
    unsigned char header[kHeaderBytes];
    readAt(archive, header, sizeof header, 0);
    const std::size_t count = littleEndian32(header + 8) / kRecordBytes;
    const std::unique_ptr<unsigned char[]> directory(new unsigned char[count * kRecordBytes + 1]);
    readAt(archive, directory.get(), count * kRecordBytes, littleEndian32(header + 4));
    if (chdir(arguments[2]) != 0) fail("cannot enter", arguments[2]);

    Buffer packed;
    Buffer inflated;
    std::string lastFolder;
    for (std::size_t n = 0; n < count; ++n) {
        const unsigned char* record = directory.get() + n * kRecordBytes;
        std::string name(reinterpret_cast<const char*>(record), strnlen(reinterpret_cast<const char*>(record), kNameBytes));
        for (char& c : name)
            if (c == '\\') c = '/';
        const std::uint32_t offset = littleEndian32(record + 128);
        const std::uint32_t size = littleEndian32(record + 132);
        const std::uint32_t packedSize = littleEndian32(record + 136);

        const std::size_t slash = name.rfind('/');
        const std::string folder = slash == std::string::npos ? std::string() : name.substr(0, slash);
        if (!folder.empty() && folder != lastFolder) makeFolders(folder);
        lastFolder = folder;

        if (packedSize == 0) {
            unsigned char* bytes = inflated.atLeast(size);
            readAt(archive, bytes, size, offset);
            writeFile(name, bytes, size);
            continue;
        }
        unsigned char* stream = packed.atLeast(packedSize);
        readAt(archive, stream, packedSize, offset);
        unsigned char* bytes = inflated.atLeast(size);
        std::uint32_t length = 0;
        if (inflateWhole(bytes, size, stream, packedSize, length) != InflateOutcome::inflated) {
            errno = EINVAL;
            fail("cannot inflate", name);
        }
        writeFile(name, bytes, length);
    }
    close(archive);
    return 0;
}

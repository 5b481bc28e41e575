#include "archive/archive_reads.h"

#include <cstddef>
#include <fstream>
#include <limits>
#include <optional>

#include "archive/archive_state.h"

namespace {

// Where the stream stands after the last whole read through here. A read that
// goes on from there needs no seek, and a small one may then come straight
// from the stream's buffer: payloads mostly follow each other in the archive.
std::optional<std::uint64_t> positionAfterLastRead;

}  // namespace

std::uint64_t archiveFileSize() {
    std::ifstream& stream = archiveState.archiveStream;
    positionAfterLastRead.reset();
    stream.clear();
    stream.seekg(0, std::ios::end);
    const std::streamoff size = stream.tellg();
    return size < 0 ? 0 : static_cast<std::uint64_t>(size);
}

namespace {

// The archive's length when it was last taken. Asking the stream costs two
// calls to the host, which extracting a small entry would feel.
std::uint64_t knownArchiveSize = 0;

}  // namespace

bool archiveHolds(std::uint64_t offset, std::uint64_t length) {
    if (length == 0 || offset + length <= knownArchiveSize) return true;
    knownArchiveSize = archiveFileSize();
    return offset + length <= knownArchiveSize;
}

void forgetArchiveSize() {
    knownArchiveSize = 0;
}

bool fitsOneRead(std::uint64_t length) {
    return length <= static_cast<std::uint64_t>(std::numeric_limits<std::streamsize>::max()) &&
           length <= std::numeric_limits<std::size_t>::max();
}

bool readArchiveBytes(std::uint64_t offset, void* buffer, std::uint64_t length) {
    if (length == 0) return true;
    if (!fitsOneRead(length)) return false;
    std::ifstream& stream = archiveState.archiveStream;
    if (positionAfterLastRead != offset) {
        stream.clear();  // an earlier short read leaves the stream failed
        stream.seekg(static_cast<std::streamoff>(offset));
    }
    stream.read(static_cast<char*>(buffer), static_cast<std::streamsize>(length));
    const bool whole = stream.gcount() == static_cast<std::streamsize>(length);
    positionAfterLastRead = whole ? std::optional(offset + length) : std::nullopt;
    return whole;
}

// The current folder and the output files on a POSIX host. Archive names
// separate folders with backslashes; the host's separator is '/'.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "archive/text_buffer.h"
#include "platform/platform.h"

namespace platform {

const char kFolderSeparator = '/';

namespace {

// The archive's device and inode, once it is open.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool known = false;
};
FileIdentity archiveIdentity;

bool isTheArchive(const struct stat& status) {
    return archiveIdentity.known && status.st_dev == archiveIdentity.device &&
           status.st_ino == archiveIdentity.inode;
}

// Opens for writing without emptying, so the file can be looked at first.
// Non-blocking for the open: a FIFO without a reader fails at once rather
// than waiting for ever.
int openForWriting(const std::string& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
}

// Writes to a pipe or a device then block as usual. A regular file ignores
// the flag, so it is spared the two calls.
void blockOnWrites(int fd, const struct stat& status) {
    if (!S_ISREG(status.st_mode)) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
}

// A write past the file-size limit (ulimit -f) would otherwise end the
// process with SIGXFSZ; ignored, the write fails and is reported like a full disk.
void letOversizedWritesFail() {
    static const bool ignored = signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
    (void)ignored;
}

}  // namespace

void rememberArchiveFile(const char* path) {
    struct stat status;
    if (stat(path, &status) != 0) return;
    archiveIdentity = {status.st_dev, status.st_ino, true};
}

bool enterFolder(const char* folder) {
    return folder[0] != '\0' && chdir(folder) == 0;
}

bool copyCurrentFolder(char* buffer, std::size_t capacity) {
    // Read whole first, so a path that does not fit leaves the buffer as it was.
    const std::unique_ptr<char, decltype(&std::free)> current(getcwd(nullptr, 0), &std::free);
    if (!current || std::char_traits<char>::length(current.get()) >= capacity) return false;
    return copyText(buffer, capacity, current.get());
}

bool makeFolder(const char* name) {
    return mkdir(name, 0777) == 0;
}

std::FILE* openOutputFile(const char* name) {
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    letOversizedWritesFail();
    const int fd = openForWriting(path);
    if (fd < 0) return nullptr;
    struct stat status;
    // An entry named like the archive (or a link to it) must not empty it.
    // Only a regular file is emptied; a device such as /dev/null cannot be.
    // A file that is empty already, as every new one is, is left alone: on
    // ext4, emptying a file marks it for writing back to disk at its close,
    // which made extraction of many small files several times slower.
    const bool usable = fstat(fd, &status) == 0 && !isTheArchive(status) &&
                        (!S_ISREG(status.st_mode) || status.st_size == 0 || ftruncate(fd, 0) == 0);
    if (usable) blockOnWrites(fd, status);
    std::FILE* file = usable ? fdopen(fd, "wb") : nullptr;
    if (!file) close(fd);
    return file;
}

}  // namespace platform

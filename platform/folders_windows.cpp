// The current drive and folder and the output files on Windows, through the
// runtime library's drive functions. Archive names already use the host's
// backslash, so they are opened as they stand.
#include <windows.h>
#include <direct.h>
#include <fcntl.h>
#include <io.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "archive/text_buffer.h"
#include "platform/platform.h"

namespace platform {

const char kFolderSeparator = '\\';

namespace {

// A file's identity on Windows: its volume and its index on that volume,
// the same whatever name or link reaches it.
struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool known = false;
};
FileIdentity archiveIdentity;

FileIdentity identityOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information)) return {};
    return {information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow, true};
}

bool isTheArchive(HANDLE file) {
    const FileIdentity identity = identityOf(file);
    return archiveIdentity.known && identity.known && identity.volume == archiveIdentity.volume &&
           identity.indexHigh == archiveIdentity.indexHigh && identity.indexLow == archiveIdentity.indexLow;
}

// The drive whose current folder copyCurrentFolder reads: the one the last
// enterFolder made current, or 0 (the current drive) for a network path.
int currentDrive = 0;

bool startsWithDrive(const char* path) {
    return std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

// Drive A is 1, whether the letter is written in upper or lower case.
int driveNumber(char letter) {
    return std::toupper(static_cast<unsigned char>(letter)) - 'A' + 1;
}

constexpr DWORD kShareEverything = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

void rememberArchiveFile(const char* path) {
    const HANDLE file = CreateFileA(path, 0, kShareEverything, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    archiveIdentity = identityOf(file);
    CloseHandle(file);
}

bool enterFolder(const char* folder) {
    if (!startsWithDrive(folder)) {
        // A network path (\\server\share\...) has no drive to make current.
        currentDrive = 0;
        return folder[0] != '\0' && _chdir(folder) == 0;
    }
    if (_chdrive(driveNumber(folder[0])) != 0) return false;
    currentDrive = driveNumber(folder[0]);
    // "C:" alone is the root of the drive, not the folder last current on it.
    const char* withoutDrive = folder[2] != '\0' ? folder + 2 : "\\";
    return _chdir(withoutDrive) == 0;
}

bool copyCurrentFolder(char* buffer, std::size_t capacity) {
    // Read whole first, so a path that does not fit leaves the buffer as it was.
    const std::unique_ptr<char, decltype(&std::free)> current(_getdcwd(currentDrive, nullptr, 0), &std::free);
    if (!current || std::char_traits<char>::length(current.get()) >= capacity) return false;
    return copyText(buffer, capacity, current.get());
}

bool makeFolder(const char* name) {
    return _mkdir(name) == 0;
}

// Opened without emptying, so the file can be looked at first; shared with
// every other reader and writer. Only a file on a disk is written: a device
// name such as CON, NUL or COM1 opens a device, and the archive itself must
// never be emptied, whatever name leads to it.
std::FILE* openOutputFile(const char* name) {
    const HANDLE file =
        CreateFileA(name, GENERIC_WRITE, kShareEverything, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    const bool usable = GetFileType(file) == FILE_TYPE_DISK && !isTheArchive(file) && SetEndOfFile(file);
    const int descriptor = usable ? _open_osfhandle(reinterpret_cast<std::intptr_t>(file), _O_WRONLY | _O_BINARY) : -1;
    if (descriptor < 0) {
        CloseHandle(file);
        return nullptr;
    }
    std::FILE* stream = _fdopen(descriptor, "wb");
    if (!stream) _close(descriptor);
    return stream;
}

}  // namespace platform

// Any bytes as an archive, every entry extracted (Space) into a scratch
// folder of its own: whatever the archive claims, nothing may be written
// outside that folder, the archive itself is never changed, and the run ends
// either normally or through the program's own failure report.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "archive/archive_state.h"
#include "archive/load_archive.h"
#include "extraction/extract_entry.h"
#include "fuzz/fuzz_support.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;

const fs::path& inputFolder() {
    static const fs::path folder = fuzz::processFolder() / "input";
    return folder;
}

// Only the input's own folder may exist beside it, and nothing in it but
// folders and regular files: the program makes no links or devices.
void checkNothingEscaped() {
    for (const fs::directory_entry& item : fs::directory_iterator(fuzz::processFolder()))
        if (item.path() != inputFolder()) fuzz::fail("written outside the archive's folder: " + item.path().string());
    for (const fs::directory_entry& item : fs::recursive_directory_iterator(inputFolder())) {
        const fs::file_status status = item.symlink_status();
        if (!fs::is_directory(status) && !fs::is_regular_file(status))
            fuzz::fail("made something that is neither a folder nor a file: " + item.path().string());
    }
}

void extractEverything() {
    loadArchive();
    extractAll();
    closeArchive();
}

}  // namespace

// An entry may claim up to 4 GiB, and under AddressSanitizer each such
// allocation costs half a gigabyte of shadow memory to mark: a few of those
// would bring the fuzzer to a crawl. Allocations above 64 MiB fail instead,
// as on a machine without the memory, and take the program's own path for that.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1:max_allocation_size_mb=64";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::silenceStandardOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::makeEmptyFolder(inputFolder());
    const fs::path archive = inputFolder() / "input.dat";
    fuzz::writeBytes(archive, data, size);
    copyText(archiveState.archivePath, sizeof archiveState.archivePath, archive.c_str());
    platform::findArchiveFolder(archiveState.archivePath, archiveState.archiveFolder,
                                sizeof archiveState.archiveFolder);
    {
        fuzz::CurrentFolderKeeper keeper;
        fuzz::runUntilEnd(extractEverything);
    }
    if (archiveState.archiveStream.is_open() || archiveState.entries)
        fuzz::fail("the archive was not let go");
    const std::string after = fuzz::readBytes(archive);
    if (after.size() != size || (size != 0 && after.compare(0, size, reinterpret_cast<const char*>(data), size) != 0))
        fuzz::fail("the archive was changed");
    checkNothingEscaped();
    return 0;
}

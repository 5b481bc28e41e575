// Any bytes as an archive file: loading must recognise, refuse or read them
// without reading or writing out of bounds, and the listing must show every
// record it read, whatever its name and numbers hold.
#include <cstddef>
#include <cstdint>

#include "archive/archive_state.h"
#include "archive/load_archive.h"
#include "console/listing.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::silenceStandardOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path archive = fuzz::processFolder() / "input.dat";
    fuzz::writeBytes(archive, data, size);
    copyText(archiveState.archivePath, sizeof archiveState.archivePath, archive.c_str());

    const bool loaded = fuzz::runUntilEnd(loadArchive);
    if (loaded) {
        if (archiveState.entryCount < 0) fuzz::fail("negative entry count");
        if (std::uint64_t{kEntryBytes} * static_cast<std::uint64_t>(archiveState.entryCount) > size)
            fuzz::fail("more records than the file holds");
        for (std::int32_t index = 0; index < archiveState.entryCount; ++index) printEntryRow(index);
        closeArchive();
    }
    if (archiveState.archiveStream.is_open() || archiveState.entries || archiveState.header)
        fuzz::fail("the archive was not let go");
    if (fuzz::readBytes(archive).size() != size) fuzz::fail("loading changed the archive");
    return 0;
}

// Any bytes up to the first NUL as an entry's name, of any length so that the
// bounds of the walk's path buffer are tried too: a name the safety rule lets through must lead
// nowhere outside the archive's folder, and the folder walk it drives must
// make folders only beneath that folder and come back to it.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "archive/archive_state.h"
#include "extraction/name_safety.h"
#include "extraction/output_folders.h"
#include "fuzz/fuzz_support.h"

namespace {

namespace fs = std::filesystem;

const fs::path& archiveFolder() {
    static const fs::path folder = fuzz::processFolder() / "archive";
    return folder;
}

// The name with both separators as '/', seen as a path below the folder.
void checkStaysInside(std::string_view name) {
    std::string path(name);
    for (char& character : path)
        if (character == '\\') character = '/';
    const fs::path relative = fs::path(path).lexically_normal();
    if (relative.is_absolute() || relative.has_root_name() || relative.has_root_directory())
        fuzz::fail("a safe name that is not relative: " + path);
    if (!relative.empty() && *relative.begin() == "..") fuzz::fail("a safe name that leads out: " + path);
}

void checkOnlyTheFolderHoldsWhatWasMade() {
    for (const fs::directory_entry& item : fs::directory_iterator(fuzz::processFolder()))
        if (item.path() != archiveFolder()) fuzz::fail("a folder made outside: " + item.path().string());
    const fs::path current = fs::current_path();
    if (current != archiveFolder()) fuzz::fail("the walk ended in " + current.string());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::silenceStandardOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view name(reinterpret_cast<const char*>(data), size);
    name = name.substr(0, name.find('\0'));
    if (!isSafeEntryName(name)) return 0;
    checkStaysInside(name);

    fuzz::makeEmptyFolder(archiveFolder());
    copyText(archiveState.archiveFolder, sizeof archiveState.archiveFolder, archiveFolder().c_str());
    fuzz::CurrentFolderKeeper keeper;
    // Each input is a command of its own, on a folder emptied since the last.
    forgetReachedFolders();
    prepareEntryFolders(name);
    checkOnlyTheFolderHoldsWhatWasMade();
    return 0;
}

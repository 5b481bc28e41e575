// kdat-extract: lists the entries of a DAT archive page by page and extracts
// them into folders beside the archive. The exit status is 0 on every path.
#include <cstdio>

#include "archive/archive_state.h"
#include "archive/load_archive.h"
#include "console/browser.h"
#include "console/start_up.h"

namespace {

constexpr std::size_t kOutputBufferBytes = 64 * 1024;

}  // namespace

int main(int argumentCount, char** arguments) {
    // Extraction prints a line or two per entry; written line by line to a
    // terminal they cost more than the small entries themselves. Output is
    // flushed before every wait for the user (key, number, dialog), at the
    // end of the run, and during extraction at a pace a reader cannot tell
    // from line by line.
    std::setvbuf(stdout, nullptr, _IOFBF, kOutputBufferBytes);
    printBanner();
    if (!chooseArchive(argumentCount, arguments)) return 0;
    deriveArchiveFolder();
    loadArchive();
    browseArchive();
    closeArchive();
    return 0;
}

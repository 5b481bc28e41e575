// kdat-extract: lists the entries of a DAT archive page by page and extracts
// them into folders beside the archive. The exit status is 0 on every path.
#include "archive/archive_state.h"
#include "archive/load_archive.h"
#include "console/browser.h"
#include "console/start_up.h"

int main(int argumentCount, char** arguments) {
    printBanner();
    if (!chooseArchive(argumentCount, arguments)) return 0;
    deriveArchiveFolder();
    loadArchive();
    browseArchive();
    closeArchive();
    return 0;
}

#include "console/start_up.h"

#include <cstdio>

#include "archive/archive_state.h"
#include "archive/load_archive.h"
#include "archive/messages.h"
#include "platform/platform.h"

void printBanner() {
    std::printf(kBannerTitle);
    std::printf(kBannerAuthor);
    std::printf(kBannerContact);
    std::printf(kBannerDate);
}

int chooseArchiveFile(const char* title, const char* filter) {
    return platform::showOpenFileDialog(title, filter, archiveState.archivePath,
                                        sizeof archiveState.archivePath);
}

bool chooseArchive(int argumentCount, char** arguments) {
    if (argumentCount < 2) return chooseArchiveFile(kDialogTitle, kDialogFilter) != 0;
    if (!copyText(archiveState.archivePath, sizeof archiveState.archivePath, arguments[1]))
        refuseArchivePath(arguments[1]);
    return true;
}

void deriveArchiveFolder() {
    platform::findArchiveFolder(archiveState.archivePath, archiveState.archiveFolder,
                                sizeof archiveState.archiveFolder);
}

#include "console/browser.h"

#include "archive/archive_state.h"
#include "console/listing.h"
#include "extraction/extract_entry.h"
#include "platform/platform.h"

namespace {

void actOnKey(int code) {
    switch (code) {
    case kKeyPageUp: firstRow = rowAfterPageUp(firstRow); break;
    case kKeyPageDown: firstRow = rowAfterPageDown(firstRow, archiveState.entryCount); break;
    case kKeyExtractAll: extractAll(); break;
    case kKeyExtractOne: promptForEntry(); break;
    default: break;  // every other key only shows the page again
    }
}

}  // namespace

void browseArchive() {
    for (;;) {
        printPage();
        const int code = platform::readConsoleKey();
        if (code == kKeyEscape || code == platform::kNoConsoleKey) return;
        actOnKey(code);
    }
}

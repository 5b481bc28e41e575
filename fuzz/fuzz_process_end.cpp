// The fuzz build's end of a failed run: fatalStop has closed the archive and
// released everything, so the target can go on with its next input.
#include "archive/process_end.h"
#include "fuzz/fuzz_support.h"

void endProcess() {
    throw fuzz::RunEnded{};
}

#include "archive/process_end.h"

#include <cstdlib>

void endProcess() {
    std::exit(EXIT_SUCCESS);
}

// The console key read on Windows: the runtime library's _getch, which reads
// the console itself, without echo, and gives keys without a character as a
// lead code (0 or 224) and a second code.
#include <conio.h>

#include <cstdio>

#include "platform/platform.h"

namespace platform {

int readConsoleKey() {
    // Whatever the page printed must be on the screen before the wait.
    std::fflush(stdout);
    const int code = _getch();
    return code < 0 ? kNoConsoleKey : code;
}

}  // namespace platform

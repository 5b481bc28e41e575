// The console key read on a POSIX host: single key presses from the
// controlling terminal, with the terminal in a raw mode for the time of one
// read only, and escape sequences turned into the two-code form.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <deque>
#include <iterator>
#include <string>

#include "platform/platform.h"
#include "platform/terminal_keys.h"

namespace platform {

namespace {

// How long the rest of an escape sequence may take to arrive before an
// Escape counts as a press of Escape alone.
constexpr int kSequenceWaitMs = 60;

constexpr int kNotOpened = -2;
int terminalFd = kNotOpened;
bool terminalEnded = false;
std::string unreadBytes;       // read from the terminal, not decoded yet
std::deque<int> pendingCodes;  // second codes of keys already decoded

// The settings found before a read, restored after it, and also by the
// signal handlers, so the terminal is never left raw.
struct termios savedSettings;
struct termios keySettings;

constexpr int kRestoredSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGTSTP};
struct sigaction previousActions[sizeof kRestoredSignals / sizeof kRestoredSignals[0]];

void restoreThenDeliver(int signalNumber) {
    const int savedErrno = errno;
    tcsetattr(terminalFd, TCSANOW, &savedSettings);
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigaction(signalNumber, &defaultAction, nullptr);
    // The signal is blocked while its handler runs; let it through at once.
    sigset_t thisSignal;
    sigemptyset(&thisSignal);
    sigaddset(&thisSignal, signalNumber);
    sigprocmask(SIG_UNBLOCK, &thisSignal, nullptr);
    raise(signalNumber);  // ends the process, or stops it for SIGTSTP
    // Continued after a stop: back to the key read.
    struct sigaction again {};
    again.sa_handler = restoreThenDeliver;
    sigaction(signalNumber, &again, nullptr);
    tcsetattr(terminalFd, TCSANOW, &keySettings);
    errno = savedErrno;
}

// A signal that the process ignores (nohup, for one) stays ignored.
void installSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = restoreThenDeliver;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kRestoredSignals); ++i) {
        sigaction(kRestoredSignals[i], nullptr, &previousActions[i]);
        if (previousActions[i].sa_handler != SIG_IGN) sigaction(kRestoredSignals[i], &action, nullptr);
    }
}

void removeSignalHandlers() {
    for (std::size_t i = 0; i < std::size(kRestoredSignals); ++i)
        sigaction(kRestoredSignals[i], &previousActions[i], nullptr);
}

int openTerminal() {
    if (terminalFd == kNotOpened) terminalFd = open("/dev/tty", O_RDWR | O_CLOEXEC);
    return terminalFd;
}

// No echo, no line input, no signal or flow-control keys; Enter gives 13.
bool enterKeyMode(int fd) {
    if (tcgetattr(fd, &savedSettings) != 0) return false;
    keySettings = savedSettings;
    keySettings.c_lflag &= ~(ECHO | ICANON | ISIG | IEXTEN);
    keySettings.c_iflag &= ~(ICRNL | INLCR | IGNCR | IXON);
    keySettings.c_cc[VMIN] = 1;
    keySettings.c_cc[VTIME] = 0;
    installSignalHandlers();
    // TCSANOW, not TCSAFLUSH: keys typed ahead must not be lost.
    if (tcsetattr(fd, TCSANOW, &keySettings) != 0) {
        removeSignalHandlers();
        return false;
    }
    return true;
}

void leaveKeyMode(int fd) {
    tcsetattr(fd, TCSANOW, &savedSettings);
    removeSignalHandlers();
}

enum class Arrival { bytes, timeout, ended };

// Waits for one more byte (at most `waitMs`, or for ever when negative) and appends it.
Arrival readMoreBytes(int fd, int waitMs) {
    for (;;) {
        struct pollfd request = {fd, POLLIN, 0};
        const int ready = poll(&request, 1, waitMs);
        if (ready == 0) return Arrival::timeout;
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return Arrival::ended;
        // One byte at a time: a key takes only its own bytes, and what was
        // typed after it stays with the terminal, for the next key or for
        // the line that the number prompt reads.
        char byte = 0;
        const ssize_t got = read(fd, &byte, 1);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got <= 0) return Arrival::ended;
        unreadBytes.push_back(byte);
        return Arrival::bytes;
    }
}

enum class Decoding { key, noKey, needMore };

// Decodes the first key of the bytes at hand into pendingCodes.
Decoding decodeUnreadBytes(bool moreMayFollow) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(unreadBytes.data());
    const DecodedKey key = decodeTerminalKey(bytes, unreadBytes.size(), moreMayFollow);
    if (key.consumed == 0) return Decoding::needMore;
    unreadBytes.erase(0, key.consumed);
    for (int i = 0; i < key.codeCount; ++i) pendingCodes.push_back(key.codes[i]);
    return key.codeCount > 0 ? Decoding::key : Decoding::noKey;
}

// Reads until one key is decoded; false when the terminal's input ended first.
bool readOneKey(int fd) {
    for (;;) {
        Decoding decoding = Decoding::needMore;
        while (!unreadBytes.empty() &&
               (decoding = decodeUnreadBytes(!terminalEnded)) != Decoding::needMore)
            if (decoding == Decoding::key) return true;
        if (terminalEnded) return false;

        const int waitMs = unreadBytes.empty() ? -1 : kSequenceWaitMs;
        const Arrival arrival = readMoreBytes(fd, waitMs);
        if (arrival == Arrival::ended) terminalEnded = true;
        // Nothing more came in time: the bytes at hand are all there is.
        if (arrival == Arrival::timeout && decodeUnreadBytes(false) == Decoding::key) return true;
    }
}

}  // namespace

int readConsoleKey() {
    std::fflush(stdout);
    if (pendingCodes.empty() && !terminalEnded) {
        const int fd = openTerminal();
        if (fd < 0 || !enterKeyMode(fd)) return kNoConsoleKey;
        readOneKey(fd);
        leaveKeyMode(fd);
    }
    if (pendingCodes.empty()) return kNoConsoleKey;
    const int code = pendingCodes.front();
    pendingCodes.pop_front();
    return code;
}

}  // namespace platform

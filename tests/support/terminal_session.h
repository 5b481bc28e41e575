// Runs the real kdat-extract binary as a person would: in a pseudo-terminal
// that is its controlling terminal, keys typed as a terminal sends them, and
// the screen's text read back.
//
// Keys are typed only while the program waits for a key (the terminal is out
// of line mode), so nothing is echoed. To keep that certain, read the output
// that a key causes before typing the next key.
#pragma once

#include <sys/types.h>
#include <termios.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

inline constexpr char kUp[] = "\x1b[A";
inline constexpr char kDown[] = "\x1b[B";
inline constexpr char kEscape[] = "\x1b";
inline constexpr char kEnter[] = "\r";
inline constexpr char kCtrlC[] = "\x03";

struct SessionOptions {
    std::string workFolder = ".";                 // the program's current folder
    std::optional<std::string> standardInput;     // a file, instead of the terminal
    std::optional<std::string> standardOutput;    // a file, instead of the terminal
    std::vector<std::string> environment;         // NAME=value added to a clean environment
    bool asNobody = false;                        // drop root's rights, so file permissions hold
    std::optional<std::string> binary;            // another copy of the program to run
    std::optional<std::uint64_t> addressSpaceLimit;  // bytes, so large allocations fail
    std::optional<std::uint64_t> fileSizeLimit;      // bytes, as `ulimit -f` sets it
    // Standard output on a pipe, read as the screen's text, while the terminal
    // stays the program's console. For a console host (wine) that draws on
    // the terminal with control sequences of its own, which are dropped.
    bool outputThroughPipe = false;
    // How long output may take to come, and twice that for the program's end.
    std::chrono::milliseconds patience{5000};
};

struct Ending {
    bool exited = false;  // false: killed by a signal, or still running at the deadline
    int status = -1;      // exit status, or the signal's number when killed
    bool signalled = false;
};

class TerminalSession {
public:
    TerminalSession(const std::vector<std::string>& arguments, const SessionOptions& options = {});
    ~TerminalSession();
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    // Waits until the program reads a key, then types `keys` in one write.
    // False when the program never came to read one.
    bool type(const std::string& keys);
    // Types `keys` at once, as into a line the program reads with echo.
    void send(const std::string& keys);
    // True once the terminal is out of line mode, as while a key is awaited.
    bool waitForKeyRead();

    // The next `length` characters of the screen's text (line ends as "\n"),
    // or fewer when the program ended or nothing more came within the deadline.
    std::string take(std::size_t length);
    // The rest of the screen's text up to the program's end.
    std::string takeRest();
    // Waits for the program to end.
    Ending finish();
    void sendSignal(int signalNumber);
    struct termios terminalSettings() const;
    // The settings the terminal had before the program started.
    const struct termios& initialSettings() const { return initialSettings_; }

private:
    bool readMore(std::chrono::milliseconds wait);
    // Reaps the program without waiting; true once it has ended.
    bool childHasEnded();
    std::string screenText() const;

    struct termios initialSettings_ {};
    int master_ = -1;
    int outputPipe_ = -1;
    std::chrono::milliseconds patience_;  // the read end, when standard output is a pipe
    pid_t child_ = -1;
    bool reaped_ = false;
    Ending ending_;
    std::string raw_;
    std::size_t taken_ = 0;
};

// Runs the program with no controlling terminal, standard input from
// /dev/null, and returns what it printed to standard output and its ending.
struct DetachedRun {
    std::string output;
    Ending ending;
};
DetachedRun runWithoutTerminal(const std::vector<std::string>& arguments, const std::string& workFolder);

// The path of the kdat-extract binary under test.
std::string extractorBinary();

}  // namespace e2e

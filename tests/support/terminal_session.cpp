#include "tests/support/terminal_session.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kEndDeadline{10000};
constexpr uid_t kNobody = 65534;

// A small, predictable environment; the sanitizers' settings pass through.
std::vector<std::string> childEnvironment(const std::vector<std::string>& additions) {
    std::vector<std::string> environment = {"PATH=/usr/local/bin:/usr/bin:/bin", "TERM=xterm", "LANG=C"};
    for (const char* name : {"HOME", "ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
        if (const char* value = std::getenv(name)) environment.push_back(std::string(name) + "=" + value);
    for (const std::string& addition : additions) {
        const std::string name = addition.substr(0, addition.find('=') + 1);
        std::erase_if(environment, [&](const std::string& variable) { return variable.starts_with(name); });
        environment.push_back(addition);
    }
    return environment;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

[[noreturn]] void execExtractor(const std::string& binary, const std::vector<std::string>& arguments,
                                std::vector<std::string> environment) {
    std::vector<std::string> argv = {binary};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> argvPointers = pointersTo(argv);
    std::vector<char*> environmentPointers = pointersTo(environment);
    execve(argvPointers[0], argvPointers.data(), environmentPointers.data());
    _exit(127);
}

void redirect(int fd, const std::string& path, int flags) {
    const int opened = open(path.c_str(), flags, 0666);
    if (opened < 0) _exit(126);
    dup2(opened, fd);
    close(opened);
}

void limitResource(int resource, std::optional<std::uint64_t> bytes) {
    if (!bytes) return;
    const struct rlimit limit = {*bytes, *bytes};
    if (setrlimit(resource, &limit) != 0) _exit(123);
}

Ending endingOf(int status) {
    Ending ending;
    ending.exited = WIFEXITED(status);
    ending.signalled = WIFSIGNALED(status);
    ending.status = ending.exited ? WEXITSTATUS(status) : (ending.signalled ? WTERMSIG(status) : -1);
    return ending;
}

// What a new pseudo-terminal starts with: line mode, echo, signal keys.
struct termios defaultTerminalSettings() {
    int master = -1;
    int slave = -1;
    struct termios settings {};
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) == 0) {
        tcgetattr(slave, &settings);
        close(slave);
        close(master);
    }
    return settings;
}

}  // namespace

std::string extractorBinary() {
    return KDAT_EXTRACT_BINARY;
}

TerminalSession::TerminalSession(const std::vector<std::string>& arguments, const SessionOptions& options)
    : patience_(options.patience) {
    struct winsize size = {24, 80, 0, 0};
    std::vector<std::string> environment = childEnvironment(options.environment);
    initialSettings_ = defaultTerminalSettings();
    int outputEnds[2] = {-1, -1};
    if (options.outputThroughPipe && pipe2(outputEnds, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "no pipe for standard output";
        return;
    }
    child_ = forkpty(&master_, nullptr, &initialSettings_, &size);
    if (child_ != 0) {
        if (outputEnds[1] >= 0) close(outputEnds[1]);
        outputPipe_ = outputEnds[0];
        return;
    }
    if (outputEnds[1] >= 0) dup2(outputEnds[1], STDOUT_FILENO);
    if (chdir(options.workFolder.c_str()) != 0) _exit(125);
    if (options.asNobody && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(124);
    limitResource(RLIMIT_AS, options.addressSpaceLimit);
    limitResource(RLIMIT_FSIZE, options.fileSizeLimit);
    if (options.standardInput) redirect(STDIN_FILENO, *options.standardInput, O_RDONLY);
    if (options.standardOutput) redirect(STDOUT_FILENO, *options.standardOutput, O_WRONLY | O_CREAT | O_TRUNC);
    execExtractor(options.binary.value_or(extractorBinary()), arguments, environment);
}

TerminalSession::~TerminalSession() {
    if (child_ > 0 && !reaped_) {
        kill(child_, SIGKILL);
        waitpid(child_, nullptr, 0);
    }
    if (master_ >= 0) close(master_);
    if (outputPipe_ >= 0) close(outputPipe_);
}

bool TerminalSession::readMore(milliseconds wait) {
    // The terminal is read even when the screen's text comes through the
    // pipe, so that the program never blocks on a full terminal.
    struct pollfd requests[2] = {{master_, POLLIN, 0}, {outputPipe_, POLLIN, 0}};
    const nfds_t watched = outputPipe_ >= 0 ? 2 : 1;
    if (poll(requests, watched, static_cast<int>(wait.count())) <= 0) return false;
    char chunk[4096];
    bool gotText = false;
    for (nfds_t i = 0; i < watched; ++i) {
        if (requests[i].revents == 0) continue;
        const ssize_t got = read(requests[i].fd, chunk, sizeof chunk);
        // EIO or end of file: every holder of the terminal or the pipe is gone.
        if (got <= 0) continue;
        const bool isText = requests[i].fd == (outputPipe_ >= 0 ? outputPipe_ : master_);
        if (isText) raw_.append(chunk, static_cast<std::size_t>(got));
        gotText = gotText || isText;
    }
    return gotText;
}

std::string TerminalSession::screenText() const {
    std::string text;
    text.reserve(raw_.size());
    for (std::size_t i = 0; i < raw_.size(); ++i)
        if (!(raw_[i] == '\r' && i + 1 < raw_.size() && raw_[i + 1] == '\n')) text.push_back(raw_[i]);
    return text;
}

bool TerminalSession::childHasEnded() {
    int status = 0;
    if (!reaped_ && waitpid(child_, &status, WNOHANG) == child_) {
        reaped_ = true;
        ending_ = endingOf(status);
    }
    return reaped_;
}

bool TerminalSession::waitForKeyRead() {
    const auto deadline = Clock::now() + patience_;
    while (Clock::now() < deadline) {
        struct termios settings = terminalSettings();
        if ((settings.c_lflag & ICANON) == 0) return true;
        // Keep reading, so the program never blocks on a full terminal.
        readMore(milliseconds(1));
        if (childHasEnded()) return false;
    }
    return false;
}

bool TerminalSession::type(const std::string& keys) {
    if (!waitForKeyRead()) return false;
    return write(master_, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size());
}

void TerminalSession::send(const std::string& keys) {
    if (write(master_, keys.data(), keys.size()) != static_cast<ssize_t>(keys.size())) ADD_FAILURE() << "typing failed";
}

std::string TerminalSession::take(std::size_t length) {
    const auto deadline = Clock::now() + patience_;
    std::string text = screenText();
    while (text.size() < taken_ + length && Clock::now() < deadline) {
        if (!readMore(milliseconds(20)) && reaped_) break;
        if (!reaped_ && childHasEnded()) {
            while (readMore(milliseconds(50))) {
            }
        }
        text = screenText();
    }
    const std::string piece = text.substr(std::min(taken_, text.size()), length);
    taken_ += piece.size();
    return piece;
}

Ending TerminalSession::finish() {
    const auto deadline = Clock::now() + 2 * patience_;
    while (!reaped_ && Clock::now() < deadline) {
        readMore(milliseconds(10));
        childHasEnded();
    }
    if (!reaped_) {
        kill(child_, SIGKILL);
        waitpid(child_, nullptr, 0);
        reaped_ = true;
        ending_ = Ending{};
    }
    while (readMore(milliseconds(50))) {
    }
    return ending_;
}

std::string TerminalSession::takeRest() {
    finish();
    const std::string text = screenText();
    const std::string rest = text.substr(std::min(taken_, text.size()));
    taken_ = text.size();
    return rest;
}

void TerminalSession::sendSignal(int signalNumber) {
    kill(child_, signalNumber);
}

struct termios TerminalSession::terminalSettings() const {
    struct termios settings {};
    tcgetattr(master_, &settings);
    return settings;
}

DetachedRun runWithoutTerminal(const std::vector<std::string>& arguments, const std::string& workFolder) {
    int pipeEnds[2];
    DetachedRun run;
    if (pipe(pipeEnds) != 0) return run;
    std::vector<std::string> environment = childEnvironment({});
    const pid_t child = fork();
    if (child == 0) {
        setsid();  // no controlling terminal from here on
        close(pipeEnds[0]);
        redirect(STDIN_FILENO, "/dev/null", O_RDONLY);
        dup2(pipeEnds[1], STDOUT_FILENO);
        dup2(pipeEnds[1], STDERR_FILENO);
        if (chdir(workFolder.c_str()) != 0) _exit(125);
        execExtractor(extractorBinary(), arguments, environment);
    }
    close(pipeEnds[1]);
    const auto deadline = Clock::now() + kEndDeadline;
    char chunk[4096];
    while (Clock::now() < deadline) {
        struct pollfd request = {pipeEnds[0], POLLIN, 0};
        if (poll(&request, 1, 100) <= 0) continue;
        const ssize_t got = read(pipeEnds[0], chunk, sizeof chunk);
        if (got <= 0) break;
        run.output.append(chunk, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    if (Clock::now() >= deadline) kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    run.ending = endingOf(status);
    return run;
}

}  // namespace e2e

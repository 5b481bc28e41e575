// The open-file dialog on a POSIX host: a graphical file chooser (zenity or
// kdialog) in a graphical session, otherwise a question on the terminal.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "archive/text_buffer.h"
#include "platform/file_dialog.h"
#include "platform/platform.h"

extern char** environ;

namespace platform {

namespace {

// More than any path the caller can take; the rest of a longer answer is dropped.
constexpr std::size_t kLongestAnswer = std::size_t{64} * 1024;

bool inGraphicalSession() {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

std::optional<std::string> findOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        const std::string candidate = folder + "/" + program;
        struct stat status;
        if (stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

std::vector<std::string> zenityArguments(const char* title, const std::vector<FileFilter>& filters) {
    std::vector<std::string> arguments = {"zenity", "--file-selection", std::string("--title=") + title};
    // zenity selects its first filter at start.
    for (const FileFilter& filter : filters)
        arguments.push_back("--file-filter=" + filter.label + " | " + filter.pattern);
    return arguments;
}

std::vector<std::string> kdialogArguments(const char* title, const std::vector<FileFilter>& filters) {
    std::string filterText;
    for (const FileFilter& filter : filters) {
        if (!filterText.empty()) filterText += '\n';
        filterText += filter.pattern + "|" + filter.label;
    }
    return {"kdialog", "--title", title, "--getopenfilename", ".", filterText};
}

// Runs a program with no input and its messages discarded, and returns what
// it printed when it ended with status 0.
std::optional<std::string> runForOutput(const std::string& program, const std::vector<std::string>& arguments) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);

    std::string output;
    char chunk[4096];
    ssize_t got = 0;
    while (spawned == 0 && (got = read(pipeEnds[0], chunk, sizeof chunk)) != 0) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        if (output.size() < kLongestAnswer) output.append(chunk, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    if (spawned != 0) return std::nullopt;
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return output;
}

// Takes an answer without its line end; empty means cancelled.
int acceptAnswer(std::string answer, char* path, std::size_t capacity) {
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r')) answer.pop_back();
    if (answer.empty()) return 0;
    return copyText(path, capacity, answer.c_str()) ? 1 : 0;
}

int askGraphically(const char* title, const char* filter, char* path, std::size_t capacity) {
    const std::vector<FileFilter> filters = parseFilterBlock(filter);
    std::optional<std::string> answer;
    if (const auto zenity = findOnPath("zenity"))
        answer = runForOutput(*zenity, zenityArguments(title, filters));
    else if (const auto kdialog = findOnPath("kdialog"))
        answer = runForOutput(*kdialog, kdialogArguments(title, filters));
    else
        return -1;
    return answer ? acceptAnswer(*answer, path, capacity) : 0;
}

// Reads one line as the terminal's line editing delivers it.
std::optional<std::string> readTerminalLine(int fd) {
    std::string line;
    char byte = 0;
    ssize_t got = 0;
    while ((got = read(fd, &byte, 1)) != 0) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 || byte == '\n') break;
        if (line.size() < kLongestAnswer) line.push_back(byte);
    }
    if (got == 0 && line.empty()) return std::nullopt;
    return line;
}

int askOnTerminal(const char* title, char* path, std::size_t capacity) {
    const int fd = open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (fd < 0) return 0;
    const std::string question = std::string(title) + "\nFile name: ";
    const bool asked = write(fd, question.data(), question.size()) == static_cast<ssize_t>(question.size());
    const std::optional<std::string> answer = asked ? readTerminalLine(fd) : std::nullopt;
    close(fd);
    return answer ? acceptAnswer(*answer, path, capacity) : 0;
}

}  // namespace

int showOpenFileDialog(const char* title, const char* filter, char* path, std::size_t capacity) {
    std::fflush(stdout);
    if (inGraphicalSession()) {
        const int chosen = askGraphically(title, filter, path, capacity);
        if (chosen >= 0) return chosen;
    }
    return askOnTerminal(title, path, capacity);
}

}  // namespace platform

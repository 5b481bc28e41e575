// What the fuzz targets share: a way back from the program's end of a failed
// run, a scratch folder per input, and a check that stops the fuzzer.
#pragma once

#include <filesystem>
#include <string>

namespace fuzz {

// Thrown by this build's endProcess, where the program would end the process.
struct RunEnded {};

// Runs `step`; false when the program ended the run (a failure it reported).
template <typename Step>
bool runUntilEnd(Step step) {
    try {
        step();
        return true;
    } catch (const RunEnded&) {
        return false;
    }
}

// The program prints a line for everything it does; at thousands of inputs a
// second those lines would only slow the fuzzer down.
void silenceStandardOutput();

// A folder of this process's own below the temporary folder ($TMPDIR), made
// at the first call. libFuzzer ends the process without running clean-ups,
// so fuzz/run.sh gives every run a TMPDIR of its own and removes it after.
const std::filesystem::path& processFolder();

// Empties `folder` and makes it again.
void makeEmptyFolder(const std::filesystem::path& folder);

// Makes the current folder what it was at construction again, whatever the
// program's extraction did to it in between.
class CurrentFolderKeeper {
public:
    CurrentFolderKeeper();
    ~CurrentFolderKeeper();
    CurrentFolderKeeper(const CurrentFolderKeeper&) = delete;
    CurrentFolderKeeper& operator=(const CurrentFolderKeeper&) = delete;

private:
    int folder_;
};

// Reports a broken property on standard error and aborts, which libFuzzer
// records as a crash with the input that caused it.
[[noreturn]] void fail(const std::string& what);

void writeBytes(const std::filesystem::path& path, const unsigned char* data, std::size_t size);
std::string readBytes(const std::filesystem::path& path);

}  // namespace fuzz

// What the end-to-end tests share: a scratch folder per test, archives of
// numbered entries, and the texts the program is expected to print.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/support/archive_writer.h"
#include "tests/support/terminal_session.h"

namespace e2e {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
inline constexpr bool kAddressSanitizer = __has_feature(address_sanitizer);
#else
inline constexpr bool kAddressSanitizer = false;
#endif

inline const std::string kBanner =
    "Korvelin DAT File Extractor Version 2\n"
    "Written by the kdat-extract developers\n"
    "Problems and questions: see README.md of kdat-extract\n"
    " 6/30/2001(Updated 7/1/2001)\n\n";

// The progress line of the entry at `index`, counted from 0.
inline std::string writingLine(int index, const fixture::Entry& entry) {
    return std::string(entry.compressed ? "Writing Compressed File #" : "Writing File #") +
           std::to_string(index) + " " + entry.name + " ...\n";
}

inline std::string loadingLine(const std::string& path) {
    return "Loading File " + path + " ...\n\n";
}

// Entries named folder\fileNN.txt, the odd ones compressed, entry n holding 3n bytes.
inline std::vector<fixture::Entry> numberedEntries(int count) {
    std::vector<fixture::Entry> entries;
    for (int n = 1; n <= count; ++n) {
        const std::string number = (n < 10 ? "0" : "") + std::to_string(n);
        entries.push_back({"folder\\file" + number + ".txt", std::string(3 * n, 'a' + n % 26), n % 2 == 1});
    }
    return entries;
}

// Bytes that neither compress nor repeat, so a byte from the wrong place
// shows and no page of them is like another.
inline std::string noise(std::size_t length, unsigned seed) {
    std::string bytes(length, '\0');
    for (char& byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<char>(seed >> 24);
    }
    return bytes;
}

// The listing rows of entries first+1 to last, counted from 1 as shown.
inline std::string rows(const std::vector<fixture::Entry>& entries, int first, int last) {
    std::string text;
    for (int index = first; index < last; ++index)
        text += std::to_string(index + 1) + " " + entries[index].name + " " +
                std::to_string(entries[index].size.value_or(entries[index].content.size())) + " bytes \n";
    return text;
}

// The page whose first row is entry first+1, as the browser prints it.
inline std::string page(const std::vector<fixture::Entry>& entries, int first) {
    return rows(entries, first, std::min<int>(first + 20, static_cast<int>(entries.size())));
}

// Types `keys` and expects `lines` as the last output of a run that ends
// with status 0.
inline void typeAndExpectTheEnd(TerminalSession& session, const std::string& keys, const std::string& lines) {
    ASSERT_TRUE(session.type(keys));
    EXPECT_EQ(session.takeRest(), lines);
    const Ending ending = session.finish();
    EXPECT_TRUE(ending.exited);
    EXPECT_EQ(ending.status, 0);
}

class ExtractorTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "-" + test->name();
        std::replace(name.begin(), name.end(), '/', '-');
        folder_ = std::filesystem::temp_directory_path() / ("kdat-e2e-" + std::to_string(getpid()) + "-" + name);
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder_);
        for (const auto& item : std::filesystem::directory_iterator(folder_.parent_path()))
            if (item.path().string().starts_with(sanitizerLog())) std::filesystem::remove(item.path());
    }

    std::string pathOf(const std::string& name) const { return (folder_ / name).string(); }

    // Writes an archive into the scratch folder and returns its name there.
    std::string writeArchive(const std::vector<fixture::Entry>& entries, const fixture::Layout& layout = {},
                             const std::string& name = "test.dat") {
        fixture::writeFile(pathOf(name), fixture::buildArchive(entries, layout));
        return name;
    }

    SessionOptions inFolder() const { return SessionOptions{.workFolder = folder_.string()}; }

    // Runs in the scratch folder with allocations of 1 GiB or more failing.
    // The sanitizer reserves far more address space than any limit would
    // leave it, so there its own allocator is told to fail instead; its
    // warning about that goes to a log beside the scratch folder.
    SessionOptions inFolderWithLittleMemory() const {
        SessionOptions options = inFolder();
        if (kAddressSanitizer)
            options.environment = {"ASAN_OPTIONS=allocator_may_return_null=1:max_allocation_size_mb=1024:log_path=" +
                                   sanitizerLog()};
        else
            options.addressSpaceLimit = std::uint64_t{1} << 30;
        return options;
    }

    // The scratch folder as the program sees it once it is current.
    std::string root() const { return std::filesystem::canonical(folder_).string(); }
    std::string madeLine(const std::string& relativeFolder) const {
        return "Made the directory " + root() + "/" + relativeFolder + " \n";
    }

    // Everything in the scratch folder but the archive: each file's content,
    // or what else it is ("<folder>", "<link>", "<other>"), by its path
    // relative to the scratch folder.
    std::map<std::string, std::string> tree(const std::string& archive = "test.dat") const {
        std::map<std::string, std::string> found;
        for (const auto& item : std::filesystem::recursive_directory_iterator(folder_)) {
            const std::string relative = item.path().lexically_relative(folder_).string();
            if (relative == archive) continue;
            if (item.is_symlink())
                found[relative] = "<link>";
            else if (item.is_directory())
                found[relative] = "<folder>";
            else if (item.is_regular_file())
                found[relative] = fixture::readFile(item.path().string());
            else
                found[relative] = "<other>";
        }
        return found;
    }

    std::filesystem::path folder_;

private:
    std::string sanitizerLog() const { return folder_.string() + "-sanitizer"; }
};

}  // namespace e2e

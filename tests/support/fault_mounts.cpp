#include "tests/support/fault_mounts.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace fixture {

namespace {

// Runs a shell command quietly; true when it succeeded.
bool run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command and returns the first line it printed, or "" on failure.
std::string firstLineOf(const std::string& command) {
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>/dev/null").c_str(), "r"), pclose);
    if (!pipe) return "";
    char line[256] = {};
    if (!std::fgets(line, sizeof line, pipe.get())) return "";
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

}  // namespace

SmallDisk::SmallDisk(const std::filesystem::path& mountPoint, std::uint64_t bytes) : mountPoint_(mountPoint) {
    std::filesystem::create_directories(mountPoint_);
    mounted_ = run("mount -t tmpfs -o size=" + std::to_string(bytes) + " kdat-test " + quoted(mountPoint_));
    if (!mounted_) why_ = "cannot mount a tmpfs here (needs root)";
}

SmallDisk::~SmallDisk() {
    if (mounted_) run("umount " + quoted(mountPoint_));
}

FailingDisk::FailingDisk(const std::filesystem::path& image, const std::filesystem::path& mountPoint,
                         std::uint64_t bytes)
    : image_(image), mountPoint_(mountPoint) {
    std::filesystem::create_directories(mountPoint_);
    if (!run("truncate -s " + std::to_string(bytes) + " " + quoted(image_) + " && mkfs.ext4 -q -F " + quoted(image_))) {
        why_ = "cannot make an ext4 image (mkfs.ext4)";
        return;
    }
    device_ = firstLineOf("losetup -f --show " + quoted(image_));
    if (device_.empty()) {
        why_ = "no loop device to attach the image to (needs root)";
        return;
    }
    mounted_ = run("mount " + device_ + " " + quoted(mountPoint_));
    if (!mounted_) why_ = "cannot mount the image (needs root)";
}

FailingDisk::~FailingDisk() {
    if (mounted_) run("umount " + quoted(mountPoint_));
    if (!device_.empty()) run("losetup -d " + device_);
}

bool FailingDisk::remount() {
    mounted_ = run("umount " + quoted(mountPoint_)) && run("mount " + device_ + " " + quoted(mountPoint_));
    return mounted_;
}

bool FailingDisk::cutTo(std::uint64_t bytes) {
    return run("truncate -s " + std::to_string(bytes) + " " + quoted(image_) + " && losetup -c " + device_);
}

}  // namespace fixture

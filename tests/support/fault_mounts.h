// Real file systems that fail on cue, for the fault-injection tests: a tmpfs
// too small for what is written to it, and an ext4 image on a loop device
// whose device can be cut short under it, so that reading the data beyond
// the cut fails with an I/O error. Making them needs root (as the tests and
// CI run); where that is refused, `available()` is false and `why()` says
// why, and the test skips.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace fixture {

class SmallDisk {
public:
    // Mounts a tmpfs of `bytes` at `mountPoint`, made if missing.
    SmallDisk(const std::filesystem::path& mountPoint, std::uint64_t bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool available() const { return mounted_; }
    const std::string& why() const { return why_; }

private:
    std::filesystem::path mountPoint_;
    bool mounted_ = false;
    std::string why_;
};

class FailingDisk {
public:
    // Makes an ext4 image of `bytes` at `image`, attaches it to a free loop
    // device and mounts it at `mountPoint`, made if missing.
    FailingDisk(const std::filesystem::path& image, const std::filesystem::path& mountPoint, std::uint64_t bytes);
    ~FailingDisk();
    FailingDisk(const FailingDisk&) = delete;
    FailingDisk& operator=(const FailingDisk&) = delete;

    bool available() const { return mounted_; }
    const std::string& why() const { return why_; }

    // Unmounts and mounts again, so nothing written so far stays cached and
    // the next reads go to the device.
    bool remount();
    // Cuts the device to its first `bytes`: file data beyond them can no
    // longer be read, as from a disk with bad sectors.
    bool cutTo(std::uint64_t bytes);

private:
    std::filesystem::path image_;
    std::filesystem::path mountPoint_;
    std::string device_;
    bool mounted_ = false;
    std::string why_;
};

}  // namespace fixture

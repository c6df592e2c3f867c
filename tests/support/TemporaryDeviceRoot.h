#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include <Foundation/DeviceRoot.h>
#include <Foundation/Value.h>

// A fresh folder that stands for the device's file system while it lives:
// it becomes the device root, and is removed (and the old root put back) at
// the end. Helpers take device paths.
class TemporaryDeviceRoot {
public:
    TemporaryDeviceRoot() : _previous(DeviceRoot::path()) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kl-device-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            throw std::runtime_error("mkdtemp failed");
        }
        _path = pattern;
        DeviceRoot::setPath(_path);
    }
    ~TemporaryDeviceRoot() {
        DeviceRoot::setPath(_previous);
        std::error_code ignored;
        std::filesystem::remove_all(_path, ignored);
    }
    TemporaryDeviceRoot(const TemporaryDeviceRoot&) = delete;
    TemporaryDeviceRoot& operator=(const TemporaryDeviceRoot&) = delete;

    const std::string& path() const { return _path; }
    // Where a device path lies on this machine, without resolving links.
    std::string host(const std::string& devicePath) const { return _path + devicePath; }

    void makeFolder(const std::string& devicePath) const {
        std::filesystem::create_directories(host(devicePath));
    }
    void write(const std::string& devicePath, const std::string& contents) const {
        std::filesystem::create_directories(std::filesystem::path(host(devicePath)).parent_path());
        std::ofstream(host(devicePath), std::ios::binary) << contents;
    }
    void write(const std::string& devicePath, const NSData& contents) const {
        write(devicePath, std::string(contents.begin(), contents.end()));
    }
    std::string read(const std::string& devicePath) const {
        std::ifstream in(host(devicePath), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // A symbolic link at the device path holding `target` verbatim.
    void link(const std::string& devicePath, const std::string& target) const {
        std::filesystem::create_directories(std::filesystem::path(host(devicePath)).parent_path());
        std::filesystem::create_symlink(target, host(devicePath));
    }

private:
    std::string _previous;
    std::string _path;
};

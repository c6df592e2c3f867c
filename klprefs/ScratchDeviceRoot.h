#pragma once

#include <string>

// A copy of a device root in a fresh temporary folder, removed again when
// the copy goes: a run on the built-in example stores its values there and
// leaves the example as it was.
class ScratchDeviceRoot {
public:
    // Throws a load HostError when the copy cannot be made.
    explicit ScratchDeviceRoot(const std::string& original);
    ~ScratchDeviceRoot();
    ScratchDeviceRoot(const ScratchDeviceRoot&) = delete;
    ScratchDeviceRoot& operator=(const ScratchDeviceRoot&) = delete;

    const std::string& path() const { return _path; }

    // The built-in example: examples/device-root beside the program's build
    // or install folder, else in the source tree it was built from.
    static std::string builtInExample();

private:
    std::string _path;
};

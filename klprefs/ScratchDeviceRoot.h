#pragma once

#include <memory>
#include <string>
#include <utility>

// A copy of a device root in a fresh temporary folder, removed again when
// the copy goes: a run on the built-in example stores its values there and
// leaves the example as it was. The folder's name carries the run's process
// id ("klprefs-<pid>-XXXXXX"), so the copies of runs that were killed before
// they could remove theirs are found and removed by the next run.
class ScratchDeviceRoot {
public:
    // Throws a load HostError when the copy cannot be made.
    explicit ScratchDeviceRoot(const std::string& original);
    // An empty one, to be filled by the caller.
    ScratchDeviceRoot();
    ~ScratchDeviceRoot();
    ScratchDeviceRoot(const ScratchDeviceRoot&) = delete;
    ScratchDeviceRoot& operator=(const ScratchDeviceRoot&) = delete;

    const std::string& path() const { return _path; }

    // Takes over a copy this process made before it replaced its program
    // (klprefs serve relaunching itself keeps its process id), so that the
    // copy goes with its new owner; nil when `path` is no such copy.
    static std::unique_ptr<ScratchDeviceRoot> adopt(const std::string& path);

    // The built-in example: examples/device-root beside the program's build
    // or install folder, else in the source tree it was built from.
    static std::string builtInExample();

    // Removes the scratch copies in `folder` whose runs have ended; a copy
    // whose process is still running (or cannot be told apart from one) is
    // kept. Returns how many were removed.
    static size_t removeCopiesOfEndedRuns(const std::string& folder);

private:
    struct Adopted {};
    ScratchDeviceRoot(Adopted, std::string path) : _path(std::move(path)) {}

    std::string _path;
};

#pragma once

#include <optional>
#include <string>
#include <vector>

#include "PageHost.h"
#include "PictureComparison.h"

// The reference pictures of one script in one variant: the step
// `expect image NAME [row ROW]` draws the whole window (screens presented
// over the page included) or one row's frame, and compares it with
// `__snapshots__/<script>/<NAME>[.<variant>].png` beside the script. A
// missing reference is recorded or fails, a different one fails or is
// replaced, as the update policy says; a failure leaves the picture drawn
// (`.actual.png`) and where it changed (`.diff.png`) beside the reference.
class ReferencePictures {
public:
    // Which references a run writes: those missing (the default), every
    // one, those missing or changed, or none (a missing one fails).
    enum class Update { Missing, All, Changed, None };

    struct Policy {
        Update update = Update::Missing;
        // The changed pixels a picture may have and still match.
        size_t maxDiffPixels = 0;
        // How far a channel may be off for its pixel to count as unchanged
        // (0 to 1; see PictureComparison).
        double threshold = 0;
    };

    static std::optional<Update> updateNamed(const std::string& name);
    static constexpr const char* kUpdateNames = "missing, all, changed, none";
    // The most bytes a reference file may have.
    static constexpr size_t kMaximumFileSize = 64 * 1024 * 1024;
    static constexpr size_t kMaximumNameLength = 100;

    ReferencePictures(const std::string& scriptPath, std::string variant, double scale,
                      Policy policy);

    // The words after "expect image": NAME, or NAME row ROW. Throws a step
    // HostError when the picture differs, is missing and not recorded, or
    // cannot be drawn or written.
    void expect(PageHost& host, const std::vector<std::string>& arguments);
    // The picture the words after "expect image" draw now, as its reference
    // file holds it. Throws a step HostError for a bad form or name, or when
    // it cannot be drawn.
    std::string picture(PageHost& host, const std::vector<std::string>& arguments) const;
    // Writes the bytes picture() drew as the reference NAME; answers where.
    std::string record(const std::string& name, const std::string& bytes) const;
    // What was recorded or replaced, each "recorded PATH" or "updated PATH".
    const std::vector<std::string>& written() const { return _written; }

private:
    PictureComparison::Image draw(PageHost& host, const std::vector<std::string>& arguments) const;
    void write(const std::string& path, const std::string& bytes) const;
    void removeStale(const std::string& stem) const;
    // The reference's path without ".png".
    std::string stem(const std::string& name) const;

    std::string _folder;
    std::string _variant;
    double _scale;
    Policy _policy;
    std::vector<std::string> _written;
};

#pragma once

#include <array>
#include <optional>
#include <string>

#include <Preferences/PSListController.h>

// What a tweak's own list controller usually adds to its page in code, for a
// bundle whose controller cannot be loaded here: the header banner at the top
// of the table and the respring button in the navigation bar.
class ControllerAdditions {
public:
    static constexpr size_t kHeaderFieldCount = 7;
    // The banner's texts in the order KLHeaderView takes them; an empty one is nil.
    using HeaderFields = std::array<std::optional<std::string>, kHeaderFieldCount>;
    static constexpr const char* kHeaderFieldNames =
        "handle,developer,tweak,version,email,discord,donate";

    // The seven fields, separated by commas; blanks around each are dropped.
    // Throws a usage HostError for too many or too few fields or text that
    // is not UTF-8.
    static HeaderFields headerFromText(const std::string& text);
    // The seven fields one a line (so they may hold commas), from a small
    // file. Throws a usage HostError when the file cannot be read or its
    // fields are wrong as above.
    static HeaderFields headerFromFile(const std::string& path);

    bool empty() const { return !header && !respringButton; }
    // Puts the banner and the button on the controller, whose view is loaded.
    void addTo(const Ref<PSListController>& controller) const;

    std::optional<HeaderFields> header;
    bool respringButton = false;

    static constexpr CGFloat kHeaderHeight = 160;
    static constexpr size_t kMaximumHeaderFileSize = 64 * 1024;
};

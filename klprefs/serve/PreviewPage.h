#pragma once

#include <string_view>

// The page the preview serves: plain HTML, CSS and JavaScript built into the
// program, fetching nothing from elsewhere. It shows the frame at the
// screen's size in points, sends clicks, drags and typing as the server's
// gestures, and beside the frame the variant, the stored values, the events
// and warnings, and the script being recorded. Texts from the page or the
// bundle are only ever set as text, never as markup.
class PreviewPage {
public:
    PreviewPage() = delete;
    static std::string_view html();
};

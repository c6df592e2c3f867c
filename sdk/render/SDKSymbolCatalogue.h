#pragma once

#include <string>
#include <vector>

#include <QuartzCore/Forward.h>
#include <render/Forward.h>

// Our own vector glyphs for the system symbols the rows name, drawn under
// their platform names in one colour, the tint of the view that shows them.
// Each is designed on a 24-point square and scaled to fit its box.
class SDKSymbolCatalogue {
public:
    SDKSymbolCatalogue() = delete;

    static const std::vector<std::string>& names();
    // Draws the glyph centred in the box at the largest size that fits;
    // false, drawing nothing, for a name the catalogue lacks.
    static bool drawSymbol(const std::string& name, SDKCanvas& canvas, const CGRect& box,
                           const CGColor& color);
};

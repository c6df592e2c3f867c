#pragma once

#include <QuartzCore/CGColor.h>
#include <UIKit/UIFont.h>
#include <UIKit/UIKitDefines.h>

// How a piece of text is set: the system font at a size and weight, a colour,
// an alignment in its box, a line limit (0: as many as it needs), whether it
// shrinks to fit its width on one line before it is truncated, and where it
// sits in the box's height.
struct SDKTextStyle {
    CGFloat fontSize = 17;
    UIFont::Weight weight = UIFont::Weight::Regular;
    CGColor color{0, 0, 0, 1};
    NSTextAlignment alignment = NSTextAlignmentNatural;
    NSInteger numberOfLines = 1;
    bool shrinksToFit = false;
    // The smallest fraction of the font size shrinking may reach; 0 sets no limit.
    CGFloat minimumScaleFactor = 0;
    // Centred in its box as a label sets it, or from the box's top as a
    // paragraph of several lines is.
    bool centresVertically = true;
    // The direction of the view the text is in: natural alignment is its
    // leading side.
    UIUserInterfaceLayoutDirection layoutDirection = UIUserInterfaceLayoutDirectionLeftToRight;
};

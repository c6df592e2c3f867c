#pragma once

#include <UIKit/UIColorPickerViewController.h>
#include <render/SDKScreenLook.h>

// The system colour picker's sheet: its title and close button, the grid of
// colours, the opacity slider when it supports alpha, and the selected
// colour's swatch.
class SDKColorPickerScreenLook : public SDKScreenLook {
public:
    bool matches(const UIViewController& controller) const override;
    void draw(UIViewController& controller, SDKViewPainter& painter,
              const CGRect& screen) const override;
    void describe(UIViewController& controller, Value::Dictionary& description) const override;

    static constexpr int kGridColumns = 12;
    static constexpr int kGridRows = 10;
    // The grid's colour at a column and row: greys on the first row, then
    // every hue from its darkest shade to its palest.
    static CGColor gridColor(int column, int row);
};

#pragma once

#include <optional>
#include <string>
#include <vector>

#include <UIKit/Forward.h>
#include <UIKit/UIControl.h>

// A row of equally wide segments with titles, one of them selected. A tap on
// a segment other than the selected one selects it and sends
// UIControlEventValueChanged; setting the selection sends nothing.
class UISegmentedControl : public UIControl {
public:
    static constexpr long kNoSegment = -1;

    Ref<UISegmentedControl> initWithItems(const std::vector<std::string>& titles);

    size_t numberOfSegments() const { return _labels.size(); }
    std::optional<std::string> titleForSegmentAtIndex(size_t index) const;
    // kNoSegment while none is selected.
    long selectedSegmentIndex() const { return _selectedSegmentIndex; }
    // An index past the segments selects none.
    void setSelectedSegmentIndex(long index);

    // The segment's rectangle in the control's bounds.
    CGRect rectForSegmentAtIndex(size_t index) const;

    CGSize intrinsicContentSize() const override;
    void layoutSubviews() override;
    void endTrackingWithTouch(const Ref<UITouch>& touch) override;

    static constexpr CGFloat kHeight = 32;
    static constexpr CGFloat kSelectionInset = 2;

private:
    std::vector<Ref<UILabel>> _labels;
    long _selectedSegmentIndex = kNoSegment;
};

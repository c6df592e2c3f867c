#include <UIKit/UISegmentedControl.h>

#include <algorithm>
#include <cmath>

#include <UIKit/UIFont.h>
#include <UIKit/UILabel.h>
#include <UIKit/UITouch.h>

namespace {

constexpr CGFloat kFontSize = 13;
constexpr CGFloat kTitlePadding = 12;

} // namespace

Ref<UISegmentedControl> UISegmentedControl::initWithItems(const std::vector<std::string>& titles) {
    UIControl::initWithFrame(CGRectZero);
    for (const std::string& title : titles) {
        Ref<UILabel> label = alloc<UILabel>()->init();
        label->setText(title);
        label->setFont(UIFont::systemFontOfSize(kFontSize));
        label->setTextAlignment(NSTextAlignmentCenter);
        label->setUserInteractionEnabled(false);
        addSubview(label);
        _labels.push_back(label);
    }
    setFrame(CGRectMake(0, 0, intrinsicContentSize().width, kHeight));
    return self<UISegmentedControl>();
}

std::optional<std::string> UISegmentedControl::titleForSegmentAtIndex(size_t index) const {
    return index < _labels.size() ? _labels[index]->text() : std::nullopt;
}

void UISegmentedControl::setSelectedSegmentIndex(long index) {
    _selectedSegmentIndex =
        index >= 0 && static_cast<size_t>(index) < _labels.size() ? index : kNoSegment;
    for (size_t i = 0; i < _labels.size(); ++i) {
        const bool selected = static_cast<long>(i) == _selectedSegmentIndex;
        _labels[i]->setFont(selected ? UIFont::boldSystemFontOfSize(kFontSize)
                                     : UIFont::systemFontOfSize(kFontSize));
    }
}

CGRect UISegmentedControl::rectForSegmentAtIndex(size_t index) const {
    const CGRect b = bounds();
    if (_labels.empty()) {
        return CGRectZero;
    }
    // Right to left, the first segment is at the right.
    const CGFloat width = b.size.width / _labels.size();
    return directionalRect(CGRectMake(width * index, 0, width, b.size.height));
}

CGSize UISegmentedControl::intrinsicContentSize() const {
    CGFloat widest = 0;
    for (const Ref<UILabel>& label : _labels) {
        widest = std::max(widest, label->intrinsicContentSize().width);
    }
    return CGSizeMake(std::ceil((widest + 2 * kTitlePadding) * _labels.size()), kHeight);
}

void UISegmentedControl::layoutSubviews() {
    for (size_t i = 0; i < _labels.size(); ++i) {
        const CGRect segment = rectForSegmentAtIndex(i);
        _labels[i]->setFrame(CGRectMake(segment.origin.x + 4, segment.origin.y,
                                        std::max(0.0, segment.size.width - 8),
                                        segment.size.height));
    }
}

void UISegmentedControl::endTrackingWithTouch(const Ref<UITouch>& touch) {
    if (!isEnabled() || !isTouchInside() || !touch) {
        return;
    }
    const CGPoint point = touch->locationInView(self<UIView>());
    for (size_t i = 0; i < _labels.size(); ++i) {
        if (CGRectContainsPoint(rectForSegmentAtIndex(i), point)) {
            if (static_cast<long>(i) != _selectedSegmentIndex) {
                setSelectedSegmentIndex(static_cast<long>(i));
                sendActionsForControlEvents(UIControlEventValueChanged);
            }
            return;
        }
    }
}

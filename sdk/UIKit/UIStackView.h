#pragma once

#include <vector>

#include <UIKit/Forward.h>
#include <UIKit/NSLayoutConstraint.h>
#include <UIKit/UIView.h>

enum UIStackViewDistribution : NSInteger {
    UIStackViewDistributionFill = 0,
    UIStackViewDistributionFillEqually = 1,
    UIStackViewDistributionFillProportionally = 2,
    UIStackViewDistributionEqualSpacing = 3,
    UIStackViewDistributionEqualCentering = 4,
};

enum UIStackViewAlignment : NSInteger {
    UIStackViewAlignmentFill = 0,
    UIStackViewAlignmentLeading = 1,
    UIStackViewAlignmentTop = UIStackViewAlignmentLeading,
    UIStackViewAlignmentFirstBaseline = 2,
    UIStackViewAlignmentCenter = 3,
    UIStackViewAlignmentTrailing = 4,
    UIStackViewAlignmentBottom = UIStackViewAlignmentTrailing,
    UIStackViewAlignmentLastBaseline = 5,
};

// Lays out its arranged subviews in a row or a column with constraints of its
// own: along the axis by its distribution and spacing, across it by its
// alignment. Where nothing else sizes it, it takes the size of its content.
// Its constraints are made again, at the next layout pass, whenever the
// arranged subviews or the settings change.
class UIStackView : public UIView {
public:
    Ref<UIStackView> initWithFrame(const CGRect& frame);
    Ref<UIStackView> init() { return initWithFrame(CGRectZero); }
    Ref<UIStackView> initWithArrangedSubviews(const std::vector<Ref<UIView>>& views);

    const std::vector<Ref<UIView>>& arrangedSubviews() const { return _arrangedSubviews; }
    // Adds the view as a subview too, and turns its autoresizing-mask
    // translation off; a view already arranged moves to the end.
    void addArrangedSubview(const Ref<UIView>& view);
    // The view stays a subview.
    void removeArrangedSubview(const Ref<UIView>& view);
    // insertArrangedSubview:atIndex:. Raises NSRangeException past the end.
    void insertArrangedSubview(const Ref<UIView>& view, NSUInteger stackIndex);

    UILayoutConstraintAxis axis() const { return _axis; }
    void setAxis(UILayoutConstraintAxis axis);
    UIStackViewDistribution distribution() const { return _distribution; }
    void setDistribution(UIStackViewDistribution distribution);
    UIStackViewAlignment alignment() const { return _alignment; }
    void setAlignment(UIStackViewAlignment alignment);
    CGFloat spacing() const { return _spacing; }
    void setSpacing(CGFloat spacing);

    void updateConstraints() override;

protected:
    void willRemoveSubview(const Ref<UIView>& subview) override;
    void subviewLayoutInputsDidChange(UIView& subview) override;

private:
    void arrangementDidChange();
    std::vector<Ref<NSLayoutConstraint>> arrangementConstraints();
    // The i-th spacer: a rectangle in the stack's coordinates between two
    // arranged views, kept from one arrangement to the next.
    Ref<UIView> spacer(size_t index);

    std::vector<Ref<UIView>> _arrangedSubviews;
    std::vector<Ref<NSLayoutConstraint>> _arrangementConstraints;
    std::vector<Ref<UIView>> _spacers;
    UILayoutConstraintAxis _axis = UILayoutConstraintAxisHorizontal;
    UIStackViewDistribution _distribution = UIStackViewDistributionFill;
    UIStackViewAlignment _alignment = UIStackViewAlignmentFill;
    CGFloat _spacing = 0;
};

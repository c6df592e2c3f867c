#include <UIKit/UIStackView.h>

#include <algorithm>

#include <Foundation/NSException.h>
#include <UIKit/NSStringDrawing.h>
#include <UIKit/SDKMainThreadChecker.h>
#include <UIKit/UILabel.h>

namespace {

// The stack fits its content below every other wish: hugging, resistance
// and sizes set from outside all win.
constexpr UILayoutPriority kCanvasFitPriority = UILayoutPriorityFittingSizeLevel - 1;
// Proportional sizes give way only to required constraints.
constexpr UILayoutPriority kProportionalPriority = UILayoutPriorityRequired - 1;

// The attributes of one axis.
struct AxisAttributes {
    NSLayoutAttribute leading;
    NSLayoutAttribute trailing;
    NSLayoutAttribute size;
    NSLayoutAttribute center;
};

AxisAttributes attributesOf(UILayoutConstraintAxis axis) {
    if (axis == UILayoutConstraintAxisHorizontal) {
        return {NSLayoutAttributeLeading, NSLayoutAttributeTrailing, NSLayoutAttributeWidth,
                NSLayoutAttributeCenterX};
    }
    return {NSLayoutAttributeTop, NSLayoutAttributeBottom, NSLayoutAttributeHeight,
            NSLayoutAttributeCenterY};
}

UILayoutConstraintAxis otherAxis(UILayoutConstraintAxis axis) {
    return axis == UILayoutConstraintAxisHorizontal ? UILayoutConstraintAxisVertical
                                                    : UILayoutConstraintAxisHorizontal;
}

// Collects the arrangement's constraints as they are made.
class ConstraintList {
public:
    void relate(const Ref<UIView>& first, NSLayoutAttribute firstAttribute,
                NSLayoutRelation relation, const Ref<UIView>& second,
                NSLayoutAttribute secondAttribute, CGFloat constant = 0,
                UILayoutPriority priority = UILayoutPriorityRequired, CGFloat multiplier = 1) {
        add(alloc<NSLayoutConstraint>()->initWithItem(first, firstAttribute, relation, second,
                                                      secondAttribute, multiplier, constant),
            priority);
    }
    void fix(const Ref<UIView>& view, NSLayoutAttribute attribute, NSLayoutRelation relation,
             CGFloat constant, UILayoutPriority priority = UILayoutPriorityRequired) {
        add(alloc<NSLayoutConstraint>()->initWithItem(view, attribute, relation, nullptr,
                                                      NSLayoutAttributeNotAnAttribute, 1, constant),
            priority);
    }
    std::vector<Ref<NSLayoutConstraint>> take() { return std::move(_constraints); }

private:
    void add(const Ref<NSLayoutConstraint>& constraint, UILayoutPriority priority) {
        constraint->setPriority(priority);
        _constraints.push_back(constraint);
    }

    std::vector<Ref<NSLayoutConstraint>> _constraints;
};

// Where a view's baseline is: an attribute and an offset from it. A label's
// line is centred in its bounds; any other view's baseline is its bottom.
std::pair<NSLayoutAttribute, CGFloat> baselineOf(const Ref<UIView>& view) {
    if (Ref<UILabel> label = objc_cast<UILabel>(view)) {
        const CGFloat ascender = NSStringDrawing::ascenderForFont(label->font());
        const CGFloat lineHeight = NSStringDrawing::lineHeightForFont(label->font());
        return {NSLayoutAttributeCenterY, ascender - lineHeight / 2};
    }
    return {NSLayoutAttributeBottom, 0};
}

} // namespace

Ref<UIStackView> UIStackView::initWithFrame(const CGRect& frame) {
    UIView::initWithFrame(frame);
    return self<UIStackView>();
}

Ref<UIStackView> UIStackView::initWithArrangedSubviews(const std::vector<Ref<UIView>>& views) {
    initWithFrame(CGRectZero);
    for (const Ref<UIView>& view : views) {
        addArrangedSubview(view);
    }
    return self<UIStackView>();
}

void UIStackView::addArrangedSubview(const Ref<UIView>& view) {
    const SDKMainThreadChecker::Entry entry("-[UIStackView addArrangedSubview:]");
    if (!view || view.get() == this) {
        return;
    }
    std::erase(_arrangedSubviews, view);
    _arrangedSubviews.push_back(view);
    view->setTranslatesAutoresizingMaskIntoConstraints(false);
    if (view->superview().get() != this) {
        addSubview(view);
    }
    arrangementDidChange();
}

void UIStackView::removeArrangedSubview(const Ref<UIView>& view) {
    const SDKMainThreadChecker::Entry entry("-[UIStackView removeArrangedSubview:]");
    if (std::erase(_arrangedSubviews, view) > 0) {
        arrangementDidChange();
    }
}

void UIStackView::insertArrangedSubview(const Ref<UIView>& view, NSUInteger stackIndex) {
    const SDKMainThreadChecker::Entry entry("-[UIStackView insertArrangedSubview:atIndex:]");
    if (stackIndex > _arrangedSubviews.size()) {
        throw NSException(NSRangeException, "insertArrangedSubview:atIndex: index " +
                                                std::to_string(stackIndex) + " beyond bounds " +
                                                std::to_string(_arrangedSubviews.size()));
    }
    if (!view || view.get() == this) {
        return;
    }
    std::erase(_arrangedSubviews, view);
    const size_t index = std::min<size_t>(stackIndex, _arrangedSubviews.size());
    _arrangedSubviews.insert(_arrangedSubviews.begin() + static_cast<std::ptrdiff_t>(index), view);
    view->setTranslatesAutoresizingMaskIntoConstraints(false);
    if (view->superview().get() != this) {
        addSubview(view);
    }
    arrangementDidChange();
}

void UIStackView::setAxis(UILayoutConstraintAxis axis) {
    const SDKMainThreadChecker::Entry entry("-[UIStackView setAxis:]");
    if (axis != _axis) {
        _axis = axis;
        arrangementDidChange();
    }
}

void UIStackView::setDistribution(UIStackViewDistribution distribution) {
    const SDKMainThreadChecker::Entry entry("-[UIStackView setDistribution:]");
    if (distribution != _distribution) {
        _distribution = distribution;
        arrangementDidChange();
    }
}

void UIStackView::setAlignment(UIStackViewAlignment alignment) {
    const SDKMainThreadChecker::Entry entry("-[UIStackView setAlignment:]");
    if (alignment != _alignment) {
        _alignment = alignment;
        arrangementDidChange();
    }
}

void UIStackView::setSpacing(CGFloat spacing) {
    const SDKMainThreadChecker::Entry entry("-[UIStackView setSpacing:]");
    if (spacing != _spacing) {
        _spacing = spacing;
        arrangementDidChange();
    }
}

void UIStackView::updateConstraints() {
    // The new set goes in before the old one leaves, so that constraints
    // common to both never leave the solver.
    std::vector<Ref<NSLayoutConstraint>> next = arrangementConstraints();
    NSLayoutConstraint::activateConstraints(next);
    NSLayoutConstraint::deactivateConstraints(_arrangementConstraints);
    _arrangementConstraints = std::move(next);
}

void UIStackView::willRemoveSubview(const Ref<UIView>& subview) {
    removeArrangedSubview(subview);
}

void UIStackView::subviewLayoutInputsDidChange(UIView& subview) {
    auto arranged =
        std::find_if(_arrangedSubviews.begin(), _arrangedSubviews.end(),
                     [&subview](const Ref<UIView>& view) { return view.get() == &subview; });
    if (arranged != _arrangedSubviews.end()) {
        arrangementDidChange();
    }
}

void UIStackView::arrangementDidChange() {
    setNeedsUpdateConstraints();
}

Ref<UIView> UIStackView::spacer(size_t index) {
    while (_spacers.size() <= index) {
        Ref<UIView> guide = alloc<UIView>()->init();
        guide->setHidden(true);
        guide->setUserInteractionEnabled(false);
        adoptLayoutGuide(*guide);
        _spacers.push_back(guide);
    }
    return _spacers[index];
}

std::vector<Ref<NSLayoutConstraint>> UIStackView::arrangementConstraints() {
    const Ref<UIView> stack = self<UIView>();
    const AxisAttributes along = attributesOf(_axis);
    const AxisAttributes across = attributesOf(otherAxis(_axis));
    ConstraintList list;

    std::vector<Ref<UIView>> shown;
    for (const Ref<UIView>& view : _arrangedSubviews) {
        if (view->isHidden()) {
            // A hidden view takes no room.
            list.fix(view, along.size, NSLayoutRelationEqual, 0);
            list.relate(view, along.leading, NSLayoutRelationEqual, stack, along.leading);
        } else {
            shown.push_back(view);
        }
    }

    // Along the axis: the first and last views meet the stack's edges, and
    // the distribution sets what lies between.
    if (!shown.empty()) {
        list.relate(shown.front(), along.leading, NSLayoutRelationEqual, stack, along.leading);
        list.relate(shown.back(), along.trailing, NSLayoutRelationEqual, stack, along.trailing);
    }
    for (size_t i = 1; i < shown.size(); ++i) {
        const Ref<UIView>& previous = shown[i - 1];
        const Ref<UIView>& next = shown[i];
        switch (_distribution) {
        case UIStackViewDistributionEqualSpacing: {
            // The gaps are spacers of one size, at least the spacing.
            const Ref<UIView> gap = spacer(i - 1);
            list.relate(gap, along.leading, NSLayoutRelationEqual, previous, along.trailing);
            list.relate(gap, along.trailing, NSLayoutRelationEqual, next, along.leading);
            list.fix(gap, along.size, NSLayoutRelationGreaterThanOrEqual, _spacing);
            if (i > 1) {
                list.relate(gap, along.size, NSLayoutRelationEqual, spacer(0), along.size);
            }
            break;
        }
        case UIStackViewDistributionEqualCentering: {
            // Centre to centre, spacers of one size; edges at least the spacing apart.
            const Ref<UIView> gap = spacer(i - 1);
            list.relate(next, along.leading, NSLayoutRelationGreaterThanOrEqual, previous,
                        along.trailing, _spacing);
            list.relate(gap, along.leading, NSLayoutRelationEqual, previous, along.center);
            list.relate(gap, along.trailing, NSLayoutRelationEqual, next, along.center);
            if (i > 1) {
                list.relate(gap, along.size, NSLayoutRelationEqual, spacer(0), along.size);
            }
            break;
        }
        default:
            list.relate(next, along.leading, NSLayoutRelationEqual, previous, along.trailing,
                        _spacing);
            break;
        }
    }
    if (shown.size() > 1) {
        switch (_distribution) {
        case UIStackViewDistributionEqualSpacing:
            list.fix(spacer(0), along.size, NSLayoutRelationEqual, _spacing, kCanvasFitPriority);
            break;
        case UIStackViewDistributionEqualCentering:
            list.fix(spacer(0), along.size, NSLayoutRelationEqual, 0, kCanvasFitPriority);
            break;
        case UIStackViewDistributionFillEqually:
            for (size_t i = 1; i < shown.size(); ++i) {
                list.relate(shown[i], along.size, NSLayoutRelationEqual, shown[0], along.size);
            }
            break;
        case UIStackViewDistributionFillProportionally: {
            // Sizes in proportion to the intrinsic ones, where every view has one.
            std::vector<CGFloat> lengths;
            for (const Ref<UIView>& view : shown) {
                const CGSize size = view->intrinsicContentSize();
                lengths.push_back(_axis == UILayoutConstraintAxisHorizontal ? size.width
                                                                            : size.height);
            }
            if (std::all_of(lengths.begin(), lengths.end(), [](CGFloat l) { return l > 0; })) {
                for (size_t i = 1; i < shown.size(); ++i) {
                    list.relate(shown[i], along.size, NSLayoutRelationEqual, shown[0], along.size,
                                0, kProportionalPriority, lengths[i] / lengths[0]);
                }
            }
            break;
        }
        default:
            break;
        }
    }

    // Across the axis, by the alignment.
    const bool baseline = _axis == UILayoutConstraintAxisHorizontal &&
                          (_alignment == UIStackViewAlignmentFirstBaseline ||
                           _alignment == UIStackViewAlignmentLastBaseline);
    const UIStackViewAlignment alignment =
        baseline || (_alignment != UIStackViewAlignmentFirstBaseline &&
                     _alignment != UIStackViewAlignmentLastBaseline)
            ? _alignment
            : UIStackViewAlignmentFill;
    for (const Ref<UIView>& view : _arrangedSubviews) {
        switch (alignment) {
        case UIStackViewAlignmentFill:
            list.relate(view, across.leading, NSLayoutRelationEqual, stack, across.leading);
            list.relate(view, across.trailing, NSLayoutRelationEqual, stack, across.trailing);
            break;
        case UIStackViewAlignmentLeading:
            list.relate(view, across.leading, NSLayoutRelationEqual, stack, across.leading);
            list.relate(view, across.trailing, NSLayoutRelationLessThanOrEqual, stack,
                        across.trailing);
            break;
        case UIStackViewAlignmentTrailing:
            list.relate(view, across.trailing, NSLayoutRelationEqual, stack, across.trailing);
            list.relate(view, across.leading, NSLayoutRelationGreaterThanOrEqual, stack,
                        across.leading);
            break;
        case UIStackViewAlignmentCenter:
            list.relate(view, across.center, NSLayoutRelationEqual, stack, across.center);
            list.relate(view, across.leading, NSLayoutRelationGreaterThanOrEqual, stack,
                        across.leading);
            break;
        default:
            list.relate(view, across.leading, NSLayoutRelationGreaterThanOrEqual, stack,
                        across.leading);
            list.relate(view, across.trailing, NSLayoutRelationLessThanOrEqual, stack,
                        across.trailing);
            break;
        }
    }
    if (baseline) {
        for (size_t i = 1; i < shown.size(); ++i) {
            const auto [firstAttribute, firstOffset] = baselineOf(shown[0]);
            const auto [attribute, offset] = baselineOf(shown[i]);
            list.relate(shown[i], attribute, NSLayoutRelationEqual, shown[0], firstAttribute,
                        firstOffset - offset);
        }
    }
    // Across, the stack is as thick as its thickest view unless something else sizes it.
    if (alignment != UIStackViewAlignmentFill && !_arrangedSubviews.empty()) {
        list.fix(stack, across.size, NSLayoutRelationEqual, 0, kCanvasFitPriority);
    }
    return list.take();
}

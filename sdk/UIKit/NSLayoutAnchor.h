#pragma once

#include <UIKit/NSLayoutConstraint.h>

// One attribute of one view, from which constraints are made. X-axis anchors
// pair only with X-axis anchors, Y with Y, dimensions with dimensions.
class NSLayoutAnchor : public NSObject {
public:
    Ref<NSLayoutAnchor> initWithView(const Ref<UIView>& view, NSLayoutAttribute attribute);
    Ref<UIView> view() const { return _view.lock(); }
    NSLayoutAttribute attribute() const { return _attribute; }

protected:
    Ref<NSLayoutConstraint> constraintTo(const Ref<NSLayoutAnchor>& anchor,
                                         NSLayoutRelation relation, CGFloat multiplier,
                                         CGFloat constant) const;

private:
    Weak<UIView> _view;
    NSLayoutAttribute _attribute = NSLayoutAttributeNotAnAttribute;
};

// The relations every anchor offers, typed so that only anchors of the same
// axis meet.
template <class Anchor> class NSLayoutTypedAnchor : public NSLayoutAnchor {
public:
    Ref<NSLayoutConstraint> constraintEqualToAnchor(const Ref<Anchor>& anchor,
                                                    CGFloat constant = 0) const {
        return constraintTo(anchor, NSLayoutRelationEqual, 1, constant);
    }
    Ref<NSLayoutConstraint> constraintGreaterThanOrEqualToAnchor(const Ref<Anchor>& anchor,
                                                                 CGFloat constant = 0) const {
        return constraintTo(anchor, NSLayoutRelationGreaterThanOrEqual, 1, constant);
    }
    Ref<NSLayoutConstraint> constraintLessThanOrEqualToAnchor(const Ref<Anchor>& anchor,
                                                              CGFloat constant = 0) const {
        return constraintTo(anchor, NSLayoutRelationLessThanOrEqual, 1, constant);
    }
};

class NSLayoutXAxisAnchor : public NSLayoutTypedAnchor<NSLayoutXAxisAnchor> {};
class NSLayoutYAxisAnchor : public NSLayoutTypedAnchor<NSLayoutYAxisAnchor> {};

// Width or height: also against constants and with multipliers.
class NSLayoutDimension : public NSLayoutTypedAnchor<NSLayoutDimension> {
public:
    Ref<NSLayoutConstraint> constraintEqualToConstant(CGFloat constant) const;
    Ref<NSLayoutConstraint> constraintGreaterThanOrEqualToConstant(CGFloat constant) const;
    Ref<NSLayoutConstraint> constraintLessThanOrEqualToConstant(CGFloat constant) const;
    // constraintEqualToAnchor:multiplier: and constraintEqualToAnchor:multiplier:constant:
    Ref<NSLayoutConstraint> constraintEqualToAnchorMultiplier(const Ref<NSLayoutDimension>& anchor,
                                                              CGFloat multiplier,
                                                              CGFloat constant = 0) const;
};

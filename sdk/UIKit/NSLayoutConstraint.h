#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QuartzCore/CGGeometry.h>
#include <UIKit/UIKitDefines.h>
#include <objc/NSObject.h>

class NSLayoutAnchor;
class UILayoutEngine;
class UIView;

using UILayoutPriority = float;
inline constexpr UILayoutPriority UILayoutPriorityRequired = 1000;
inline constexpr UILayoutPriority UILayoutPriorityDefaultHigh = 750;
inline constexpr UILayoutPriority UILayoutPriorityDefaultLow = 250;
inline constexpr UILayoutPriority UILayoutPriorityFittingSizeLevel = 50;

enum NSLayoutRelation : NSInteger {
    NSLayoutRelationLessThanOrEqual = -1,
    NSLayoutRelationEqual = 0,
    NSLayoutRelationGreaterThanOrEqual = 1,
};

enum NSLayoutAttribute : NSInteger {
    NSLayoutAttributeNotAnAttribute = 0,
    NSLayoutAttributeLeft = 1,
    NSLayoutAttributeRight = 2,
    NSLayoutAttributeTop = 3,
    NSLayoutAttributeBottom = 4,
    NSLayoutAttributeLeading = 5,
    NSLayoutAttributeTrailing = 6,
    NSLayoutAttributeWidth = 7,
    NSLayoutAttributeHeight = 8,
    NSLayoutAttributeCenterX = 9,
    NSLayoutAttributeCenterY = 10,
};

enum UILayoutConstraintAxis : NSInteger {
    UILayoutConstraintAxisHorizontal = 0,
    UILayoutConstraintAxisVertical = 1,
};

// firstItem.firstAttribute <relation> secondItem.secondAttribute × multiplier + constant,
// at a priority. Active constraints take part in the layout of their views'
// common tree; a view is held weakly, so a constraint never keeps one alive.
// While active, a constraint is held by its items' nearest common ancestor.
class NSLayoutConstraint : public NSObject {
public:
    // Raises NSInvalidArgumentException for attributes that cannot be
    // related: a position with a size, a horizontal with a vertical position,
    // leading or trailing with left or right, a position against no item.
    Ref<NSLayoutConstraint> initWithItem(const Ref<UIView>& firstItem,
                                         NSLayoutAttribute firstAttribute,
                                         NSLayoutRelation relation, const Ref<UIView>& secondItem,
                                         NSLayoutAttribute secondAttribute, CGFloat multiplier,
                                         CGFloat constant);

    static void activateConstraints(const std::vector<Ref<NSLayoutConstraint>>& constraints);
    static void deactivateConstraints(const std::vector<Ref<NSLayoutConstraint>>& constraints);

    bool isActive() const { return _active; }
    // Activating items that share no common ancestor logs an error and leaves
    // the constraint inactive.
    void setActive(bool active);
    UILayoutPriority priority() const { return _priority; }
    // Between 1 and 1000. A required constraint cannot become optional once
    // active, nor the reverse, as on the platform.
    void setPriority(UILayoutPriority priority);
    CGFloat constant() const { return _constant; }
    void setConstant(CGFloat constant);
    CGFloat multiplier() const { return _multiplier; }
    NSLayoutRelation relation() const { return _relation; }
    Ref<UIView> firstItem() const { return _firstItem.lock(); }
    Ref<UIView> secondItem() const { return _secondItem.lock(); }
    NSLayoutAttribute firstAttribute() const { return _firstAttribute; }
    NSLayoutAttribute secondAttribute() const { return _secondAttribute; }

    // Whether it relates a leading or trailing edge, which a right-to-left
    // layout mirrors.
    bool isDirectional() const;

    // Such as "<NSLayoutConstraint:0x5581 UILabel:0x55a0.left == UIView:0x55b0.left + 15>".
    std::string description() const;
    // How constraint messages name a view ("UILabel:0x…") and print a number.
    static std::string describeItem(const UIView* view);
    static std::string describeNumber(CGFloat value);
    // The relation alone, as descriptions and the layout engine's messages show it.
    static std::string describeRelation(const UIView* firstItem, NSLayoutAttribute firstAttribute,
                                        NSLayoutRelation relation, const UIView* secondItem,
                                        NSLayoutAttribute secondAttribute, CGFloat multiplier,
                                        CGFloat constant, UILayoutPriority priority);

private:
    friend class UILayoutEngine;
    friend class UIView;

    // Changes a value of an active constraint: out of its engine, changed, back in.
    template <class Change> void reinstall(Change change);
    // Its leading and trailing edges fall on other sides now: an active
    // constraint enters its engine afresh.
    void layoutDirectionDidChange();

    Weak<UIView> _firstItem;
    Weak<UIView> _secondItem;
    NSLayoutAttribute _firstAttribute = NSLayoutAttributeNotAnAttribute;
    NSLayoutAttribute _secondAttribute = NSLayoutAttributeNotAnAttribute;
    NSLayoutRelation _relation = NSLayoutRelationEqual;
    CGFloat _multiplier = 1;
    CGFloat _constant = 0;
    UILayoutPriority _priority = UILayoutPriorityRequired;
    bool _active = false;
    // While active: the view that holds it, and its place among that view's constraints.
    Weak<UIView> _container;
    size_t _installIndex = 0;
    // When it was first activated; of two conflicting constraints the later one is broken.
    uint64_t _order = 0;
};

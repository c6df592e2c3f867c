#include <UIKit/NSLayoutAnchor.h>

#include <Foundation/NSException.h>
#include <UIKit/UIView.h>

Ref<NSLayoutAnchor> NSLayoutAnchor::initWithView(const Ref<UIView>& view,
                                                 NSLayoutAttribute attribute) {
    _view = view;
    _attribute = attribute;
    return self<NSLayoutAnchor>();
}

Ref<NSLayoutConstraint> NSLayoutAnchor::constraintTo(const Ref<NSLayoutAnchor>& anchor,
                                                     NSLayoutRelation relation, CGFloat multiplier,
                                                     CGFloat constant) const {
    if (!anchor) {
        throw NSException(NSInvalidArgumentException, "a constraint needs an anchor to relate to");
    }
    return alloc<NSLayoutConstraint>()->initWithItem(view(), _attribute, relation, anchor->view(),
                                                     anchor->attribute(), multiplier, constant);
}

Ref<NSLayoutConstraint> NSLayoutDimension::constraintEqualToConstant(CGFloat constant) const {
    return alloc<NSLayoutConstraint>()->initWithItem(view(), attribute(), NSLayoutRelationEqual,
                                                     nullptr, NSLayoutAttributeNotAnAttribute, 1,
                                                     constant);
}

Ref<NSLayoutConstraint>
NSLayoutDimension::constraintGreaterThanOrEqualToConstant(CGFloat constant) const {
    return alloc<NSLayoutConstraint>()->initWithItem(view(), attribute(),
                                                     NSLayoutRelationGreaterThanOrEqual, nullptr,
                                                     NSLayoutAttributeNotAnAttribute, 1, constant);
}

Ref<NSLayoutConstraint>
NSLayoutDimension::constraintLessThanOrEqualToConstant(CGFloat constant) const {
    return alloc<NSLayoutConstraint>()->initWithItem(view(), attribute(),
                                                     NSLayoutRelationLessThanOrEqual, nullptr,
                                                     NSLayoutAttributeNotAnAttribute, 1, constant);
}

Ref<NSLayoutConstraint>
NSLayoutDimension::constraintEqualToAnchorMultiplier(const Ref<NSLayoutDimension>& anchor,
                                                     CGFloat multiplier, CGFloat constant) const {
    return constraintTo(anchor, NSLayoutRelationEqual, multiplier, constant);
}

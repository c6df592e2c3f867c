#include <UIKit/NSLayoutConstraint.h>

#include <cmath>
#include <cstdio>

#include <Foundation/NSException.h>
#include <Foundation/SDKEventLog.h>
#include <UIKit/SDKMainThreadChecker.h>
#include <UIKit/UILayoutEngine.h>
#include <UIKit/UIView.h>

namespace {

enum class AttributeKind { None, Horizontal, Vertical, Size };

AttributeKind kindOf(NSLayoutAttribute attribute) {
    switch (attribute) {
    case NSLayoutAttributeLeft:
    case NSLayoutAttributeRight:
    case NSLayoutAttributeLeading:
    case NSLayoutAttributeTrailing:
    case NSLayoutAttributeCenterX:
        return AttributeKind::Horizontal;
    case NSLayoutAttributeTop:
    case NSLayoutAttributeBottom:
    case NSLayoutAttributeCenterY:
        return AttributeKind::Vertical;
    case NSLayoutAttributeWidth:
    case NSLayoutAttributeHeight:
        return AttributeKind::Size;
    default:
        return AttributeKind::None;
    }
}

bool isDirectionalAttribute(NSLayoutAttribute attribute) {
    return attribute == NSLayoutAttributeLeading || attribute == NSLayoutAttributeTrailing;
}

bool isAbsoluteHorizontal(NSLayoutAttribute attribute) {
    return attribute == NSLayoutAttributeLeft || attribute == NSLayoutAttributeRight;
}

const char* attributeName(NSLayoutAttribute attribute) {
    switch (attribute) {
    case NSLayoutAttributeLeft:
        return "left";
    case NSLayoutAttributeRight:
        return "right";
    case NSLayoutAttributeTop:
        return "top";
    case NSLayoutAttributeBottom:
        return "bottom";
    case NSLayoutAttributeLeading:
        return "leading";
    case NSLayoutAttributeTrailing:
        return "trailing";
    case NSLayoutAttributeWidth:
        return "width";
    case NSLayoutAttributeHeight:
        return "height";
    case NSLayoutAttributeCenterX:
        return "centerX";
    case NSLayoutAttributeCenterY:
        return "centerY";
    default:
        return "notAnAttribute";
    }
}

void invalid(const std::string& reason) {
    throw NSException(NSInvalidArgumentException, reason);
}

void requireFinite(CGFloat value, const char* what) {
    if (!std::isfinite(value)) {
        invalid(std::string("a constraint's ") + what + " must be a finite number");
    }
}

} // namespace

Ref<NSLayoutConstraint> NSLayoutConstraint::initWithItem(const Ref<UIView>& firstItem,
                                                         NSLayoutAttribute firstAttribute,
                                                         NSLayoutRelation relation,
                                                         const Ref<UIView>& secondItem,
                                                         NSLayoutAttribute secondAttribute,
                                                         CGFloat multiplier, CGFloat constant) {
    const AttributeKind firstKind = kindOf(firstAttribute);
    const AttributeKind secondKind = kindOf(secondAttribute);
    if (!firstItem || firstKind == AttributeKind::None) {
        invalid("a constraint needs a first item and an attribute of it");
    }
    if (!secondItem != (secondKind == AttributeKind::None)) {
        invalid("a constraint's second item and second attribute go together");
    }
    if (!secondItem && firstKind != AttributeKind::Size) {
        invalid("a constraint cannot set a position equal to a constant");
    }
    if (secondItem && (firstKind == AttributeKind::Size) != (secondKind == AttributeKind::Size)) {
        invalid("invalid pairing of layout attributes: a size with a position");
    }
    if (secondItem && firstKind != AttributeKind::Size && firstKind != secondKind) {
        invalid("invalid pairing of layout attributes: a horizontal with a vertical position");
    }
    if ((isDirectionalAttribute(firstAttribute) && isAbsoluteHorizontal(secondAttribute)) ||
        (isAbsoluteHorizontal(firstAttribute) && isDirectionalAttribute(secondAttribute))) {
        invalid(
            "a constraint cannot relate a leading or trailing attribute to a left or right one");
    }
    if (relation < NSLayoutRelationLessThanOrEqual ||
        relation > NSLayoutRelationGreaterThanOrEqual) {
        invalid("unknown layout relation");
    }
    requireFinite(multiplier, "multiplier");
    requireFinite(constant, "constant");
    if (secondItem && multiplier == 0 && firstKind != AttributeKind::Size) {
        invalid("a multiplier of 0 sets a position equal to a constant");
    }
    _firstItem = firstItem;
    _firstAttribute = firstAttribute;
    _relation = relation;
    _secondItem = secondItem;
    _secondAttribute = secondAttribute;
    _multiplier = multiplier;
    _constant = constant;
    return self<NSLayoutConstraint>();
}

void NSLayoutConstraint::activateConstraints(
    const std::vector<Ref<NSLayoutConstraint>>& constraints) {
    const SDKMainThreadChecker::Entry entry("+[NSLayoutConstraint activateConstraints:]");
    for (const Ref<NSLayoutConstraint>& constraint : constraints) {
        if (constraint) {
            constraint->setActive(true);
        }
    }
}

void NSLayoutConstraint::deactivateConstraints(
    const std::vector<Ref<NSLayoutConstraint>>& constraints) {
    const SDKMainThreadChecker::Entry entry("+[NSLayoutConstraint deactivateConstraints:]");
    for (const Ref<NSLayoutConstraint>& constraint : constraints) {
        if (constraint) {
            constraint->setActive(false);
        }
    }
}

void NSLayoutConstraint::setActive(bool active) {
    const SDKMainThreadChecker::Entry entry("-[NSLayoutConstraint setActive:]");
    if (active == _active) {
        return;
    }
    // Leaving its container may drop the last other reference.
    Ref<NSLayoutConstraint> keep = self<NSLayoutConstraint>();
    if (!active) {
        _active = false;
        if (Ref<UIView> container = _container.lock()) {
            container->rootLayoutEngine().removeConstraint(*this);
            container->uninstallConstraint(*this);
        }
        return;
    }
    Ref<UIView> first = firstItem();
    Ref<UIView> second = secondItem();
    if (!first || (_secondAttribute != NSLayoutAttributeNotAnAttribute && !second)) {
        SDKEventLog::logError("Unable to activate constraint " + description() +
                              ": an item it relates is gone.");
        return;
    }
    UIView* container =
        second ? UIView::nearestCommonAncestor(first.get(), second.get()) : first.get();
    if (!container) {
        SDKEventLog::logError(
            "Unable to activate constraint with anchors " + describeItem(first.get()) + "." +
            attributeName(_firstAttribute) + " and " + describeItem(second.get()) + "." +
            attributeName(_secondAttribute) +
            " because they have no common ancestor. Does the constraint or its anchors "
            "reference items in different view hierarchies? That's illegal.");
        return;
    }
    if (_order == 0) {
        _order = UILayoutEngine::nextOrder();
    }
    _active = true;
    container->installConstraint(keep);
    container->rootLayoutEngine().addConstraint(*this, *container);
}

template <class Change> void NSLayoutConstraint::reinstall(Change change) {
    Ref<UIView> container = _active ? _container.lock() : nullptr;
    if (!container) {
        change();
        return;
    }
    UILayoutEngine& engine = container->rootLayoutEngine();
    engine.removeConstraint(*this);
    change();
    engine.addConstraint(*this, *container);
}

void NSLayoutConstraint::layoutDirectionDidChange() {
    reinstall([] {});
}

bool NSLayoutConstraint::isDirectional() const {
    return isDirectionalAttribute(_firstAttribute) || isDirectionalAttribute(_secondAttribute);
}

void NSLayoutConstraint::setPriority(UILayoutPriority priority) {
    const SDKMainThreadChecker::Entry entry("-[NSLayoutConstraint setPriority:]");
    if (!(priority >= 1 && priority <= UILayoutPriorityRequired)) {
        invalid("a layout priority is between 1 and 1000");
    }
    if (priority == _priority) {
        return;
    }
    if (_active &&
        (priority == UILayoutPriorityRequired) != (_priority == UILayoutPriorityRequired)) {
        throw NSException(NSInternalInconsistencyException,
                          "mutating a priority from required to not on an installed constraint "
                          "(or vice-versa) is not supported");
    }
    reinstall([this, priority] { _priority = priority; });
}

void NSLayoutConstraint::setConstant(CGFloat constant) {
    const SDKMainThreadChecker::Entry entry("-[NSLayoutConstraint setConstant:]");
    requireFinite(constant, "constant");
    if (constant == _constant) {
        return;
    }
    reinstall([this, constant] { _constant = constant; });
}

std::string
NSLayoutConstraint::describeRelation(const UIView* firstItem, NSLayoutAttribute firstAttribute,
                                     NSLayoutRelation relation, const UIView* secondItem,
                                     NSLayoutAttribute secondAttribute, CGFloat multiplier,
                                     CGFloat constant, UILayoutPriority priority) {
    std::string text = describeItem(firstItem) + "." + attributeName(firstAttribute);
    text += relation == NSLayoutRelationEqual             ? " == "
            : relation == NSLayoutRelationLessThanOrEqual ? " <= "
                                                          : " >= ";
    if (secondItem) {
        text += describeItem(secondItem) + "." + attributeName(secondAttribute);
        if (multiplier != 1) {
            text += " * " + describeNumber(multiplier);
        }
        if (constant != 0) {
            text += (constant < 0 ? " - " : " + ") + describeNumber(std::fabs(constant));
        }
    } else {
        text += describeNumber(constant);
    }
    if (priority != UILayoutPriorityRequired) {
        text += " @" + describeNumber(priority);
    }
    return text;
}

std::string NSLayoutConstraint::description() const {
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
    const Ref<UIView> first = firstItem();
    const Ref<UIView> second = secondItem();
    return std::string("<NSLayoutConstraint:") + address + " " +
           describeRelation(first.get(), _firstAttribute, _relation, second.get(), _secondAttribute,
                            _multiplier, _constant, _priority) +
           (_active ? " (active)>" : ">");
}

std::string NSLayoutConstraint::describeItem(const UIView* view) {
    if (!view) {
        return "(nil)";
    }
    char address[32];
    std::snprintf(address, sizeof address, ":%p", static_cast<const void*>(view));
    return view->className() + address;
}

std::string NSLayoutConstraint::describeNumber(CGFloat value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

#include <UIKit/UITraitCollection.h>

#include <UIKit/UIScreen.h>

namespace {

// Unset until the platform sets it on this thread.
thread_local Ref<UITraitCollection> current;

} // namespace

bool UIContentSizeCategoryIsAccessibilityCategory(UIContentSizeCategory category) {
    return category >= UIContentSizeCategory::AccessibilityMedium;
}

Ref<UITraitCollection>
UITraitCollection::traitCollectionWithUserInterfaceStyle(UIUserInterfaceStyle style) {
    Ref<UITraitCollection> traits = alloc<UITraitCollection>();
    traits->_style = style;
    return traits;
}

Ref<UITraitCollection>
UITraitCollection::traitCollectionWithPreferredContentSizeCategory(UIContentSizeCategory category) {
    Ref<UITraitCollection> traits = alloc<UITraitCollection>();
    traits->_contentSize = category;
    return traits;
}

Ref<UITraitCollection>
UITraitCollection::traitCollectionWithHorizontalSizeClass(UIUserInterfaceSizeClass sizeClass) {
    Ref<UITraitCollection> traits = alloc<UITraitCollection>();
    traits->_horizontal = sizeClass;
    return traits;
}

Ref<UITraitCollection>
UITraitCollection::traitCollectionWithVerticalSizeClass(UIUserInterfaceSizeClass sizeClass) {
    Ref<UITraitCollection> traits = alloc<UITraitCollection>();
    traits->_vertical = sizeClass;
    return traits;
}

Ref<UITraitCollection> UITraitCollection::traitCollectionWithDisplayScale(CGFloat scale) {
    Ref<UITraitCollection> traits = alloc<UITraitCollection>();
    traits->_scale = scale;
    return traits;
}

Ref<UITraitCollection>
UITraitCollection::traitCollectionWithUserInterfaceIdiom(UIUserInterfaceIdiom idiom) {
    Ref<UITraitCollection> traits = alloc<UITraitCollection>();
    traits->_idiom = idiom;
    return traits;
}

Ref<UITraitCollection>
UITraitCollection::traitCollectionWithLayoutDirection(UITraitEnvironmentLayoutDirection direction) {
    Ref<UITraitCollection> traits = alloc<UITraitCollection>();
    traits->_direction = direction;
    return traits;
}

Ref<UITraitCollection> UITraitCollection::traitCollectionWithTraitsFromCollections(
    const std::vector<Ref<UITraitCollection>>& collections) {
    Ref<UITraitCollection> traits = alloc<UITraitCollection>();
    for (const Ref<UITraitCollection>& c : collections) {
        if (!c) {
            continue;
        }
        if (c->_style != UIUserInterfaceStyleUnspecified) {
            traits->_style = c->_style;
        }
        if (c->_contentSize != UIContentSizeCategory::Unspecified) {
            traits->_contentSize = c->_contentSize;
        }
        if (c->_horizontal != UIUserInterfaceSizeClassUnspecified) {
            traits->_horizontal = c->_horizontal;
        }
        if (c->_vertical != UIUserInterfaceSizeClassUnspecified) {
            traits->_vertical = c->_vertical;
        }
        if (c->_scale > 0) {
            traits->_scale = c->_scale;
        }
        if (c->_idiom != UIUserInterfaceIdiomUnspecified) {
            traits->_idiom = c->_idiom;
        }
        if (c->_direction != UITraitEnvironmentLayoutDirectionUnspecified) {
            traits->_direction = c->_direction;
        }
    }
    return traits;
}

bool UITraitCollection::containsTraitsInCollection(const Ref<UITraitCollection>& other) const {
    if (!other) {
        return true;
    }
    const UITraitCollection& o = *other;
    return (o._style == UIUserInterfaceStyleUnspecified || o._style == _style) &&
           (o._contentSize == UIContentSizeCategory::Unspecified ||
            o._contentSize == _contentSize) &&
           (o._horizontal == UIUserInterfaceSizeClassUnspecified || o._horizontal == _horizontal) &&
           (o._vertical == UIUserInterfaceSizeClassUnspecified || o._vertical == _vertical) &&
           (o._scale <= 0 || o._scale == _scale) &&
           (o._idiom == UIUserInterfaceIdiomUnspecified || o._idiom == _idiom) &&
           (o._direction == UITraitEnvironmentLayoutDirectionUnspecified ||
            o._direction == _direction);
}

bool UITraitCollection::isEqual(const UITraitCollection& other) const {
    return this == &other ||
           (_style == other._style && _contentSize == other._contentSize &&
            _horizontal == other._horizontal && _vertical == other._vertical &&
            _scale == other._scale && _idiom == other._idiom && _direction == other._direction);
}

bool UITraitCollection::hasDifferentColorAppearanceComparedToTraitCollection(
    const Ref<UITraitCollection>& other) const {
    return !other || other->_style != _style;
}

Ref<UITraitCollection> UITraitCollection::currentTraitCollection() {
    return current ? current : UIScreen::mainScreen()->traitCollection();
}

void UITraitCollection::setCurrentTraitCollection(const Ref<UITraitCollection>& collection) {
    current = collection;
}

void UITraitCollection::performAsCurrentTraitCollection(
    const std::function<void()>& actions) const {
    CurrentScope scope(std::const_pointer_cast<UITraitCollection>(self<UITraitCollection>()));
    actions();
}

UITraitCollection::CurrentScope::CurrentScope(const Ref<UITraitCollection>& collection)
    : _before(current) {
    current = collection;
}

UITraitCollection::CurrentScope::~CurrentScope() {
    current = std::move(_before);
}

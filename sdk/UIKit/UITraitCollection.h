#pragma once

#include <functional>
#include <string>
#include <vector>

#include <UIKit/UIKitDefines.h>
#include <objc/NSObject.h>

enum UIUserInterfaceStyle : NSInteger {
    UIUserInterfaceStyleUnspecified = 0,
    UIUserInterfaceStyleLight = 1,
    UIUserInterfaceStyleDark = 2,
};

enum UIUserInterfaceSizeClass : NSInteger {
    UIUserInterfaceSizeClassUnspecified = 0,
    UIUserInterfaceSizeClassCompact = 1,
    UIUserInterfaceSizeClassRegular = 2,
};

enum UIUserInterfaceIdiom : NSInteger {
    UIUserInterfaceIdiomUnspecified = -1,
    UIUserInterfaceIdiomPhone = 0,
    UIUserInterfaceIdiomPad = 1,
};

enum UITraitEnvironmentLayoutDirection : NSInteger {
    UITraitEnvironmentLayoutDirectionUnspecified = -1,
    UITraitEnvironmentLayoutDirectionLeftToRight = 0,
    UITraitEnvironmentLayoutDirectionRightToLeft = 1,
};

// The twelve text sizes of the Display & Text Size setting, smallest first;
// the platform's constants are strings, their order is what matters here.
enum class UIContentSizeCategory : NSInteger {
    Unspecified = -1,
    ExtraSmall = 0,
    Small,
    Medium,
    Large,
    ExtraLarge,
    ExtraExtraLarge,
    ExtraExtraExtraLarge,
    AccessibilityMedium,
    AccessibilityLarge,
    AccessibilityExtraLarge,
    AccessibilityExtraExtraLarge,
    AccessibilityExtraExtraExtraLarge,
};
inline constexpr size_t kUIContentSizeCategoryCount = 12;
bool UIContentSizeCategoryIsAccessibilityCategory(UIContentSizeCategory category);

// The environment an interface is shown in: appearance, text size, size
// classes, the screen's scale, the kind of device, the writing direction.
// Immutable; a trait that is unspecified takes the value of the collection
// it is combined with. The screen holds the device's traits; windows, view
// controllers and views inherit them down the tree.
class UITraitCollection : public NSObject {
public:
    static Ref<UITraitCollection> traitCollectionWithUserInterfaceStyle(UIUserInterfaceStyle style);
    static Ref<UITraitCollection>
    traitCollectionWithPreferredContentSizeCategory(UIContentSizeCategory category);
    static Ref<UITraitCollection>
    traitCollectionWithHorizontalSizeClass(UIUserInterfaceSizeClass sizeClass);
    static Ref<UITraitCollection>
    traitCollectionWithVerticalSizeClass(UIUserInterfaceSizeClass sizeClass);
    static Ref<UITraitCollection> traitCollectionWithDisplayScale(CGFloat scale);
    static Ref<UITraitCollection> traitCollectionWithUserInterfaceIdiom(UIUserInterfaceIdiom idiom);
    static Ref<UITraitCollection>
    traitCollectionWithLayoutDirection(UITraitEnvironmentLayoutDirection direction);
    // Each specified trait of a later collection replaces an earlier one's.
    static Ref<UITraitCollection> traitCollectionWithTraitsFromCollections(
        const std::vector<Ref<UITraitCollection>>& collections);

    UIUserInterfaceStyle userInterfaceStyle() const { return _style; }
    UIContentSizeCategory preferredContentSizeCategory() const { return _contentSize; }
    UIUserInterfaceSizeClass horizontalSizeClass() const { return _horizontal; }
    UIUserInterfaceSizeClass verticalSizeClass() const { return _vertical; }
    CGFloat displayScale() const { return _scale; }
    UIUserInterfaceIdiom userInterfaceIdiom() const { return _idiom; }
    UITraitEnvironmentLayoutDirection layoutDirection() const { return _direction; }

    // Whether every trait `other` specifies has the same value here.
    bool containsTraitsInCollection(const Ref<UITraitCollection>& other) const;
    bool isEqual(const UITraitCollection& other) const;
    // Whether a colour resolved in one collection may differ in the other.
    bool
    hasDifferentColorAppearanceComparedToTraitCollection(const Ref<UITraitCollection>& other) const;

    // The collection of the code running now on this thread: set by the
    // platform while it lays out, draws or reports a trait change, as the
    // dynamic colours resolve against it. Outside those, the main screen's.
    static Ref<UITraitCollection> currentTraitCollection();
    static void setCurrentTraitCollection(const Ref<UITraitCollection>& collection);
    // Runs `actions` with this collection as the current one.
    void performAsCurrentTraitCollection(const std::function<void()>& actions) const;
    // Makes a collection the current one for a scope (a layout or drawing
    // pass of one view), putting the one before back at its end.
    class CurrentScope {
    public:
        explicit CurrentScope(const Ref<UITraitCollection>& collection);
        ~CurrentScope();
        CurrentScope(const CurrentScope&) = delete;
        CurrentScope& operator=(const CurrentScope&) = delete;

    private:
        Ref<UITraitCollection> _before;
    };

private:
    UIUserInterfaceStyle _style = UIUserInterfaceStyleUnspecified;
    UIContentSizeCategory _contentSize = UIContentSizeCategory::Unspecified;
    UIUserInterfaceSizeClass _horizontal = UIUserInterfaceSizeClassUnspecified;
    UIUserInterfaceSizeClass _vertical = UIUserInterfaceSizeClassUnspecified;
    CGFloat _scale = 0;
    UIUserInterfaceIdiom _idiom = UIUserInterfaceIdiomUnspecified;
    UITraitEnvironmentLayoutDirection _direction = UITraitEnvironmentLayoutDirectionUnspecified;
};

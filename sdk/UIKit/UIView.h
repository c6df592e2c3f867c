#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include <QuartzCore/CALayer.h>
#include <QuartzCore/CGGeometry.h>
#include <QuartzCore/Forward.h>
#include <UIKit/Forward.h>
#include <UIKit/NSLayoutAnchor.h>
#include <UIKit/NSLayoutConstraint.h>
#include <UIKit/UIKitDefines.h>
#include <UIKit/UILayoutEngine.h>
#include <UIKit/UIResponder.h>
#include <UIKit/UITraitCollection.h>

class UIGestureRecognizer;
class UIViewController;
class UIWindow;

// An intrinsic size component that a view does not have.
inline constexpr CGFloat UIViewNoIntrinsicMetric = -1;

// A rectangle on screen with a layer, subviews and a place in the view tree.
// A parent holds its subviews strongly; the link up to the superview is weak.
//
// Layout: constraints made with the anchors and activated take part in the
// tree's layout engine, held by the root; layoutIfNeeded solves it and writes
// the frames of the views it places.
class UIView : public UIResponder {
public:
    ~UIView() override;

    Ref<UIView> initWithFrame(const CGRect& frame);
    Ref<UIView> init() { return initWithFrame(CGRectZero); }

    CGRect frame() const { return _frame; }
    virtual void setFrame(const CGRect& frame);
    CGRect bounds() const { return CGRectMake(0, 0, _frame.size.width, _frame.size.height); }
    CGPoint center() const { return CGPointMake(CGRectGetMidX(_frame), CGRectGetMidY(_frame)); }

    Ref<CALayer> layer() const { return _layer; }

    // The tree.
    Ref<UIView> superview() const { return _superview.lock(); }
    const std::vector<Ref<UIView>>& subviews() const { return _subviews; }
    void addSubview(const Ref<UIView>& view);
    void insertSubviewAtIndex(const Ref<UIView>& view, size_t index);
    void removeFromSuperview();
    bool isDescendantOfView(const UIView* view) const;
    // The window at the root of the tree, or nil when the view is not in one.
    Ref<UIWindow> window() const;
    virtual void willMoveToSuperview(const Ref<UIView>& newSuperview);
    virtual void didMoveToSuperview();

    // Appearance.
    Ref<UIColor> backgroundColor() const { return _backgroundColor; }
    void setBackgroundColor(const Ref<UIColor>& color);
    bool isHidden() const { return _hidden; }
    void setHidden(bool hidden);
    CGFloat alpha() const { return _alpha; }
    void setAlpha(CGFloat alpha);
    bool clipsToBounds() const { return _layer->masksToBounds(); }
    void setClipsToBounds(bool clips);
    UIViewContentMode contentMode() const { return _contentMode; }
    void setContentMode(UIViewContentMode mode);
    NSInteger tag() const { return _tag; }
    void setTag(NSInteger tag);
    Ref<UIView> viewWithTag(NSInteger tag);

    // The tint: the view's own, else its superview's, else the system blue.
    Ref<UIColor> tintColor() const;
    void setTintColor(const Ref<UIColor>& color);
    // Sent when the tint this view shows changes.
    virtual void tintColorDidChange() {}

    // Traits: the window's (its screen's), passed down the tree; a view
    // controller's view takes its controller's override, and any view may
    // set the appearance of its subtree. The view's background colour is
    // resolved again whenever its appearance changes.
    Ref<UITraitCollection> traitCollection() const { return _traitCollection; }
    // Sent, with the trait collection as the current one, when the view's
    // traits changed: as it joins a tree with other traits, or in the layout
    // pass after the screen's traits changed.
    virtual void traitCollectionDidChange(const Ref<UITraitCollection>& previous);
    UIUserInterfaceStyle overrideUserInterfaceStyle() const { return _overrideStyle; }
    void setOverrideUserInterfaceStyle(UIUserInterfaceStyle style);

    // Events.
    bool isUserInteractionEnabled() const { return _userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled);
    // The deepest visible, interactive view under a point in this view's coordinates.
    virtual Ref<UIView> hitTest(CGPoint point);
    virtual bool pointInside(CGPoint point) const;
    const std::vector<Ref<UIGestureRecognizer>>& gestureRecognizers() const {
        return _gestureRecognizers;
    }
    void addGestureRecognizer(const Ref<UIGestureRecognizer>& recognizer);
    void removeGestureRecognizer(const Ref<UIGestureRecognizer>& recognizer);

    // A view that does not handle touches passes them to its superview, the
    // next responder.
    void touchesBegan(const Ref<UITouch>& touch) override;
    void touchesMoved(const Ref<UITouch>& touch) override;
    void touchesEnded(const Ref<UITouch>& touch) override;
    void touchesCancelled(const Ref<UITouch>& touch) override;

    // A view in a window becomes its window's first responder when it can.
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    bool isFirstResponder() const override;

    // Coordinates. A nil view means the window (the root of the tree).
    CGPoint convertPointToView(CGPoint point, const Ref<UIView>& view) const;
    CGRect convertRectToView(const CGRect& rect, const Ref<UIView>& view) const;

    // Layout.
    bool translatesAutoresizingMaskIntoConstraints() const { return _translatesMask; }
    // While on, a view that takes part in constraints is held at its frame.
    void setTranslatesAutoresizingMaskIntoConstraints(bool translates);
    void setNeedsLayout();
    bool needsLayout() const { return _needsLayout; }
    // Updates constraints where asked, solves the tree's constraints, writes
    // the frames of this subtree's constrained views and runs layoutSubviews
    // where a view needs it, until nothing changes.
    void layoutIfNeeded();
    virtual void layoutSubviews() {}
    virtual CGSize sizeThatFits(CGSize size) const;
    void sizeToFit();

    // Constraint updates, run at the start of a layout pass, subviews first.
    void setNeedsUpdateConstraints();
    bool needsUpdateConstraints() const { return _needsUpdateConstraints; }
    void updateConstraintsIfNeeded();
    virtual void updateConstraints() {}

    // Right to left or left to right. A view's own attribute decides where it
    // says so (playback and spatial controls, and forced directions); an
    // unspecified one takes its superview's effective direction, and a view
    // outside any tree the application's.
    UISemanticContentAttribute semanticContentAttribute() const {
        return _semanticContentAttribute;
    }
    void setSemanticContentAttribute(UISemanticContentAttribute attribute);
    UIUserInterfaceLayoutDirection effectiveUserInterfaceLayoutDirection() const;
    // A subview's frame worked out left to right in this view's bounds,
    // mirrored when the view lays out right to left: for subviews placed by
    // hand in layoutSubviews.
    CGRect directionalRect(const CGRect& leftToRight) const;
    // The direction an attribute gives relative to the application's, or to `direction`.
    static UIUserInterfaceLayoutDirection
    userInterfaceLayoutDirectionForSemanticContentAttribute(UISemanticContentAttribute attribute);
    static UIUserInterfaceLayoutDirection
    userInterfaceLayoutDirectionForSemanticContentAttributeRelativeToLayoutDirection(
        UISemanticContentAttribute attribute, UIUserInterfaceLayoutDirection direction);

    // Anchors, made on first use. Leading and trailing are left and right,
    // or right and left where the constraint's first view lays out right to
    // left, when the constraint is activated.
    Ref<NSLayoutXAxisAnchor> leftAnchor();
    Ref<NSLayoutXAxisAnchor> rightAnchor();
    Ref<NSLayoutXAxisAnchor> leadingAnchor();
    Ref<NSLayoutXAxisAnchor> trailingAnchor();
    Ref<NSLayoutXAxisAnchor> centerXAnchor();
    Ref<NSLayoutYAxisAnchor> topAnchor();
    Ref<NSLayoutYAxisAnchor> bottomAnchor();
    Ref<NSLayoutYAxisAnchor> centerYAnchor();
    Ref<NSLayoutDimension> widthAnchor();
    Ref<NSLayoutDimension> heightAnchor();

    // The active constraints this view holds: those whose items' nearest
    // common ancestor it is.
    const std::vector<Ref<NSLayoutConstraint>>& constraints() const { return _constraints; }
    // The layout engine of this view's tree; nil until a constraint is activated in it.
    const UILayoutEngine* layoutEngine() const;

    // The size the content wants, UIViewNoIntrinsicMetric where it has none;
    // it enters layout through content hugging and compression resistance.
    virtual CGSize intrinsicContentSize() const;
    void invalidateIntrinsicContentSize();
    UILayoutPriority contentHuggingPriorityForAxis(UILayoutConstraintAxis axis) const;
    void setContentHuggingPriority(UILayoutPriority priority, UILayoutConstraintAxis axis);
    UILayoutPriority contentCompressionResistancePriorityForAxis(UILayoutConstraintAxis axis) const;
    void setContentCompressionResistancePriority(UILayoutPriority priority,
                                                 UILayoutConstraintAxis axis);

    // The view controller whose view this is, if any.
    Ref<UIViewController> viewDelegate() const { return _viewDelegate.lock(); }
    void setViewDelegate(const Ref<UIViewController>& controller) { _viewDelegate = controller; }
    // The nearest view controller among this view and its ancestors: the
    // controller that presents modal screens for it.
    Ref<UIViewController> _viewControllerForAncestor() const;

    // Animations run at once; the transition is recorded so that hosts can show it.
    static void transitionWithView(const Ref<UIView>& view, double duration,
                                   UIViewAnimationOptions options,
                                   const std::function<void()>& animations,
                                   const std::function<void(bool)>& completion);
    static void animateWithDuration(double duration, const std::function<void()>& animations);

protected:
    // Sent to the superview before a subview leaves it.
    virtual void willRemoveSubview(const Ref<UIView>& subview);
    // Sent to the superview when a subview's visibility or intrinsic size changed.
    virtual void subviewLayoutInputsDidChange(UIView& subview);
    // Places a view that is not a subview in this view's coordinates: a guide
    // that constraints relate to, never drawn, touched or laid out itself.
    void adoptLayoutGuide(UIView& guide);

    // Sends tintColorDidChange to this view and to every descendant that
    // inherits its tint.
    void propagateTintChange();
    // The traits a root view passes down: the window's screen's; nil for a
    // view outside a window, which keeps those it has.
    virtual Ref<UITraitCollection> rootTraitCollection() const { return nullptr; }
    // Brings this subtree's traits up to date from those inherited.
    void updateTraitCollection(const Ref<UITraitCollection>& inherited);
    void updateTraitCollectionFromSuperview();

private:
    friend class NSLayoutConstraint;
    friend class UIViewController;
    friend class UILayoutEngine;

    template <class Anchor> Ref<Anchor> anchor(NSLayoutAttribute attribute);
    void placeSublayerOf(const UIView& view);
    UIView* rootView();
    static UIView* nearestCommonAncestor(UIView* first, UIView* second);
    UILayoutEngine& rootLayoutEngine();
    void installConstraint(const Ref<NSLayoutConstraint>& constraint);
    void uninstallConstraint(NSLayoutConstraint& constraint);
    void collectInstalledConstraints(std::vector<Ref<NSLayoutConstraint>>& constraints) const;
    void layoutInputsDidChange();
    void layoutSubtree();
    // This view has become a root; its subtree's constraints go to its own engine.
    void takeOverConstraints(std::vector<Ref<NSLayoutConstraint>> constraints);
    // The superview is gone without removing this view: this view is now a root.
    void recoverFromLostSuperview();

    CGRect _frame = CGRectZero;
    Ref<CALayer> _layer = CALayer::layer();
    Weak<UIView> _superview;
    std::vector<Ref<UIView>> _subviews;
    Ref<UIColor> _backgroundColor;
    Ref<UIColor> _tintColor;
    // As predicted when the view is made, then as inherited in its tree.
    Ref<UITraitCollection> _traitCollection = UITraitCollection::currentTraitCollection();
    UIUserInterfaceStyle _overrideStyle = UIUserInterfaceStyleUnspecified;
    bool _hidden = false;
    CGFloat _alpha = 1;
    UIViewContentMode _contentMode = UIViewContentModeScaleToFill;
    NSInteger _tag = 0;
    UISemanticContentAttribute _semanticContentAttribute = UISemanticContentAttributeUnspecified;
    bool _userInteractionEnabled = true;
    bool _translatesMask = true;
    bool _needsLayout = true;
    bool _needsUpdateConstraints = false;
    // This view or a descendant needs updateConstraints.
    bool _subtreeNeedsUpdateConstraints = false;
    std::array<UILayoutPriority, 2> _contentHugging{UILayoutPriorityDefaultLow,
                                                    UILayoutPriorityDefaultLow};
    std::array<UILayoutPriority, 2> _compressionResistance{UILayoutPriorityDefaultHigh,
                                                           UILayoutPriorityDefaultHigh};
    std::unique_ptr<std::array<Ref<NSLayoutAnchor>, 11>> _anchors;
    std::vector<Ref<NSLayoutConstraint>> _constraints;
    // Held by a root whose tree has active constraints.
    Ref<UILayoutEngine> _layoutEngine;
    std::unique_ptr<UILayoutEngine::Item> _layoutItem;
    std::vector<Ref<UIGestureRecognizer>> _gestureRecognizers;
    Weak<UIViewController> _viewDelegate;
};

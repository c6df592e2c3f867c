#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <UIKit/Forward.h>
#include <UIKit/UIView.h>

class UINavigationController;
class UINavigationItem;
class UIWindow;

enum UIModalPresentationStyle : NSInteger {
    UIModalPresentationFullScreen = 0,
    UIModalPresentationPageSheet = 1,
    UIModalPresentationFormSheet = 2,
    UIModalPresentationCurrentContext = 3,
    UIModalPresentationCustom = 4,
    UIModalPresentationOverFullScreen = 5,
    UIModalPresentationOverCurrentContext = 6,
    UIModalPresentationPopover = 7,
    UIModalPresentationAutomatic = -2,
};

// Owns a view and presents other controllers modally. A presenter holds the
// presented controller strongly; the way back is weak. A controller inside
// another (a page in a navigation controller) presents through the outermost
// one, as the platform's presentation context does. A presented controller's
// view is shown in the window of its presenter, laid out by its
// presentation style: a sheet from near the top of the screen over the
// dimmed page, or the whole screen.
class UIViewController : public UIResponder {
public:
    Ref<UIViewController> init() { return self<UIViewController>(); }

    // Loaded on first use: loadView, then viewDidLoad.
    Ref<UIView> view();
    bool isViewLoaded() const { return _view != nullptr; }
    void setView(const Ref<UIView>& view);
    virtual void loadView();
    virtual void viewDidLoad() {}
    // Sent once the view is on screen, after a presentation.
    virtual void viewDidAppear(bool) {}

    const std::optional<std::string>& title() const { return _title; }
    // Also the navigation item's title.
    void setTitle(const std::optional<std::string>& title);

    // The item that stands for this controller in a navigation bar, made on first use.
    Ref<UINavigationItem> navigationItem();
    // The nearest navigation controller among this controller's ancestors.
    Ref<UINavigationController> navigationController() const;

    // Containment.
    Ref<UIViewController> parentViewController() const { return _parent.lock(); }
    const std::vector<Ref<UIViewController>>& childViewControllers() const { return _children; }
    void addChildViewController(const Ref<UIViewController>& child);
    void removeFromParentViewController();

    // Traits: its view's once loaded (its parent's before), with this
    // controller's appearance override applied to its view's subtree.
    Ref<UITraitCollection> traitCollection() const;
    // Sent before its view hears of the same change.
    virtual void traitCollectionDidChange(const Ref<UITraitCollection>&) {}
    UIUserInterfaceStyle overrideUserInterfaceStyle() const { return _overrideStyle; }
    void setOverrideUserInterfaceStyle(UIUserInterfaceStyle style);

    UIModalPresentationStyle modalPresentationStyle() const { return _modalPresentationStyle; }
    void setModalPresentationStyle(UIModalPresentationStyle style) {
        _modalPresentationStyle = style;
    }

    void presentViewController(const Ref<UIViewController>& controller, bool animated,
                               const std::function<void()>& completion);
    // Dismisses what this controller presents; a presented controller with
    // nothing above it asks its presenter to dismiss it.
    void dismissViewControllerAnimated(bool animated, const std::function<void()>& completion);
    Ref<UIViewController> presentedViewController() const;
    Ref<UIViewController> presentingViewController() const { return _presenting.lock(); }

private:
    // The controller that presents for this one: its outermost ancestor.
    Ref<UIViewController> presentationContext();
    // The window the presentation chain from this controller's context is shown in.
    Ref<UIWindow> presentationWindow();

    Ref<UIView> _view;
    std::optional<std::string> _title;
    Ref<UINavigationItem> _navigationItem;
    Weak<UIViewController> _parent;
    std::vector<Ref<UIViewController>> _children;
    UIModalPresentationStyle _modalPresentationStyle = UIModalPresentationAutomatic;
    UIUserInterfaceStyle _overrideStyle = UIUserInterfaceStyleUnspecified;
    Ref<UIViewController> _presented;
    Weak<UIViewController> _presenting;
};

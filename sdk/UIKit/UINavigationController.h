#pragma once

#include <vector>

#include <UIKit/Forward.h>
#include <UIKit/UIViewController.h>

// A stack of view controllers shown one at a time under a navigation bar, as
// Settings shows its pages: pushing a controller shows it with a back button
// to the one below, popping goes back. The bar shows the navigation items of
// the stack; the top controller's view fills the rest of the view. Pushes and
// pops are recorded in the event log.
class UINavigationController : public UIViewController {
public:
    Ref<UINavigationController> initWithRootViewController(const Ref<UIViewController>& root);

    const std::vector<Ref<UIViewController>>& viewControllers() const { return _stack; }
    void setViewControllers(std::vector<Ref<UIViewController>> controllers, bool animated);
    Ref<UIViewController> topViewController() const {
        return _stack.empty() ? nullptr : _stack.back();
    }
    Ref<UINavigationBar> navigationBar();

    // A controller already in the stack is not pushed again.
    void pushViewController(const Ref<UIViewController>& controller, bool animated);
    // The root stays; answers the controller taken off, nil at the root.
    Ref<UIViewController> popViewControllerAnimated(bool animated);
    std::vector<Ref<UIViewController>> popToRootViewControllerAnimated(bool animated);

    void loadView() override;

private:
    // Shows the top controller's view and the stack's items.
    void showTop();
    void layoutContent();

    std::vector<Ref<UIViewController>> _stack;
    Ref<UINavigationBar> _navigationBar;
    Ref<UIView> _shownView;
};

#include <UIKit/UINavigationController.h>

#include <algorithm>

#include <Foundation/SDKEventLog.h>
#include <UIKit/UILayoutContainerView.h>
#include <UIKit/UINavigationBar.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UIWindow.h>

namespace {

// A push or a pop of the controller.
template <class Record> void record(const Ref<UIViewController>& controller, bool animated) {
    SDKEventLog::record(Record{{controller->className(), controller->title(), animated}});
}

} // namespace

Ref<UINavigationController>
UINavigationController::initWithRootViewController(const Ref<UIViewController>& root) {
    UIViewController::init();
    if (root) {
        setViewControllers({root}, false);
    }
    return self<UINavigationController>();
}

Ref<UINavigationBar> UINavigationController::navigationBar() {
    view();
    return _navigationBar;
}

void UINavigationController::loadView() {
    Weak<UINavigationController> weakSelf = self<UINavigationController>();
    setView(
        alloc<UILayoutContainerView>()->initWithFrame(UIScreen::mainScreen()->bounds(), [weakSelf] {
            if (Ref<UINavigationController> controller = weakSelf.lock()) {
                controller->layoutContent();
            }
        }));
    _navigationBar = alloc<UINavigationBar>()->init();
    _navigationBar->setBackHandler([weakSelf] {
        if (Ref<UINavigationController> controller = weakSelf.lock()) {
            controller->popViewControllerAnimated(true);
        }
    });
    view()->addSubview(_navigationBar);
    showTop();
}

void UINavigationController::setViewControllers(std::vector<Ref<UIViewController>> controllers,
                                                bool) {
    std::erase(controllers, nullptr);
    for (const Ref<UIViewController>& old : _stack) {
        if (std::find(controllers.begin(), controllers.end(), old) == controllers.end()) {
            old->removeFromParentViewController();
        }
    }
    _stack = std::move(controllers);
    for (const Ref<UIViewController>& controller : _stack) {
        addChildViewController(controller);
    }
    if (isViewLoaded()) {
        showTop();
    }
}

void UINavigationController::pushViewController(const Ref<UIViewController>& controller,
                                                bool animated) {
    if (!controller || std::find(_stack.begin(), _stack.end(), controller) != _stack.end()) {
        return;
    }
    _stack.push_back(controller);
    addChildViewController(controller);
    record<SDKEvents::Push>(controller, animated);
    if (isViewLoaded()) {
        showTop();
    }
}

Ref<UIViewController> UINavigationController::popViewControllerAnimated(bool animated) {
    if (_stack.size() < 2) {
        return nullptr;
    }
    Ref<UIViewController> popped = _stack.back();
    _stack.pop_back();
    popped->removeFromParentViewController();
    record<SDKEvents::Pop>(popped, animated);
    if (isViewLoaded()) {
        showTop();
    }
    return popped;
}

std::vector<Ref<UIViewController>>
UINavigationController::popToRootViewControllerAnimated(bool animated) {
    std::vector<Ref<UIViewController>> popped;
    while (_stack.size() > 1) {
        popped.insert(popped.begin(), popViewControllerAnimated(animated));
    }
    return popped;
}

void UINavigationController::showTop() {
    std::vector<Ref<UINavigationItem>> items;
    for (const Ref<UIViewController>& controller : _stack) {
        items.push_back(controller->navigationItem());
    }
    _navigationBar->setItems(std::move(items));
    Ref<UIView> top = _stack.empty() ? nullptr : _stack.back()->view();
    if (top != _shownView) {
        if (_shownView) {
            _shownView->removeFromSuperview();
        }
        _shownView = top;
        if (top) {
            // Below the bar, which stays on top.
            view()->insertSubviewAtIndex(top, 0);
        }
    }
    view()->setNeedsLayout();
    layoutContent();
}

void UINavigationController::layoutContent() {
    const CGRect b = view()->bounds();
    // The bar sits below the status bar's band when the view reaches the
    // top of the window.
    CGFloat top = 0;
    if (Ref<UIWindow> window = view()->window()) {
        top = std::max(0.0, window->safeAreaInsets().top -
                                view()->convertPointToView(CGPointMake(0, 0), nullptr).y);
    }
    const CGFloat barBottom = top + UINavigationBar::kHeight;
    _navigationBar->setFrame(CGRectMake(0, top, b.size.width, UINavigationBar::kHeight));
    if (_shownView) {
        _shownView->setFrame(
            CGRectMake(0, barBottom, b.size.width, std::max(0.0, b.size.height - barBottom)));
    }
}

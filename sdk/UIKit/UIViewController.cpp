#include <UIKit/UIViewController.h>

#include <algorithm>

#include <Foundation/SDKEventLog.h>
#include <UIKit/SDKMainThreadChecker.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UINavigationItem.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UIWindow.h>

namespace {

SDKEvents::Screen describe(const Ref<UIViewController>& controller, bool animated) {
    return {controller->className(), controller->title(), animated};
}

} // namespace

Ref<UIView> UIViewController::view() {
    if (!_view) {
        // The view is made and set up in the traits it will show in.
        UITraitCollection::CurrentScope traits(traitCollection());
        loadView();
        if (!_view) {
            setView(alloc<UIView>()->init());
        }
        viewDidLoad();
    }
    return _view;
}

Ref<UITraitCollection> UIViewController::traitCollection() const {
    if (_view) {
        return _view->traitCollection();
    }
    if (Ref<UIViewController> parent = parentViewController()) {
        return parent->traitCollection();
    }
    return UITraitCollection::currentTraitCollection();
}

void UIViewController::setOverrideUserInterfaceStyle(UIUserInterfaceStyle style) {
    _overrideStyle = style;
    if (_view) {
        _view->updateTraitCollectionFromSuperview();
    }
}

void UIViewController::setView(const Ref<UIView>& view) {
    if (_view) {
        _view->setViewDelegate(nullptr);
    }
    _view = view;
    if (_view) {
        _view->setViewDelegate(self<UIViewController>());
        _view->updateTraitCollectionFromSuperview();
    }
}

void UIViewController::loadView() {
    setView(alloc<UIView>()->initWithFrame(UIScreen::mainScreen()->bounds()));
}

void UIViewController::setTitle(const std::optional<std::string>& title) {
    _title = title;
    if (_navigationItem) {
        _navigationItem->setTitle(title);
    }
}

Ref<UINavigationItem> UIViewController::navigationItem() {
    if (!_navigationItem) {
        _navigationItem = alloc<UINavigationItem>()->initWithTitle(_title);
    }
    return _navigationItem;
}

Ref<UINavigationController> UIViewController::navigationController() const {
    for (Ref<UIViewController> ancestor = parentViewController(); ancestor;
         ancestor = ancestor->parentViewController()) {
        if (auto navigation = objc_cast<UINavigationController>(ancestor)) {
            return navigation;
        }
    }
    return nullptr;
}

void UIViewController::addChildViewController(const Ref<UIViewController>& child) {
    if (!child || child.get() == this || child->parentViewController().get() == this) {
        return;
    }
    child->removeFromParentViewController();
    _children.push_back(child);
    child->_parent = self<UIViewController>();
}

void UIViewController::removeFromParentViewController() {
    if (Ref<UIViewController> parent = _parent.lock()) {
        Ref<UIViewController> me = self<UIViewController>();
        std::erase(parent->_children, me);
    }
    _parent.reset();
}

Ref<UIViewController> UIViewController::presentationContext() {
    Ref<UIViewController> context = self<UIViewController>();
    while (Ref<UIViewController> parent = context->parentViewController()) {
        context = parent;
    }
    return context;
}

Ref<UIWindow> UIViewController::presentationWindow() {
    Ref<UIViewController> root = presentationContext();
    while (Ref<UIViewController> presenter = root->presentingViewController()) {
        root = presenter->presentationContext();
    }
    return root->isViewLoaded() ? root->view()->window() : nullptr;
}

Ref<UIViewController> UIViewController::presentedViewController() const {
    if (_presented) {
        return _presented;
    }
    Ref<UIViewController> parent = parentViewController();
    return parent ? parent->presentedViewController() : nullptr;
}

void UIViewController::presentViewController(const Ref<UIViewController>& controller, bool animated,
                                             const std::function<void()>& completion) {
    const SDKMainThreadChecker::Entry entry(
        "-[UIViewController presentViewController:animated:completion:]");
    if (!controller) {
        return;
    }
    if (parentViewController()) {
        presentationContext()->presentViewController(controller, animated, completion);
        return;
    }
    if (_presented) {
        // The platform refuses and logs; the screen above stays.
        SDKEventLog::logError("Attempt to present " + controller->className() + " on " +
                              className() + " which is already presenting " +
                              _presented->className());
        return;
    }
    if (controller->presentingViewController()) {
        SDKEventLog::logError("Application tried to present modally a view controller " +
                              controller->className() + " that is already being presented");
        return;
    }
    _presented = controller;
    controller->_presenting = self<UIViewController>();
    controller->view();
    SDKEventLog::record(SDKEvents::Present{describe(controller, animated), className()});
    if (Ref<UIWindow> window = presentationWindow()) {
        window->showPresentedViewControllers();
    }
    if (completion) {
        completion();
    }
}

void UIViewController::dismissViewControllerAnimated(bool animated,
                                                     const std::function<void()>& completion) {
    if (parentViewController()) {
        presentationContext()->dismissViewControllerAnimated(animated, completion);
        return;
    }
    if (!_presented) {
        if (Ref<UIViewController> presenter = _presenting.lock()) {
            presenter->dismissViewControllerAnimated(animated, completion);
        }
        return;
    }
    // Dismissing a controller dismisses everything it presents, top first.
    Ref<UIViewController> dismissed = _presented;
    if (dismissed->_presented) {
        dismissed->dismissViewControllerAnimated(animated, nullptr);
    }
    _presented = nullptr;
    dismissed->_presenting.reset();
    SDKEventLog::record(SDKEvents::Dismiss{describe(dismissed, animated)});
    if (Ref<UIWindow> window = presentationWindow()) {
        window->showPresentedViewControllers();
    }
    if (completion) {
        completion();
    }
}

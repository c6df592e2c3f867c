#include <UIKit/UIViewController.h>

#include <Foundation/SDKEventLog.h>

namespace {

Value::Dictionary describe(const Ref<UIViewController>& controller, bool animated) {
    Value::Dictionary details{{"class", controller->className()}, {"animated", animated}};
    if (controller->title()) {
        details["title"] = *controller->title();
    }
    return details;
}

} // namespace

Ref<UIView> UIViewController::view() {
    if (!_view) {
        loadView();
        if (!_view) {
            setView(alloc<UIView>()->init());
        }
        viewDidLoad();
    }
    return _view;
}

void UIViewController::setView(const Ref<UIView>& view) {
    if (_view) {
        _view->setViewDelegate(nullptr);
    }
    _view = view;
    if (_view) {
        _view->setViewDelegate(self<UIViewController>());
    }
}

void UIViewController::loadView() {
    setView(alloc<UIView>()->initWithFrame(CGRectMake(0, 0, 390, 844)));
}

void UIViewController::presentViewController(const Ref<UIViewController>& controller, bool animated,
                                             const std::function<void()>& completion) {
    if (!controller) {
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
    Value::Dictionary details = describe(controller, animated);
    details["presenter"] = className();
    SDKEventLog::record("present", std::move(details));
    if (completion) {
        completion();
    }
}

void UIViewController::dismissViewControllerAnimated(bool animated,
                                                     const std::function<void()>& completion) {
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
    SDKEventLog::record("dismiss", describe(dismissed, animated));
    if (completion) {
        completion();
    }
}

#pragma once

#include <functional>
#include <optional>
#include <string>

#include <UIKit/UIResponder.h>
#include <UIKit/UIView.h>

// Owns a view and presents other controllers modally. A presenter holds the
// presented controller strongly; the way back is weak.
class UIViewController : public UIResponder {
public:
    Ref<UIViewController> init() { return self<UIViewController>(); }

    // Loaded on first use: loadView, then viewDidLoad.
    Ref<UIView> view();
    bool isViewLoaded() const { return _view != nullptr; }
    void setView(const Ref<UIView>& view);
    virtual void loadView();
    virtual void viewDidLoad() {}

    const std::optional<std::string>& title() const { return _title; }
    void setTitle(const std::optional<std::string>& title) { _title = title; }

    void presentViewController(const Ref<UIViewController>& controller, bool animated,
                               const std::function<void()>& completion);
    // Dismisses what this controller presents; a presented controller with
    // nothing above it asks its presenter to dismiss it.
    void dismissViewControllerAnimated(bool animated, const std::function<void()>& completion);
    Ref<UIViewController> presentedViewController() const { return _presented; }
    Ref<UIViewController> presentingViewController() const { return _presenting.lock(); }

private:
    Ref<UIView> _view;
    std::optional<std::string> _title;
    Ref<UIViewController> _presented;
    Weak<UIViewController> _presenting;
};

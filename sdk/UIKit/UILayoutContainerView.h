#pragma once

#include <functional>

#include <UIKit/UIView.h>

// The view of a container view controller: whenever it is laid out, it asks
// its controller to place the views inside it.
class UILayoutContainerView : public UIView {
public:
    Ref<UILayoutContainerView> initWithFrame(const CGRect& frame,
                                             std::function<void()> layoutHandler) {
        UIView::initWithFrame(frame);
        _layoutHandler = std::move(layoutHandler);
        return self<UILayoutContainerView>();
    }

    void layoutSubviews() override {
        if (_layoutHandler) {
            _layoutHandler();
        }
    }

private:
    std::function<void()> _layoutHandler;
};

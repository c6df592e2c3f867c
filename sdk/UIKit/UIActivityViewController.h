#pragma once

#include <Foundation/Value.h>
#include <UIKit/Forward.h>
#include <UIKit/UIViewController.h>

// The system share sheet for a list of items (texts, addresses). On a phone
// it rises from the bottom of the screen with a preview of what is shared,
// so it has no popover to anchor; its close button dismisses it.
class UIActivityViewController : public UIViewController {
public:
    // Application activities are not offered here; none can be given.
    Ref<UIActivityViewController> initWithActivityItems(const Value::Array& activityItems,
                                                        std::nullptr_t applicationActivities);

    const Value::Array& activityItems() const { return _activityItems; }
    // Nil on a phone, the only device this stands in for.
    Ref<UIPopoverPresentationController> popoverPresentationController() const { return nullptr; }

    void loadView() override;

private:
    void closeTapped();
    void layoutContent();

    Value::Array _activityItems;
    Ref<UIView> _sheet;
    Ref<UILabel> _preview;
    Ref<UIButton> _closeButton;
    std::vector<Ref<UIView>> _actionRows;
};

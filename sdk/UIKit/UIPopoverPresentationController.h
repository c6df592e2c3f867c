#pragma once

#include <objc/NSObject.h>

class UIView;

// Where a screen shown as a popover points from. Only larger screens show
// popovers; a phone shows the same screens as sheets and has none.
class UIPopoverPresentationController : public NSObject {
public:
    Ref<UIView> sourceView() const { return _sourceView.lock(); }
    void setSourceView(const Ref<UIView>& view) { _sourceView = view; }

private:
    Weak<UIView> _sourceView;
};

#pragma once

#include <objc/NSObject.h>

class UITouch;

// The base of everything that takes part in event handling: views and view
// controllers. The window delivers one finger at a time, so each touch
// message carries the touch that changed; a responder that does not handle
// touches ignores them.
class UIResponder : public NSObject {
public:
    virtual void touchesBegan(const Ref<UITouch>&) {}
    virtual void touchesMoved(const Ref<UITouch>&) {}
    virtual void touchesEnded(const Ref<UITouch>&) {}
    virtual void touchesCancelled(const Ref<UITouch>&) {}
};

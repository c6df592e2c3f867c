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

    // The first responder is the one object that hears the keyboard. Only a
    // responder that can become it does.
    virtual bool canBecomeFirstResponder() const { return false; }
    virtual bool becomeFirstResponder() { return false; }
    virtual bool resignFirstResponder() { return true; }
    virtual bool isFirstResponder() const { return false; }
};

#pragma once

#include <string>

#include <UIKit/Forward.h>

// The on-screen keyboard: it types into the window's first responder, one
// character at a time, and deletes with its delete key. Throws a step
// HostError when nothing that takes text is the first responder.
class Keyboard {
public:
    explicit Keyboard(Ref<UIWindow> window) : _window(std::move(window)) {}

    void type(const std::string& text);
    // Holds the delete key until the text is gone.
    void deleteAll();
    // The return key, which ends a one-line field's editing.
    void pressReturn();

private:
    UIKeyInput& input();

    Ref<UIWindow> _window;
    Ref<UIView> _responder;
};

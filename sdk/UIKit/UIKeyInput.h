#pragma once

#include <string>

// What the keyboard sends to the first responder that takes text: each
// character typed, and the delete key.
class UIKeyInput {
public:
    virtual ~UIKeyInput() = default;
    virtual bool hasText() const = 0;
    virtual void insertText(const std::string& text) = 0;
    virtual void deleteBackward() = 0;
};

#include "Keyboard.h"

#include <Foundation/Unicode.h>
#include <UIKit/UIKeyInput.h>
#include <UIKit/UIWindow.h>

#include "HostError.h"

UIKeyInput& Keyboard::input() {
    _responder = _window->firstResponder();
    auto* keyInput = dynamic_cast<UIKeyInput*>(_responder.get());
    if (!keyInput) {
        throw HostError(HostError::Kind::Step, "nothing on screen takes typing");
    }
    return *keyInput;
}

void Keyboard::type(const std::string& text) {
    UIKeyInput& target = input();
    for (size_t offset = 0; offset < text.size();) {
        const size_t size = Unicode::decode(text, offset).size;
        target.insertText(text.substr(offset, size));
        offset += size;
    }
}

void Keyboard::deleteAll() {
    UIKeyInput& target = input();
    while (target.hasText()) {
        target.deleteBackward();
    }
}

void Keyboard::pressReturn() {
    input().insertText("\n");
}

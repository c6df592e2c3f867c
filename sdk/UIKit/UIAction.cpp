#include <UIKit/UIAction.h>

#include <atomic>

Ref<UIAction> UIAction::actionWithTitle(const std::optional<std::string>& title,
                                        const Ref<UIImage>& image,
                                        const std::optional<std::string>& identifier,
                                        Handler handler) {
    static std::atomic<unsigned long> made{0};
    Ref<UIAction> action = alloc<UIAction>();
    action->setElementTitle(title);
    action->setElementImage(image);
    action->_identifier =
        identifier ? *identifier : "com.apple.action.dynamic." + std::to_string(++made);
    action->_handler = std::move(handler);
    return action;
}

void UIAction::performWithSender() {
    if (_handler) {
        // Held while it runs: the handler may drop the menu that holds this action.
        Ref<UIAction> me = self<UIAction>();
        _handler(me);
    }
}

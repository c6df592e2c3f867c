#include <UIKit/UIGestureRecognizer.h>

void UIGestureRecognizer::sendActions() {
    // Copy first: an action may add targets or drop this recogniser.
    const std::vector<Action> actions = _actions;
    Ref<UIGestureRecognizer> sender = self<UIGestureRecognizer>();
    for (const Action& action : actions) {
        action(sender);
    }
}

#pragma once

#include <vector>

#include <UIKit/Forward.h>
#include <UIKit/UIViewController.h>

// The screen a menu opens in, over everything in the window: a rounded panel
// of the menu's actions beside the view it was opened from, below it where
// there is room, else above. Each action is a row that can be touched; a
// child menu shows as a group of its own, under its title when it has one. A
// touch anywhere outside the panel closes the menu; choosing an action closes
// it, then runs the action's handler.
class SDKMenuViewController : public UIViewController {
public:
    // Opens the menu over whatever is on top in the source's window; does
    // nothing when the source is in no window.
    static void presentMenu(const Ref<UIMenu>& menu, const Ref<UIView>& source);

    Ref<SDKMenuViewController> initWithMenu(const Ref<UIMenu>& menu, const CGRect& sourceRect);

    Ref<UIMenu> menu() const { return _menu; }
    // The rows of the panel, one per action, in order.
    const std::vector<std::pair<Ref<UIAction>, Ref<UIButton>>>& rows() const { return _rows; }

    void loadView() override;

    static constexpr CGFloat kWidth = 250;
    static constexpr CGFloat kRowHeight = 44;
    static constexpr CGFloat kGroupGap = 8;
    static constexpr CGFloat kScreenMargin = 8;

private:
    // Adds the rows of a menu's children at `y`; answers the y below them.
    CGFloat addRows(const Ref<UIMenu>& menu, CGFloat y);
    void choose(const Ref<UIAction>& action);
    void close();
    void placePanel();

    Ref<UIMenu> _menu;
    CGRect _sourceRect = CGRectZero;
    Ref<UIView> _panel;
    CGFloat _panelHeight = 0;
    std::vector<std::pair<Ref<UIAction>, Ref<UIButton>>> _rows;
};

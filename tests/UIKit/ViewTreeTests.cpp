#include <gtest/gtest.h>

#include <UIKit/UIKit.h>

namespace {

class TintRecorder : public UIView {
public:
    void tintColorDidChange() override { ++changes; }
    int changes = 0;
};

Ref<UIView> makeView(CGRect frame) {
    return alloc<UIView>()->initWithFrame(frame);
}

TEST(ViewTree, SubviewsAreOwnedAndTheWayUpIsWeak) {
    Ref<UIView> parent = makeView(CGRectMake(0, 0, 100, 100));
    Weak<UIView> weakChild;
    {
        Ref<UIView> child = makeView(CGRectMake(10, 10, 20, 20));
        parent->addSubview(child);
        weakChild = child;
    }
    ASSERT_NE(weakChild.lock(), nullptr);
    EXPECT_EQ(weakChild.lock()->superview(), parent);
    EXPECT_EQ(parent->layer()->sublayers().size(), 1u);

    weakChild.lock()->removeFromSuperview();
    EXPECT_EQ(weakChild.lock(), nullptr);
    EXPECT_TRUE(parent->layer()->sublayers().empty());

    // Layers follow the order of the subviews, wherever a view is inserted.
    Ref<UIView> first = makeView(CGRectZero), last = makeView(CGRectZero);
    parent->addSubview(last);
    parent->insertSubviewAtIndex(first, 0);
    EXPECT_EQ(parent->layer()->sublayers(),
              (std::vector<Ref<CALayer>>{first->layer(), last->layer()}));
    parent->insertSubviewAtIndex(first, 5);
    EXPECT_EQ(parent->layer()->sublayers(),
              (std::vector<Ref<CALayer>>{last->layer(), first->layer()}));
    first->removeFromSuperview();
    last->removeFromSuperview();

    // A parent is never added below its own child.
    Ref<UIView> child = makeView(CGRectZero);
    parent->addSubview(child);
    child->addSubview(parent);
    EXPECT_TRUE(child->subviews().empty());
    EXPECT_EQ(parent->superview(), nullptr);
}

TEST(ViewTree, TintIsInheritedAndChangesAreHeard) {
    Ref<UIView> root = makeView(CGRectZero);
    Ref<UIView> middle = makeView(CGRectZero);
    auto leaf = alloc<TintRecorder>();
    leaf->init();
    root->addSubview(middle);
    EXPECT_TRUE(UIColorEqual(leaf->tintColor(), UIColor::systemBlueColor()));

    // Joining a tree with another tint is a change.
    root->setTintColor(UIColor::systemRedColor());
    middle->addSubview(leaf);
    EXPECT_EQ(leaf->changes, 1);
    EXPECT_TRUE(UIColorEqual(leaf->tintColor(), UIColor::systemRedColor()));

    // Setting the same tint again changes nothing; a nearer own tint shields the leaf.
    root->setTintColor(UIColor::systemRedColor());
    EXPECT_EQ(leaf->changes, 1);
    middle->setTintColor(UIColor::systemGreenColor());
    EXPECT_EQ(leaf->changes, 2);
    root->setTintColor(UIColor::systemBlueColor());
    EXPECT_EQ(leaf->changes, 2);

    // Leaving the tree falls back to the system blue.
    leaf->removeFromSuperview();
    EXPECT_EQ(leaf->changes, 3);
    EXPECT_TRUE(UIColorEqual(leaf->tintColor(), UIColor::systemBlueColor()));
}

TEST(ViewTree, HitTestFindsTheDeepestInteractiveView) {
    Ref<UIView> root = makeView(CGRectMake(0, 0, 200, 200));
    Ref<UIView> panel = makeView(CGRectMake(50, 50, 100, 100));
    Ref<UIView> button = makeView(CGRectMake(10, 10, 30, 30));
    Ref<UILabel> label = alloc<UILabel>()->initWithFrame(CGRectMake(60, 60, 30, 30));
    root->addSubview(panel);
    panel->addSubview(button);
    panel->addSubview(label);

    EXPECT_EQ(root->hitTest({65, 65}), button);
    EXPECT_EQ(root->hitTest({20, 20}), root);
    EXPECT_EQ(root->hitTest({300, 20}), nullptr);
    // Labels take no touches unless asked to.
    EXPECT_EQ(root->hitTest({115, 115}), panel);
    label->setUserInteractionEnabled(true);
    EXPECT_EQ(root->hitTest({115, 115}), label);
    button->setHidden(true);
    EXPECT_EQ(root->hitTest({65, 65}), panel);

    EXPECT_EQ(button->convertPointToView({1, 2}, nullptr), CGPointMake(61, 62));
    EXPECT_EQ(button->convertRectToView(CGRectMake(0, 0, 5, 5), panel), CGRectMake(10, 10, 5, 5));
}

TEST(ViewTree, ControllerForAncestorIsTheNearestOwningController) {
    Ref<UIWindow> window = alloc<UIWindow>()->initWithFrame(UIScreen::mainScreen()->bounds());
    Ref<UIViewController> controller = alloc<UIViewController>()->init();
    window->setRootViewController(controller);
    Ref<UIView> nested = makeView(CGRectZero);
    Ref<UIView> container = makeView(CGRectZero);
    container->addSubview(nested);
    EXPECT_EQ(nested->_viewControllerForAncestor(), nullptr);
    controller->view()->addSubview(container);
    EXPECT_EQ(nested->_viewControllerForAncestor(), controller);
    EXPECT_EQ(nested->window(), window);
    EXPECT_EQ(controller->view()->frame(), window->bounds());
}

TEST(ViewTree, LayersKeepBordersCornersAndShapes) {
    Ref<UIView> view = makeView(CGRectMake(0, 0, 29, 29));
    view->setClipsToBounds(true);
    view->setBackgroundColor(UIColor::redColor());
    EXPECT_TRUE(view->layer()->masksToBounds());
    EXPECT_EQ(*view->layer()->backgroundColor(), (CGColor{1, 0, 0, 1}));

    Ref<CAShapeLayer> shape = CAShapeLayer::layer();
    EXPECT_EQ(*shape->fillColor(), (CGColor{0, 0, 0, 1}));
    EXPECT_EQ(shape->strokeColor(), nullptr);
    shape->setPath(
        UIBezierPath::bezierPathWithRoundedRect(CGRectMake(0, 0, 29, 29), 14.5)->CGPath());
    view->layer()->addSublayer(shape);
    EXPECT_EQ(shape->superlayer(), view->layer());
    EXPECT_EQ(shape->path()->boundingBox(), CGRectMake(0, 0, 29, 29));
    // A corner radius beyond half the side is a circle, not a tangle.
    auto oversized =
        UIBezierPath::bezierPathWithRoundedRect(CGRectMake(0, 0, 10, 20), 50)->CGPath();
    EXPECT_EQ(oversized->boundingBox(), CGRectMake(0, 0, 10, 20));
}

TEST(ViewTree, ControlsSendActionsToLiveTargetsForTheirEvents) {
    struct Listener : NSObject {
        void changed(const Ref<UIControl>& sender) { senders.push_back(sender); }
        void tapped() { ++taps; }
        std::vector<Ref<UIControl>> senders;
        int taps = 0;
    };
    Ref<UIControl> control = alloc<UIControl>()->init();
    auto listener = alloc<Listener>();
    control->addTarget(listener, &Listener::changed, UIControlEventValueChanged);
    control->addTarget(listener, &Listener::tapped, UIControlEventTouchUpInside);
    control->sendActionsForControlEvents(UIControlEventValueChanged);
    control->sendActionsForControlEvents(UIControlEventTouchUpInside | UIControlEventValueChanged);
    EXPECT_EQ(listener->senders.size(), 2u);
    EXPECT_EQ(listener->senders[0], control);
    EXPECT_EQ(listener->taps, 1);
    EXPECT_EQ(control->allControlEvents(),
              UIControlEventValueChanged | UIControlEventTouchUpInside);

    // Targets are held weakly.
    Weak<Listener> weak = listener;
    listener.reset();
    EXPECT_EQ(weak.lock(), nullptr);
    control->sendActionsForControlEvents(UIControlEventAllEvents);
}

} // namespace

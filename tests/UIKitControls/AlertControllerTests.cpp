#include <gtest/gtest.h>

#include <Foundation/NSException.h>
#include <Foundation/SDKEventLog.h>
#include <UIKit/UIKit.h>

#include "HostError.h"
#include "automation/Finger.h"
#include "automation/Keyboard.h"
#include "automation/ViewFinder.h"

namespace {

TEST(AlertController, HoldsItsFieldsAndActionsInOrder) {
    Ref<UIAlertController> alert = UIAlertController::alertControllerWithTitle(
        "Custom value", "Enter a value", UIAlertControllerStyleAlert);
    EXPECT_EQ(alert->title(), "Custom value");
    EXPECT_EQ(alert->message(), "Enter a value");
    EXPECT_EQ(alert->preferredStyle(), UIAlertControllerStyleAlert);
    EXPECT_TRUE(alert->textFields().empty());

    Ref<UITextField> configured;
    alert->addTextFieldWithConfigurationHandler([&](const Ref<UITextField>& field) {
        configured = field;
        field->setPlaceholder("0.00");
    });
    // The handler ran at once, with the field the alert keeps.
    ASSERT_EQ(alert->textFields().size(), 1u);
    EXPECT_EQ(alert->textFields()[0], configured);
    EXPECT_EQ(configured->placeholder(), "0.00");
    alert->addTextFieldWithConfigurationHandler(nullptr);
    EXPECT_EQ(alert->textFields().size(), 2u);

    auto cancel = UIAlertAction::actionWithTitle("Cancel", UIAlertActionStyleCancel, nullptr);
    auto ok = UIAlertAction::actionWithTitle("OK", UIAlertActionStyleDefault, nullptr);
    alert->addAction(ok);
    alert->addAction(cancel);
    ASSERT_EQ(alert->actions().size(), 2u);
    EXPECT_EQ(alert->actions()[0], ok);
    EXPECT_EQ(alert->actions()[1], cancel);
    EXPECT_EQ(cancel->style(), UIAlertActionStyleCancel);
    EXPECT_EQ(alert->preferredAction(), nullptr);
    alert->setPreferredAction(ok);
    EXPECT_EQ(alert->preferredAction(), ok);
}

TEST(AlertController, RaisesWhereThePlatformDoes) {
    Ref<UIAlertController> alert =
        UIAlertController::alertControllerWithTitle("A", std::nullopt, UIAlertControllerStyleAlert);
    alert->addAction(UIAlertAction::actionWithTitle("Cancel", UIAlertActionStyleCancel, nullptr));
    try {
        alert->addAction(UIAlertAction::actionWithTitle("No", UIAlertActionStyleCancel, nullptr));
        ADD_FAILURE() << "a second cancel action was taken";
    } catch (const NSException& exception) {
        EXPECT_EQ(exception.name(), NSInternalInconsistencyException);
    }
    EXPECT_EQ(alert->actions().size(), 1u);
    EXPECT_THROW(alert->setPreferredAction(
                     UIAlertAction::actionWithTitle("Other", UIAlertActionStyleDefault, nullptr)),
                 NSException);
    EXPECT_EQ(alert->preferredAction(), nullptr);

    Ref<UIAlertController> sheet = UIAlertController::alertControllerWithTitle(
        "S", std::nullopt, UIAlertControllerStyleActionSheet);
    bool ran = false;
    EXPECT_THROW(
        sheet->addTextFieldWithConfigurationHandler([&](const Ref<UITextField>&) { ran = true; }),
        NSException);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(sheet->textFields().empty());
}

// A page in a window that alerts are presented over.
struct AlertScreen {
    AlertScreen() {
        window = alloc<UIWindow>()->initWithFrame(UIScreen::mainScreen()->bounds());
        page = alloc<UIViewController>()->init();
        window->setRootViewController(page);
    }
    // A finger on the alert's button with this title, through the window.
    void tap(const Ref<UIAlertController>& alert, const std::string& title) {
        Ref<UIButton> button = ViewFinder::buttonTitled(alert->view(), title);
        ASSERT_NE(button, nullptr) << title;
        Finger(window).tap(button);
    }
    Ref<UIWindow> window;
    Ref<UIViewController> page;
};

TEST(AlertController, ATapOnAButtonDismissesTheAlertThenRunsTheHandler) {
    SDKEventLog::clear();
    AlertScreen screen;
    Ref<UIAlertController> alert =
        UIAlertController::alertControllerWithTitle("T", "M", UIAlertControllerStyleAlert);
    std::vector<std::string> heard;
    auto record = [&](const Ref<UIAlertAction>& action) {
        // By now the alert is off the screen.
        EXPECT_EQ(screen.page->presentedViewController(), nullptr);
        EXPECT_EQ(alert->view()->window(), nullptr);
        heard.push_back(*action->title());
    };
    alert->addAction(UIAlertAction::actionWithTitle("First", UIAlertActionStyleDefault, record));
    alert->addAction(
        UIAlertAction::actionWithTitle("Second", UIAlertActionStyleDestructive, record));
    alert->addAction(UIAlertAction::actionWithTitle("Silent", UIAlertActionStyleDefault, nullptr));
    screen.page->presentViewController(alert, true, nullptr);
    ASSERT_EQ(alert->view()->window(), screen.window);
    EXPECT_EQ(ViewFinder::buttonTitled(alert->view(), "Missing"), nullptr);

    // A disabled button takes the touch and does nothing.
    alert->actions()[0]->setEnabled(false);
    screen.tap(alert, "First");
    EXPECT_EQ(screen.page->presentedViewController(), alert);
    EXPECT_TRUE(heard.empty());

    screen.tap(alert, "Second");
    EXPECT_EQ(heard, (std::vector<std::string>{"Second"}));
    EXPECT_EQ(alert->presentingViewController(), nullptr);

    screen.page->presentViewController(alert, true, nullptr);
    screen.tap(alert, "Silent");
    EXPECT_EQ(screen.page->presentedViewController(), nullptr);
    EXPECT_EQ(heard.size(), 1u);
    auto dismissals = SDKEventLog::records<SDKEvents::Dismiss>();
    ASSERT_EQ(dismissals.size(), 2u);
    EXPECT_EQ(dismissals[0].className, "UIAlertController");
    EXPECT_TRUE(dismissals[0].animated);
}

TEST(AlertController, ATouchOutsideTheAlertReachesNothingBelow) {
    AlertScreen screen;
    Ref<UIButton> below = UIButton::buttonWithType(UIButtonTypeSystem);
    below->setFrame(CGRectMake(0, 0, 120, 44));
    int taps = 0;
    below->addAction(UIAction::actionWithTitle("Below", nullptr, std::nullopt,
                                               [&](const Ref<UIAction>&) { ++taps; }),
                     UIControlEventTouchUpInside);
    screen.page->view()->addSubview(below);
    Finger finger(screen.window);
    finger.tap(below);
    ASSERT_EQ(taps, 1);

    Ref<UIAlertController> alert =
        UIAlertController::alertControllerWithTitle("T", "M", UIAlertControllerStyleAlert);
    alert->addAction(UIAlertAction::actionWithTitle("OK", UIAlertActionStyleDefault, nullptr));
    screen.page->presentViewController(alert, true, nullptr);
    // Where the button lies, above the alert's panel, and far below the screen.
    EXPECT_NE(finger.tapInWindow(CGPointMake(60, 22)), below);
    EXPECT_THROW(finger.tap(below), HostError);
    EXPECT_EQ(taps, 1);
    EXPECT_EQ(screen.page->presentedViewController(), alert);
}

TEST(AlertController, AnAlertWithNoOtherOwnerLivesThroughItsHandler) {
    AlertScreen screen;
    Weak<UIAlertController> weakAlert;
    bool alertWasAlive = false;
    {
        Ref<UIAlertController> alert =
            UIAlertController::alertControllerWithTitle("T", "M", UIAlertControllerStyleAlert);
        weakAlert = alert;
        alert->addAction(UIAlertAction::actionWithTitle(
            "OK", UIAlertActionStyleDefault,
            [&](const Ref<UIAlertAction>&) { alertWasAlive = weakAlert.lock() != nullptr; }));
        screen.page->presentViewController(alert, true, nullptr);
    }
    // Only the page holds it, and the tap takes it off the page.
    screen.tap(weakAlert.lock(), "OK");
    EXPECT_TRUE(alertWasAlive);
    EXPECT_EQ(weakAlert.lock(), nullptr);
}

TEST(TextField, TypingEditsAndReportsEachCharacter) {
    class EditListener : public NSObject {
    public:
        void changed(const Ref<UITextField>& field) { texts.push_back(field->text()); }
        std::vector<std::string> texts;
    };
    Ref<UIWindow> window = alloc<UIWindow>()->initWithFrame(UIScreen::mainScreen()->bounds());
    Ref<UITextField> field = alloc<UITextField>()->initWithFrame(CGRectMake(20, 100, 200, 30));
    window->addSubview(field);
    auto listener = alloc<EditListener>();
    field->addTarget(listener, &EditListener::changed, UIControlEventEditingChanged);
    EXPECT_EQ(field->keyboardType(), UIKeyboardTypeDefault);
    EXPECT_EQ(field->placeholder(), std::nullopt);
    EXPECT_EQ(field->font()->pointSize(), 17);
    EXPECT_FALSE(field->hasText());

    field->setText("0.5");
    field->setText(std::nullopt);
    EXPECT_EQ(field->text(), "");
    EXPECT_TRUE(listener->texts.empty());

    // The keyboard types into the first responder only, which a tap makes the field.
    Keyboard keyboard(window);
    EXPECT_THROW(keyboard.type("x"), HostError);
    EXPECT_FALSE(field->isFirstResponder());
    Finger(window).tap(field);
    EXPECT_TRUE(field->isFirstResponder());

    keyboard.type("2€");
    field->deleteBackward();
    keyboard.type(".5");
    EXPECT_EQ(listener->texts, (std::vector<std::string>{"2", "2€", "2", "2.", "2.5"}));
    EXPECT_TRUE(field->hasText());
    keyboard.deleteAll();
    field->deleteBackward();
    EXPECT_EQ(field->text(), "");
    // Deleting from an empty field changes nothing and reports nothing.
    EXPECT_EQ(listener->texts,
              (std::vector<std::string>{"2", "2€", "2", "2.", "2.5", "2.", "2", ""}));
}

} // namespace

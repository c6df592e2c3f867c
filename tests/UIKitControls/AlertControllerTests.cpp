#include <gtest/gtest.h>

#include <Foundation/NSException.h>
#include <Foundation/SDKEventLog.h>
#include <UIKit/UIKit.h>

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

TEST(AlertController, ATapDismissesTheAlertThenRunsTheHandler) {
    SDKEventLog::clear();
    Ref<UIViewController> page = alloc<UIViewController>()->init();
    Ref<UIAlertController> alert =
        UIAlertController::alertControllerWithTitle("T", "M", UIAlertControllerStyleAlert);
    std::vector<std::string> heard;
    auto record = [&](const Ref<UIAlertAction>& action) {
        // By now the alert is off the screen.
        EXPECT_EQ(page->presentedViewController(), nullptr);
        heard.push_back(*action->title());
    };
    alert->addAction(UIAlertAction::actionWithTitle("First", UIAlertActionStyleDefault, record));
    alert->addAction(
        UIAlertAction::actionWithTitle("Second", UIAlertActionStyleDestructive, record));
    alert->addAction(UIAlertAction::actionWithTitle("Silent", UIAlertActionStyleDefault, nullptr));

    // Not on screen: nothing to tap.
    EXPECT_FALSE(alert->tapActionAtIndex(0));
    page->presentViewController(alert, true, nullptr);
    EXPECT_FALSE(alert->tapActionAtIndex(3));
    EXPECT_FALSE(alert->tapActionWithTitle("Missing"));
    alert->actions()[0]->setEnabled(false);
    EXPECT_FALSE(alert->tapActionAtIndex(0));
    EXPECT_EQ(page->presentedViewController(), alert);
    EXPECT_TRUE(heard.empty());

    EXPECT_TRUE(alert->tapActionWithTitle("Second"));
    EXPECT_EQ(heard, (std::vector<std::string>{"Second"}));
    EXPECT_EQ(alert->presentingViewController(), nullptr);
    // Once dismissed it cannot be tapped again.
    EXPECT_FALSE(alert->tapActionAtIndex(1));

    page->presentViewController(alert, true, nullptr);
    EXPECT_TRUE(alert->tapActionAtIndex(2));
    EXPECT_EQ(page->presentedViewController(), nullptr);
    EXPECT_EQ(heard.size(), 1u);
    auto dismissals = SDKEventLog::eventsOfKind("dismiss");
    ASSERT_EQ(dismissals.size(), 2u);
    EXPECT_EQ(dismissals[0].details["class"], Value("UIAlertController"));
    EXPECT_EQ(dismissals[0].details["animated"], Value(true));
}

TEST(AlertController, AnAlertWithNoOtherOwnerLivesThroughItsHandler) {
    Ref<UIViewController> page = alloc<UIViewController>()->init();
    Weak<UIAlertController> weakAlert;
    bool alertWasAlive = false;
    {
        Ref<UIAlertController> alert =
            UIAlertController::alertControllerWithTitle("T", "M", UIAlertControllerStyleAlert);
        weakAlert = alert;
        alert->addAction(UIAlertAction::actionWithTitle(
            "OK", UIAlertActionStyleDefault,
            [&](const Ref<UIAlertAction>&) { alertWasAlive = weakAlert.lock() != nullptr; }));
        page->presentViewController(alert, true, nullptr);
    }
    // Only the page holds it, and the tap takes it off the page.
    ASSERT_TRUE(weakAlert.lock()->tapActionAtIndex(0));
    EXPECT_TRUE(alertWasAlive);
    EXPECT_EQ(weakAlert.lock(), nullptr);
}

TEST(TextField, TypingEditsAndReportsEachCharacter) {
    class EditListener : public NSObject {
    public:
        void changed(const Ref<UITextField>& field) { texts.push_back(field->text()); }
        std::vector<std::string> texts;
    };
    Ref<UITextField> field = alloc<UITextField>()->init();
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

    field->typeText("2€");
    field->deleteBackward();
    field->typeText(".5");
    EXPECT_EQ(listener->texts, (std::vector<std::string>{"2", "2€", "2", "2.", "2.5"}));
    EXPECT_TRUE(field->hasText());
    field->clearText();
    field->deleteBackward();
    EXPECT_EQ(field->text(), "");
    // Deleting or clearing an empty field changes nothing and reports nothing.
    EXPECT_EQ(listener->texts.size(), 6u);
}

} // namespace

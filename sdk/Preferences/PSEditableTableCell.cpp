#include <Preferences/PSEditableTableCell.h>

#include <algorithm>
#include <cmath>

#include <UIKit/NSStringDrawing.h>
#include <UIKit/UILabel.h>
#include <UIKit/UITextField.h>

extern "C" __attribute__((
    visibility("default"))) constinit const objc_class OBJC_CLASS_$_PSEditableTableCell{
    "PSEditableTableCell", &OBJC_CLASS_$_PSTableCell,
    PSTableCellClassMethods<PSEditableTableCell>::classMethods,
    PSTableCellClassMethods<PSEditableTableCell>::instanceMethods};

namespace {

UIKeyboardType keyboardFor(const Ref<PSSpecifier>& specifier) {
    if (specifier->propertyForKey("isIP").boolValue()) {
        return UIKeyboardTypeNumbersAndPunctuation;
    }
    if (specifier->propertyForKey("isURL").boolValue()) {
        return UIKeyboardTypeURL;
    }
    if (specifier->propertyForKey("isNumeric").boolValue()) {
        return UIKeyboardTypeNumberPad;
    }
    const std::string named = specifier->propertyForKey("keyboard").optionalString().value_or("");
    if (named == "numbers") {
        return UIKeyboardTypeNumbersAndPunctuation;
    }
    if (named == "phone") {
        return UIKeyboardTypePhonePad;
    }
    if (named == "email") {
        return UIKeyboardTypeEmailAddress;
    }
    if (named == "url") {
        return UIKeyboardTypeURL;
    }
    return UIKeyboardTypeDefault;
}

UITextAutocapitalizationType capitalisationFor(const Ref<PSSpecifier>& specifier) {
    const std::string named = specifier->propertyForKey("autoCaps").optionalString().value_or("");
    if (named == "words") {
        return UITextAutocapitalizationTypeWords;
    }
    if (named == "all") {
        return UITextAutocapitalizationTypeAllCharacters;
    }
    if (named == "none") {
        return UITextAutocapitalizationTypeNone;
    }
    return UITextAutocapitalizationTypeSentences;
}

} // namespace

Ref<PSEditableTableCell>
PSEditableTableCell::initWithStyle(UITableViewCellStyle style,
                                   const std::optional<std::string>& reuseIdentifier,
                                   const Ref<PSSpecifier>& specifier) {
    if (!PSTableCell::initWithStyle(style, reuseIdentifier, specifier)) {
        return nullptr;
    }
    _field = alloc<UITextField>()->init();
    _field->setTextAlignment(NSTextAlignmentRight);
    if (specifier) {
        _field->setSecureTextEntry(specifier->cellType() == "PSSecureEditTextCell" ||
                                   specifier->propertyForKey("cellClass").optionalString() ==
                                       std::optional<std::string>("PSSecureEditTextCell"));
        _field->setKeyboardType(keyboardFor(specifier));
        _field->setAutocapitalizationType(capitalisationFor(specifier));
        if (specifier->propertyForKey("noAutoCorrect").boolValue()) {
            _field->setAutocorrectionType(UITextAutocorrectionTypeNo);
        }
    }
    _field->addTarget(self<PSEditableTableCell>(), &PSEditableTableCell::returnPressed,
                      UIControlEventEditingDidEndOnExit);
    _field->addTarget(self<PSEditableTableCell>(), &PSEditableTableCell::editingEnded,
                      UIControlEventEditingDidEnd);
    contentView()->addSubview(_field);
    return self<PSEditableTableCell>();
}

void PSEditableTableCell::refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    if (specifier) {
        _field->setPlaceholder(specifier->propertyForKey("placeholder").optionalString());
        _shownText = textForValue(shownValue(specifier)).value_or("");
        _field->setText(_shownText);
    }
}

void PSEditableTableCell::setCellEnabled(bool enabled) {
    PSTableCell::setCellEnabled(enabled);
    _field->setEnabled(enabled);
}

void PSEditableTableCell::layoutSubviews() {
    PSTableCell::layoutSubviews();
    const Ref<UIView> content = contentView();
    const CGSize size = content->bounds().size;
    const CGRect title = content->directionalRect(textLabel()->frame());
    const CGFloat natural =
        textLabel()->text() && !textLabel()->text()->empty()
            ? std::ceil(
                  NSStringDrawing::sizeWithFont(*textLabel()->text(), textLabel()->font()).width)
            : 0;
    const CGFloat longest =
        std::max(0.0, size.width * (1 - kLeastFieldShare) - title.origin.x - kTitleFieldGap);
    const CGFloat titleWidth = std::min(natural, longest);
    const CGFloat left = title.origin.x + titleWidth + (titleWidth > 0 ? kTitleFieldGap : 0);
    textLabel()->setFrame(content->directionalRect(
        CGRectMake(title.origin.x, title.origin.y, titleWidth, title.size.height)));
    _field->setFrame(content->directionalRect(
        CGRectMake(left, 0, std::max(0.0, size.width - left - kLayoutMargin), size.height)));
}

void PSEditableTableCell::returnPressed(const Ref<UITextField>& sender) {
    if (sender) {
        sender->resignFirstResponder();
    }
}

void PSEditableTableCell::editingEnded(const Ref<UITextField>& sender) {
    Ref<PSSpecifier> row = specifier();
    if (!row || !sender || sender->text() == _shownText) {
        return;
    }
    _shownText = sender->text();
    row->performSetterWithValue(Value(_shownText));
}

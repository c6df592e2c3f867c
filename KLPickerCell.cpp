#include "KLPickerCell.h"

#include <UIKit/NSLayoutConstraint.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIStackView.h>
#include <objc/runtime.h>

#include "KLPickerChoiceView.h"

extern "C"
    __attribute__((visibility("default"))) constinit const objc_class OBJC_CLASS_$_KLPickerCell{
        "KLPickerCell", &OBJC_CLASS_$_PSTableCell,
        PSTableCellClassMethods<KLPickerCell>::classMethods,
        PSTableCellClassMethods<KLPickerCell>::instanceMethods};

namespace {

constexpr int32_t kPickerRowHeight = 200;
constexpr CGFloat kChoiceHeight = 180;

// The path with ":root:" made right for this device by the utilities, which
// are found by name: this library does not link them. Nil when they are not
// loaded.
std::optional<std::string> correctedPath(const std::optional<std::string>& path) {
    if (!path) {
        return std::nullopt;
    }
    const Id utilities = objc_msgSend(objc_getClass("KLUtilities"), "sharedInstance");
    const Id corrected =
        objc_msgSend(utilities, "correctedFilePathFromPathWithRootPrefix:", Id(*path));
    const std::string* text = corrected.string();
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

} // namespace

const objc_class* KLPickerCell::objcClass() const {
    return &OBJC_CLASS_$_KLPickerCell;
}

Ref<KLPickerCell> KLPickerCell::initWithStyle(UITableViewCellStyle style,
                                              const std::optional<std::string>& reuseIdentifier,
                                              const Ref<PSSpecifier>& specifier) {
    if (!PSTableCell::initWithStyle(style, reuseIdentifier, specifier)) {
        return nullptr;
    }
    if (specifier) {
        specifier->setProperty(Value::numberWithInt(kPickerRowHeight), "height");
    }

    _stackView = alloc<UIStackView>()->initWithFrame(CGRectZero);
    _stackView->setTranslatesAutoresizingMaskIntoConstraints(false);
    _stackView->setAxis(UILayoutConstraintAxisHorizontal);
    _stackView->setDistribution(UIStackViewDistributionEqualSpacing);
    _stackView->setAlignment(UIStackViewAlignmentCenter);
    _stackView->setSpacing(0);

    // Before the row is placed, so each choice's width share comes from the
    // frame the cell was created with, not from its width in the table.
    addChoiceViewsFromArray(specifier ? specifier->propertyForKey("choices") : Value());

    addSubview(_stackView);
    NSLayoutConstraint::activateConstraints({
        _stackView->centerXAnchor()->constraintEqualToAnchor(centerXAnchor()),
        _stackView->centerYAnchor()->constraintEqualToAnchor(centerYAnchor()),
        _stackView->widthAnchor()->constraintEqualToAnchor(widthAnchor()),
        _stackView->heightAnchor()->constraintEqualToAnchor(heightAnchor()),
    });
    return self<KLPickerCell>();
}

void KLPickerCell::addChoiceViewsFromArray(const Value& choices) {
    const Value::Array* entries = choices.array();
    if (!entries || entries->empty() || !_stackView) {
        return;
    }
    const CGFloat widthShare = frame().size.width / static_cast<CGFloat>(entries->size());
    for (size_t i = 0; i < entries->size(); ++i) {
        // An entry that is not a dictionary, or a key that is not text,
        // counts as a missing key.
        const Value& entry = (*entries)[i];
        const std::optional<std::string> title = entry.objectForKey("title").optionalString();
        const Ref<UIImage> image =
            UIImage::imageNamed(correctedPath(entry.objectForKey("image").optionalString()));
        Ref<KLPickerChoiceView> choice = alloc<KLPickerChoiceView>()->initWithFrame(
            CGRectZero, image, title, self<KLPickerCell>(), static_cast<int32_t>(i));
        NSLayoutConstraint::activateConstraints({
            choice->heightAnchor()->constraintEqualToConstant(kChoiceHeight),
            choice->widthAnchor()->constraintEqualToConstant(widthShare),
        });
        _stackView->addArrangedSubview(choice);
    }
}

void KLPickerCell::uncheckAllChoices() {
    if (!_stackView) {
        return;
    }
    for (const Ref<UIView>& view : _stackView->arrangedSubviews()) {
        if (Ref<KLPickerChoiceView> choice = objc_cast<KLPickerChoiceView>(view)) {
            choice->setEnabled(false);
        }
    }
}

void KLPickerCell::toggleChoiceWithTag(int32_t tag) {
    if (!_stackView || tag < 0) {
        return;
    }
    const auto& arranged = _stackView->arrangedSubviews();
    if (static_cast<size_t>(tag) >= arranged.size()) {
        return;
    }
    if (Ref<KLPickerChoiceView> choice = objc_cast<KLPickerChoiceView>(arranged[tag])) {
        choice->setEnabled(true);
    }
}

int32_t KLPickerCell::enabledChoice() {
    Ref<PSSpecifier> row = specifier();
    return row ? row->performGetter().intValue() : 0;
}

void KLPickerCell::setEnabledChoice(int32_t choice) {
    if (Ref<PSSpecifier> row = specifier()) {
        row->performSetterWithValue(Value::numberWithInt(choice));
    }
}

void KLPickerCell::refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    toggleChoiceWithTag(enabledChoice());
}

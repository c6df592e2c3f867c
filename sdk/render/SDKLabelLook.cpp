#include <render/SDKLabelLook.h>

#include <UIKit/UILabel.h>
#include <render/SDKDescription.h>
#include <render/SDKViewPainter.h>

namespace {

Ref<UIColor> shownColor(const UILabel& label) {
    if (label.isHighlighted() && label.highlightedTextColor()) {
        return label.highlightedTextColor();
    }
    return label.textColor();
}

const char* alignmentName(NSTextAlignment alignment) {
    switch (alignment) {
    case NSTextAlignmentLeft:
        return "left";
    case NSTextAlignmentCenter:
        return "center";
    case NSTextAlignmentRight:
        return "right";
    case NSTextAlignmentJustified:
        return "justified";
    default:
        return "natural";
    }
}

} // namespace

SDKTextStyle SDKLabelLook::textStyle(const UILabel& label) {
    SDKTextStyle style;
    style.fontSize = label.font()->pointSize();
    style.weight = label.font()->weight();
    style.color = *shownColor(label)->CGColor();
    style.alignment = label.textAlignment();
    style.layoutDirection = label.effectiveUserInterfaceLayoutDirection();
    style.numberOfLines = label.numberOfLines();
    style.shrinksToFit = label.adjustsFontSizeToFitWidth();
    style.minimumScaleFactor = label.minimumScaleFactor();
    return style;
}

void SDKLabelLook::draw(const UILabel& label, SDKViewPainter& painter) const {
    if (label.text() && !label.text()->empty()) {
        painter.text().drawText(*label.text(), textStyle(label), label.bounds());
    }
}

void SDKLabelLook::describeView(const UILabel& label, Value::Dictionary& description) const {
    description["text"] = label.text();
    description["textColor"] = SDKDescription::color(shownColor(label));
    description["fontSize"] = label.font()->pointSize();
    description["bold"] = label.font()->weight() == UIFont::Weight::Bold;
    description["alignment"] = alignmentName(label.textAlignment());
    if (label.isHighlighted()) {
        description["highlighted"] = true;
    }
}

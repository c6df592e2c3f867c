#include <render/SDKScreenLook.h>

#include <UIKit/UIColor.h>
#include <render/SDKViewPainter.h>

void SDKScreenLook::draw(UIViewController& controller, SDKViewPainter& painter,
                         const CGRect& screen) const {
    const CGRect content = drawSheet(controller, painter, screen);
    SDKCanvas& canvas = painter.canvas();
    SDKCanvas::State state(canvas);
    canvas.clipToRoundedRect(content, 0);
    cairo_translate(canvas.cairo(), content.origin.x, content.origin.y);
    painter.drawView(*controller.view());
}

void SDKScreenLook::describe(UIViewController& controller, Value::Dictionary& description) const {
    description["kind"] = "sheet";
    if (controller.title()) {
        description["title"] = *controller.title();
    }
}

CGRect SDKScreenLook::sheetFrame(const CGRect& screen) {
    const CGFloat top = std::min(kSheetTop, screen.size.height / 2);
    return CGRectMake(screen.origin.x, screen.origin.y + top, screen.size.width,
                      screen.size.height - top);
}

CGRect SDKScreenLook::drawSheet(const UIViewController& controller, SDKViewPainter& painter,
                                const CGRect& screen) {
    dim(painter, 0.25);
    SDKCanvas& canvas = painter.canvas();
    const CGRect sheet = sheetFrame(screen);
    {
        // Only the top corners are rounded: the card runs off the screen's bottom.
        SDKCanvas::State state(canvas);
        canvas.clipToRoundedRect(sheet, 0);
        canvas.fillRoundedRect(CGRectMake(sheet.origin.x, sheet.origin.y, sheet.size.width,
                                          sheet.size.height + kSheetRadius),
                               kSheetRadius, *UIColor::systemBackgroundColor()->CGColor());
    }
    // The grabber.
    canvas.fillRoundedRect(CGRectMake(CGRectGetMidX(sheet) - 18, sheet.origin.y + 5, 36, 5), 2.5,
                           *UIColor::systemGray4Color()->CGColor());
    if (controller.title()) {
        SDKTextStyle style;
        style.weight = UIFont::Weight::Bold;
        style.alignment = NSTextAlignmentCenter;
        painter.text().drawText(*controller.title(), style,
                                CGRectMake(sheet.origin.x + 60, sheet.origin.y + 10,
                                           sheet.size.width - 120, kBarHeight - 10));
    }
    return CGRectMake(sheet.origin.x, sheet.origin.y + kBarHeight, sheet.size.width,
                      sheet.size.height - kBarHeight);
}

void SDKScreenLook::dim(SDKViewPainter& painter, CGFloat alpha) {
    SDKCanvas& canvas = painter.canvas();
    canvas.fillRect(canvas.visibleRect(), CGColor{0, 0, 0, alpha});
}

#include <render/SDKViewLook.h>

#include <render/SDKViewPainter.h>

void SDKViewLook::drawSublayers(const UIView& view, SDKViewPainter& painter) const {
    painter.drawSublayersOf(view);
}

#pragma once

#include <UIKit/Forward.h>

// The system colour picker's content runs in a process of its own on a
// device, which tells the app what the user picked. The host stands in for
// that process: it reports a pick to the picker's delegate as the picker
// would, opaque when the picker does not offer opacity. Components are
// passed on exactly, extended-range ones included.
class ColorPickerProcess {
public:
    ColorPickerProcess() = delete;
    static void reportPick(const Ref<UIColorPickerViewController>& picker,
                           const Ref<UIColor>& color);
};

#pragma once

#include <objc/Ref.h>

// The renderer's classes by name, for headers that only refer to them (through
// Ref<>, pointers, references and declarations); a unit that uses one
// includes its own header.
class SDKActivityIndicatorLook;
class SDKCanvas;
class SDKDescription;
class SDKImageViewLook;
class SDKLabelLook;
class SDKLookRegistry;
class SDKPageRenderer;
class SDKSegmentedControlLook;
class SDKSliderLook;
class SDKStepperLook;
class SDKSwitchLook;
class SDKSymbolCatalogue;
class SDKTableViewCellLook;
class SDKTableViewLook;
class SDKTextFieldLook;
class SDKTextPainter;
struct SDKTextStyle;
class SDKViewInspector;
class SDKViewLook;
class SDKViewPainter;

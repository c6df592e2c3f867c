#pragma once

#include <objc/NSObject.h>

// The base of everything that takes part in event handling: views and view
// controllers.
class UIResponder : public NSObject {};

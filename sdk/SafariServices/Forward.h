#pragma once

#include <objc/Ref.h>

// SafariServices's classes by name, for headers that only refer to them (through
// Ref<>, pointers, references and declarations); a unit that uses one
// includes its own header.
class SFSafariViewController;
class SFSafariViewControllerDelegate;

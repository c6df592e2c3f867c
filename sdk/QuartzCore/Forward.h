#pragma once

#include <objc/Ref.h>

// QuartzCore's classes by name, for headers that only refer to them (through
// Ref<>, pointers, references and declarations); a unit that uses one
// includes its own header.
class CAGradientLayer;
class CALayer;
class CAShapeLayer;
struct CGColor;
struct CGPoint;
struct CGSize;
struct CGRect;
class CGPath;

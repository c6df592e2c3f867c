#pragma once

#include <QuartzCore/CAGradientLayer.h>
#include <QuartzCore/CALayer.h>
#include <QuartzCore/CAShapeLayer.h>
#include <QuartzCore/CGColor.h>
#include <QuartzCore/CGGeometry.h>
#include <QuartzCore/CGPath.h>

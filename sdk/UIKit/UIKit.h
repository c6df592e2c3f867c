#pragma once

#include <QuartzCore/QuartzCore.h>
#include <UIKit/UIBezierPath.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIColorPickerViewController.h>
#include <UIKit/UIControl.h>
#include <UIKit/UIFont.h>
#include <UIKit/UIGestureRecognizer.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UIKitDefines.h>
#include <UIKit/UILabel.h>
#include <UIKit/UITableView.h>
#include <UIKit/UITableViewCell.h>
#include <UIKit/UIView.h>
#include <UIKit/UIViewController.h>
#include <UIKit/UIWindow.h>

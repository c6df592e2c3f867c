#pragma once

#include <SafariServices/SFSafariViewController.h>
#include <SafariServices/SFSafariViewControllerDelegate.h>

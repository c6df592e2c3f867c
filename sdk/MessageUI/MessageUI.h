#pragma once

#include <MessageUI/MFMailComposeViewController.h>
#include <MessageUI/SDKMailAccount.h>

#pragma once

#include <Preferences/PSListController.h>
#include <Preferences/PSPreferenceDomain.h>
#include <Preferences/PSSpecifier.h>
#include <Preferences/PSTableCell.h>

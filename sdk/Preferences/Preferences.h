#pragma once

#include <Preferences/PSEditableTableCell.h>
#include <Preferences/PSListController.h>
#include <Preferences/PSListItemsController.h>
#include <Preferences/PSPreferenceDomain.h>
#include <Preferences/PSSegmentTableCell.h>
#include <Preferences/PSSliderTableCell.h>
#include <Preferences/PSSpecifier.h>
#include <Preferences/PSSpinnerTableCell.h>
#include <Preferences/PSSwitchTableCell.h>
#include <Preferences/PSTableCell.h>

#pragma once

#include <objc/Ref.h>

// Preferences's classes by name, for headers that only refer to them (through
// Ref<>, pointers, references and declarations); a unit that uses one
// includes its own header.
class PSEditableTableCell;
class PSListController;
class PSListItemsController;
class PSPreferenceDomain;
class PSSegmentTableCell;
class PSSliderTableCell;
class PSSpecifier;
class PSSpinnerTableCell;
class PSSwitchTableCell;
class PSTableCell;

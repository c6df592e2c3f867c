#pragma once

#include <UIKit/UIKitDefines.h>
#include <objc/NSObject.h>

// Where a row lies in a table: its section, and its row within the section.
class NSIndexPath : public NSObject {
public:
    static Ref<NSIndexPath> indexPathForRow(NSInteger row, NSInteger section) {
        Ref<NSIndexPath> path = alloc<NSIndexPath>();
        path->_row = row;
        path->_section = section;
        return path;
    }

    NSInteger row() const { return _row; }
    NSInteger section() const { return _section; }

private:
    NSInteger _row = 0;
    NSInteger _section = 0;
};

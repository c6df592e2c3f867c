#pragma once

#include <Foundation/Value.h>

#include "PageHost.h"

// The page as a value for JSON: the page itself, its sections, the table's
// header view (a tweak's banner) with every view in it, every row
// with every view in it, the screens presented over it, the stored values of
// every preference domain as the files on disk hold them, and the events the
// page caused since the start.
class PageDescription {
public:
    static Value describe(PageHost& host, const std::string& iosVersion);

private:
    static Value sections(PageHost& host);
    static Value header(PageHost& host);
    static Value rows(PageHost& host);
    static Value presented(PageHost& host);
    static Value domains(Value::Dictionary& errors);
    static Value events();
};

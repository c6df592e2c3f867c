#pragma once

#include <functional>
#include <ostream>

#include <Foundation/Forward.h>

#include <Foundation/SDKEvent.h>
#include <Foundation/Value.h>
#include <render/Forward.h>

#include "PageHost.h"

// The page as a value for JSON: the page itself, its sections, the table's
// header view (a tweak's banner) with every view in it, every row
// with every view in it, the screens presented over it, the stored values of
// every preference domain as the files on disk hold them, and the events the
// page caused since the start.
//
// It is streamed as one indented JSON document, members in key order, the
// rows one at a time: a long page's description never sits in memory whole,
// and on a host that does not show the whole page neither do its cells.
class PageDescription {
public:
    static void write(PageHost& host, const std::string& iosVersion, std::ostream& out);
    // One event as the description lists it: its kind and its fields.
    static Value::Dictionary describeEvent(const SDKEvent& event);

private:
    static Value page(PageHost& host, const std::string& iosVersion);
    static Value sections(PageHost& host);
    static Value header(PageHost& host);
    // Asks the table for each row's cell in turn, and lays the page out
    // afresh once every row's height is known.
    static void forEachRow(PageHost& host, const std::function<void(const PageHost::Row&)>& visit);
    // The bar's items (a tweak's respring button, say) and its views.
    static Value navigationBar(PageHost& host);
    static Value describeRow(const PageHost::Row& row, const SDKViewInspector& inspector);
    static Value presented(PageHost& host);
    static Value domains(Value::Dictionary& errors);
    static Value events();
};

#pragma once

#include <cstddef>
#include <functional>
#include <string>

// UIKit's objects belong to the main thread. Every UIKit entry point that
// changes the view tree, its layout or its constraints opens an Entry first;
// a call from another thread is reported the way the platform's Main Thread
// Checker reports it, in every build, and the call then goes ahead as it
// does on a device.
class SDKMainThreadChecker {
public:
    using Reporter = std::function<void(const std::string& report)>;

    SDKMainThreadChecker() = delete;

    // One call of an entry point, for as long as it runs. Only the outermost
    // entry on a thread is checked: the entry points it calls on its way are
    // part of the call the program made, which is the one reported.
    class Entry {
    public:
        explicit Entry(const char* method);
        ~Entry();
        Entry(const Entry&) = delete;
        Entry& operator=(const Entry&) = delete;
    };

    // `method` names the API as the report shows it, such as
    // "-[UIView addSubview:]". The first thread to use UIKit or the main
    // queue is the main thread.
    static void check(const char* method);
    // The report for a call of `method` from the calling thread.
    static std::string reportFor(const char* method);
    // Where reports go; by default to standard error. Answers the reporter
    // it replaces.
    static Reporter setReporter(Reporter reporter);
    // How many calls have been reported since the process started.
    static size_t reportCount();
};

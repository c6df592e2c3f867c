#pragma once

#include <optional>
#include <string>
#include <vector>

// A test run as JUnit XML, the form CI systems read: one <testsuite> whose
// test cases are the scripts in each variant, a failing one with its file,
// line and message.
class JUnitReport {
public:
    struct Case {
        enum class Outcome { Passed, Failed, NotRun };

        // The script's path (the case's class name and file) and the case's
        // name (the script's name, with its variant).
        std::string file;
        std::string name;
        Outcome outcome = Outcome::Passed;
        std::optional<size_t> line;
        std::string message;
        // What else the run said (pictures recorded).
        std::string output;
        double seconds = 0;
    };

    void add(Case testCase) { _cases.push_back(std::move(testCase)); }
    // The document. Text that is not UTF-8, or holds characters XML cannot
    // carry, has each such byte replaced by U+FFFD.
    std::string xml() const;
    // Writes the document; throws an output HostError when it cannot.
    void write(const std::string& path) const;

private:
    std::vector<Case> _cases;
};

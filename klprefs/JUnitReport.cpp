#include "JUnitReport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include <Foundation/Unicode.h>

#include "HostError.h"

namespace {

// Text for an attribute or an element, escaped, with what XML 1.0 cannot
// hold (control characters, bytes that are not UTF-8) replaced.
std::string escaped(const std::string& text) {
    std::string out;
    size_t offset = 0;
    while (offset < text.size()) {
        const Unicode::Character character = Unicode::decode(text, offset);
        const unsigned char c = static_cast<unsigned char>(text[offset]);
        const bool illFormed =
            character.codePoint == Unicode::kReplacementCharacter && character.size == 1;
        if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (c == '"') {
            out += "&quot;";
        } else if (c == '\n') {
            out += "&#10;";
        } else if (c == '\t') {
            out += "&#9;";
        } else if (c < 0x20 || illFormed || character.codePoint == 0xFFFE ||
                   character.codePoint == 0xFFFF) {
            out += "\xEF\xBF\xBD";
        } else {
            out.append(text, offset, character.size);
        }
        offset += character.size;
    }
    return out;
}

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

} // namespace

std::string JUnitReport::xml() const {
    size_t failures = 0, errors = 0;
    double total = 0;
    for (const Case& testCase : _cases) {
        failures += testCase.outcome == Case::Outcome::Failed ? 1 : 0;
        errors += testCase.outcome == Case::Outcome::NotRun ? 1 : 0;
        total += testCase.seconds;
    }
    const std::string counts = " tests=\"" + std::to_string(_cases.size()) + "\" failures=\"" +
                               std::to_string(failures) + "\" errors=\"" + std::to_string(errors) +
                               "\" time=\"" + seconds(total) + "\"";
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"klprefs "
                      "test\"" +
                      counts + ">\n  <testsuite name=\"klprefs test\"" + counts +
                      " skipped=\"0\">\n";
    for (const Case& testCase : _cases) {
        out += "    <testcase classname=\"" + escaped(testCase.file) + "\" name=\"" +
               escaped(testCase.name) + "\" file=\"" + escaped(testCase.file) + "\"";
        if (testCase.line) {
            out += " line=\"" + std::to_string(*testCase.line) + "\"";
        }
        out += " time=\"" + seconds(testCase.seconds) + "\">\n";
        const std::string where =
            testCase.file + (testCase.line ? ":" + std::to_string(*testCase.line) : "");
        if (testCase.outcome == Case::Outcome::Failed) {
            out += "      <failure message=\"" + escaped(testCase.message) +
                   "\" type=\"failure\">" + escaped(where + ": " + testCase.message) +
                   "</failure>\n";
        } else if (testCase.outcome == Case::Outcome::NotRun) {
            out += "      <error message=\"" + escaped(testCase.message) + "\" type=\"not run\">" +
                   escaped(where + ": " + testCase.message) + "</error>\n";
        }
        if (!testCase.output.empty()) {
            out += "      <system-out>" + escaped(testCase.output) + "</system-out>\n";
        }
        out += "    </testcase>\n";
    }
    out += "  </testsuite>\n</testsuites>\n";
    return out;
}

void JUnitReport::write(const std::string& path) const {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << xml();
    file.close();
    if (!file) {
        throw HostError(HostError::Kind::Output,
                        "cannot write the JUnit report " + path + ": " + std::strerror(errno));
    }
}

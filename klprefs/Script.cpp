#include "Script.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string_view>

#include "HostError.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::vector<std::string> splitWords(const std::string& line, size_t number) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i])) {
            ++i;
        }
        if (i >= line.size()) {
            break;
        }
        if (line[i] == '#' && (i + 1 == line.size() || isBlank(line[i + 1]))) {
            break;
        }
        std::string word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
                    word += line[i++];
                } else {
                    word += c;
                }
            }
            if (!closed) {
                throw HostError(HostError::Kind::Step, "a quoted text is not closed", number);
            }
        } else {
            while (i < line.size() && !isBlank(line[i])) {
                word += line[i++];
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

} // namespace

std::vector<ScriptStep> Script::parse(const std::string& text) {
    std::vector<ScriptStep> steps;
    // A byte order mark that an editor put at the top is no part of the first step.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::istringstream lines(text.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0
                                 ? text.substr(kByteOrderMark.size())
                                 : text);
    std::string line;
    for (size_t number = 1; std::getline(lines, line); ++number) {
        const size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#') {
            continue;
        }
        std::vector<std::string> words = splitWords(line, number);
        if (words.empty()) {
            continue;
        }
        ScriptStep step;
        step.line = number;
        step.command = words.front();
        step.arguments.assign(words.begin() + 1, words.end());
        steps.push_back(std::move(step));
    }
    return steps;
}

std::string Script::read(const std::string& path) {
    std::stringstream text;
    if (path == "-") {
        text << std::cin.rdbuf();
        return text.str();
    }
    auto cannotRead = [&](int cause) {
        return HostError(HostError::Kind::Usage,
                         "cannot read the script " + path + ": " + std::strerror(cause));
    };
    // A folder opens as a stream but reads as nothing; it is no script.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        throw cannotRead(EISDIR);
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw cannotRead(errno);
    }
    text << file.rdbuf();
    if (file.bad()) {
        throw cannotRead(errno);
    }
    return text.str();
}

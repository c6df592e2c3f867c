#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// How much a finding matters: an error shows wrong on a device, a warning
// may, an info could not be decided here.
enum class CheckLevel { Info, Warning, Error };

// One fault the check found: the rule that found it, where (the property
// list's file name in the bundle, the index in its "items", the item's key
// and the key's line when the file is XML), the variants it shows in and a
// one-line reason. Findings with the same rule, place and subject are the
// same finding, whatever variant found them.
struct CheckFinding {
    std::string rule;
    CheckLevel level = CheckLevel::Error;
    std::string file;
    std::optional<size_t> item;
    std::optional<std::string> key;
    std::optional<size_t> line;
    // What the finding is about within its item (a text, a picture's path),
    // so that two faults of one item stay apart.
    std::string subject;
    std::string message;
    std::vector<std::string> variants;
};

#include "ControllerAdditions.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <Foundation/NSString.h>
#include <Foundation/Unicode.h>
#include <UIKit/UINavigationItem.h>
#include <UIKit/UITableView.h>

#include "HostError.h"
#include "KLHeaderView.h"
#include "KLRespringButton.h"

namespace {

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

const std::string& fieldName(size_t index) {
    static const std::vector<std::string> names =
        NSString::componentsSeparatedByString(ControllerAdditions::kHeaderFieldNames, ",");
    return names[index];
}

ControllerAdditions::HeaderFields fieldsFrom(const std::vector<std::string>& parts,
                                             const std::string& source) {
    if (parts.size() != ControllerAdditions::kHeaderFieldCount) {
        HostError::throwUsage(source + " wants " +
                              std::to_string(ControllerAdditions::kHeaderFieldCount) + " fields (" +
                              ControllerAdditions::kHeaderFieldNames + "; any may be empty), not " +
                              std::to_string(parts.size()));
    }
    ControllerAdditions::HeaderFields fields;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string field = trimmed(parts[i]);
        if (!Unicode::isValidUTF8(field)) {
            HostError::throwUsage(source + ": the " + fieldName(i) + " field is not UTF-8 text");
        }
        for (unsigned char c : field) {
            if (c < 0x20 || c == 0x7F) {
                HostError::throwUsage(source + ": the " + fieldName(i) +
                                      " field holds a control character");
            }
        }
        if (!field.empty()) {
            fields[i] = field;
        }
    }
    return fields;
}

} // namespace

ControllerAdditions::HeaderFields ControllerAdditions::headerFromText(const std::string& text) {
    return fieldsFrom(NSString::componentsSeparatedByString(text, ","), "--header");
}

ControllerAdditions::HeaderFields ControllerAdditions::headerFromFile(const std::string& path) {
    auto cannotRead = [&](const std::string& reason) {
        HostError::throwUsage("cannot read the header file " + path + ": " + reason);
    };
    // Opened without waiting, so that a FIFO cannot hold the program up.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        cannotRead(std::strerror(errno));
    }
    struct stat info {};
    std::string text;
    std::string problem;
    if (fstat(fd, &info) != 0) {
        problem = std::strerror(errno);
    } else if (!S_ISREG(info.st_mode)) {
        problem = S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "not a regular file";
    } else if (static_cast<size_t>(info.st_size) > kMaximumHeaderFileSize) {
        problem = "larger than " + std::to_string(kMaximumHeaderFileSize / 1024) + " KiB";
    } else {
        text.resize(static_cast<size_t>(info.st_size));
        const ssize_t got = read(fd, text.data(), text.size());
        if (got < 0) {
            problem = std::strerror(errno);
        } else {
            text.resize(static_cast<size_t>(got));
        }
    }
    close(fd);
    if (!problem.empty()) {
        cannotRead(problem);
    }
    // One field a line; the last line's break and Windows line ends are optional.
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    std::vector<std::string> lines = NSString::componentsSeparatedByString(text, "\n");
    for (std::string& line : lines) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
    }
    return fieldsFrom(lines, "the header file " + path);
}

void ControllerAdditions::addTo(const Ref<PSListController>& controller) const {
    if (header) {
        const HeaderFields& f = *header;
        const CGFloat width = controller->table()->bounds().size.width;
        controller->table()->setTableHeaderView(alloc<KLHeaderView>()->initWithFrame(
            CGRectMake(0, 0, width, kHeaderHeight), f[0], f[1], f[2], f[3], f[4], f[5], f[6]));
    }
    if (respringButton) {
        controller->navigationItem()->setRightBarButtonItem(alloc<KLRespringButton>()->init());
    }
}

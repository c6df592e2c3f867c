#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <variant>
#include <vector>

// The records of what a page asked of the system, one type per kind, so that
// a reader takes typed fields instead of looking keys up.
namespace SDKEvents {

// A view controller shown or taken away: its class, its title when it has one.
struct Screen {
    std::string className;
    std::optional<std::string> title;
    bool animated = false;
};

// A controller presented over another, the presenter being the class of
// the controller that presents it.
struct Present : Screen {
    std::string presenter;
};
struct Dismiss : Screen {};
struct Push : Screen {};
struct Pop : Screen {};

// UIView's transitionWithView: the class of the view ("nil" for none), and
// the options as the page passed them.
struct Transition {
    std::string viewClassName;
    double duration = 0;
    long options = 0;
};

struct Animation {
    double duration = 0;
};

// A Darwin notification posted.
struct Notification {
    std::string name;
};

// A value the page asked to store and that was not stored.
struct StoreFailed {
    std::string domain;
    std::string key;
    std::string reason;
};

// A message the platform would write to the system log.
struct Error {
    std::string message;
};

struct OpenURL {
    std::string url;
};

// A program the page asked to start. It is never started: a program that
// exists gets a made-up process identifier, one that cannot be started the
// name of the error (ENOENT, say) instead.
struct Spawn {
    std::string path;
    // Nil when the page passed no argument list, as with no environment.
    std::optional<std::vector<std::string>> arguments;
    std::optional<std::vector<std::string>> environment;
    std::optional<pid_t> pid;
    std::optional<std::string> error;
};

// FrontBoard asked to relaunch the user interface (a respring).
struct Relaunch {
    std::optional<std::string> reason;
    long options = 0;
    std::optional<std::string> target;
};

// The result a mail compose sheet handed its delegate.
struct MailComposeResult {
    long result = 0;
};

} // namespace SDKEvents

using SDKEvent =
    std::variant<SDKEvents::Present, SDKEvents::Dismiss, SDKEvents::Push, SDKEvents::Pop,
                 SDKEvents::Transition, SDKEvents::Animation, SDKEvents::Notification,
                 SDKEvents::StoreFailed, SDKEvents::Error, SDKEvents::OpenURL, SDKEvents::Spawn,
                 SDKEvents::Relaunch, SDKEvents::MailComposeResult>;

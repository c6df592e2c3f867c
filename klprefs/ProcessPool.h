#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// Runs pieces of work in child processes, a few at once: each child is a
// fork of the calling process, which must have started no thread, so that
// nothing one piece leaves behind (a loaded bundle, the device's traits,
// what the frameworks logged) reaches another, and a piece that brings its
// process down fails alone.
class ProcessPool {
public:
    // How a child ended and what it sent back.
    struct Outcome {
        // What the work returned, sent back whole over a pipe.
        std::string output;
        // Set when the child could not be started, or ended other than by
        // returning from the work: why, in words.
        std::optional<std::string> abnormalEnd;
    };

    using Work = std::function<std::string(size_t index)>;
    using Done = std::function<void(size_t index, Outcome outcome)>;

    // Runs work(0) … work(count - 1), each in its own child, at most
    // `parallel` at once; calls done() in this process as each child ends.
    static void run(size_t count, size_t parallel, const Work& work, const Done& done);
    // The number of cores this process may run on.
    static size_t cores();
};

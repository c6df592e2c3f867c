#include "ProcessPool.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <map>
#include <poll.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Child {
    pid_t pid = -1;
    int channel = -1;
    std::string output;
};

void writeAll(int descriptor, const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = write(descriptor, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return;
        }
        written += static_cast<size_t>(count);
    }
}

// Starts one child running the work; its end of the pipe stays open in it.
std::optional<Child> start(size_t index, const ProcessPool::Work& work, std::string& why) {
    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0) {
        why = std::string("could not start: ") + std::strerror(errno);
        return std::nullopt;
    }
    std::cout.flush();
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        why = std::string("could not start: ") + std::strerror(errno);
        close(channel[0]);
        close(channel[1]);
        return std::nullopt;
    }
    if (pid == 0) {
        close(channel[0]);
        const std::string output = work(index);
        std::cout.flush();
        std::fflush(nullptr);
        writeAll(channel[1], output);
        _exit(0);
    }
    close(channel[1]);
    return Child{pid, channel[0], {}};
}

// Why a child ended as it did, or nothing when it returned from its work.
std::optional<std::string> howItEnded(int status) {
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        return std::nullopt;
    }
    if (WIFSIGNALED(status)) {
        return "the page ended on signal " + std::to_string(WTERMSIG(status)) + " (" +
               strsignal(WTERMSIG(status)) + ")";
    }
    return "the page ended with status " + std::to_string(WEXITSTATUS(status));
}

} // namespace

size_t ProcessPool::cores() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        return std::max(1, CPU_COUNT(&set));
    }
    return std::max(1L, sysconf(_SC_NPROCESSORS_ONLN));
}

void ProcessPool::run(size_t count, size_t parallel, const Work& work, const Done& done) {
    parallel = std::max<size_t>(1, parallel);
    std::map<size_t, Child> running;
    size_t next = 0;
    while (next < count || !running.empty()) {
        while (next < count && running.size() < parallel) {
            std::string why;
            if (std::optional<Child> child = start(next, work, why)) {
                running.emplace(next, std::move(*child));
            } else {
                done(next, Outcome{"", why});
            }
            ++next;
        }
        if (running.empty()) {
            continue;
        }
        std::vector<pollfd> waiting;
        std::vector<size_t> indices;
        for (const auto& [index, child] : running) {
            waiting.push_back(pollfd{child.channel, POLLIN, 0});
            indices.push_back(index);
        }
        if (poll(waiting.data(), waiting.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            std::perror("klprefs: poll");
            return;
        }
        for (size_t i = 0; i < waiting.size(); ++i) {
            if (!waiting[i].revents) {
                continue;
            }
            Child& child = running.at(indices[i]);
            char buffer[65536];
            const ssize_t got = read(child.channel, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got > 0) {
                child.output.append(buffer, static_cast<size_t>(got));
                continue;
            }
            // The child closed its end: it has ended, or is ending.
            close(child.channel);
            int status = 0;
            while (waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
            }
            Outcome outcome{std::move(child.output), howItEnded(status)};
            const size_t index = indices[i];
            running.erase(index);
            done(index, std::move(outcome));
        }
    }
}

#include "cli/CliProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace lumetra::test {
namespace {

bool IsLocaleVariable(const char* entry) {
    return std::strncmp(entry, "LC_", 3) == 0 || std::strncmp(entry, "LANG=", 5) == 0 ||
           std::strncmp(entry, "LANGUAGE=", 9) == 0;
}

// The child's environment without the caller's locale, so that dates read the same on
// every machine.
std::vector<std::string> ChildEnvironment(const std::string& locale) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (!IsLocaleVariable(*entry)) {
            entries.emplace_back(*entry);
        }
    }
    entries.emplace_back("LC_ALL=" + locale);
    return entries;
}

std::vector<char*> PointerList(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (auto& word : words) {
        pointers.push_back(word.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

TCliRun RunLumetraCli(const std::vector<std::string>& args) {
    return RunLumetraCli(args, "C");
}

TCliRun RunLumetraCli(const std::vector<std::string>& args, const std::string& locale) {
    TCliRun run;
    int outPipe[2];
    int errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0) {
        return run;
    }
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
        close(outPipe[0]);
        close(outPipe[1]);
        return run;
    }

    std::vector<std::string> argvWords{LUMETRA_CLI_PATH};
    argvWords.insert(argvWords.end(), args.begin(), args.end());
    std::vector<std::string> envWords = ChildEnvironment(locale);
    std::vector<char*> argv = PointerList(argvWords);
    std::vector<char*> envp = PointerList(envWords);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, LUMETRA_CLI_PATH, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    if (spawned != 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        run.Err = std::string("posix_spawn failed: ") + std::strerror(spawned);
        return run;
    }

    // Both pipes are drained together so that a child filling one cannot stall.
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&run.Out, &run.Err};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int open = 2;
    bool timedOut = false;
    while (open > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        const int ready = poll(fds, 2, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            timedOut = ready == 0;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (auto& fd : fds) {
        if (fd.fd >= 0) {
            close(fd.fd);
        }
    }
    if (timedOut) {
        kill(pid, SIGKILL);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) {
        run.Status = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        run.Status = 128 + WTERMSIG(status);
    }
    return run;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace lumetra::test

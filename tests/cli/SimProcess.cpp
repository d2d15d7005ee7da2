#include "cli/SimProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace lumetra::test {

bool TSimProcess::Start(const std::string& kind, const std::vector<std::string>& options,
                        const std::string& link, const std::string& errorLog, std::string& error) {
    Stop();
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        return false;
    }
    std::vector<std::string> words{LUMETRA_SIM_PATH, kind};
    words.insert(words.end(), options.begin(), options.end());
    words.insert(words.end(), {"--link", link});
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, errorLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int spawned = posix_spawn(&Pid, LUMETRA_SIM_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        Pid = -1;
        close(out[0]);
        error = std::string("posix_spawn: ") + std::strerror(spawned);
        return false;
    }
    std::string printed;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (printed.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd fd{out[0], POLLIN, 0};
        if (left.count() <= 0 || poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        char buffer[256];
        const ssize_t got = read(out[0], buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        printed.append(buffer, static_cast<std::size_t>(got));
    }
    close(out[0]);
    struct stat st {};
    if (printed.find('\n') == std::string::npos || lstat(link.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        error = "the simulator did not come up (printed '" + printed + "')";
        return false;
    }
    return true;
}

bool TSimProcess::Stop() {
    if (Pid <= 0) {
        return true;
    }
    kill(Pid, SIGTERM);
    int status = 0;
    bool ended = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        const pid_t done = waitpid(Pid, &status, WNOHANG);
        if (done == Pid || (done < 0 && errno != EINTR)) {
            ended = done == Pid;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!ended) {
        kill(Pid, SIGKILL);
        while (waitpid(Pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    Pid = -1;
    return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace lumetra::test

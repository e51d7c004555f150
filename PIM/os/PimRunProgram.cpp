#include "PIM/os/PimRunProgram.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

bool IsExecutableFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

long long NowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Collects the child's status; true once it has exited.
bool Reap(pid_t pid, bool wait, ST_PROGRAM_RESULT& result)
{
    int status = 0;
    pid_t done;
    do {
        done = waitpid(pid, &status, wait ? 0 : WNOHANG);
    } while (done < 0 && errno == EINTR);
    if (done != pid)
        return done < 0; // already gone (nothing more to wait for)
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
}

} // namespace

bool PimFindProgram(const char* name, std::string& path)
{
    path.clear();
    if (!name || !*name)
        return false;
    if (std::strchr(name, '/')) {
        if (!IsExecutableFile(name))
            return false;
        path = name;
        return true;
    }
    const char* variable = std::getenv("PATH");
    std::string list = variable ? variable : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(':', start);
        if (end == std::string::npos)
            end = list.size();
        std::string folder = list.substr(start, end - start);
        if (folder.empty())
            folder = ".";
        std::string candidate = folder + "/" + name;
        if (IsExecutableFile(candidate)) {
            path = candidate;
            return true;
        }
        start = end + 1;
    }
    return false;
}

ST_PROGRAM_RESULT PimRunProgram(const std::vector<std::string>& args, int timeoutMs, size_t maxOutput)
{
    ST_PROGRAM_RESULT result;
    std::string program;
    if (args.empty() || !PimFindProgram(args[0].c_str(), program))
        return result;
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return result;
    }
    result.started = true;

    // Read until the program closes its output or the time is up.
    const long long deadline = NowMs() + (timeoutMs < 0 ? 0 : timeoutMs);
    char buffer[4096];
    bool open = true;
    while (open) {
        const long long left = deadline - NowMs();
        if (left <= 0) {
            result.timedOut = true;
            break;
        }
        pollfd fd{pipeFds[0], POLLIN, 0};
        const int ready = poll(&fd, 1, static_cast<int>(left > 1000 ? 1000 : left));
        if (ready < 0 && errno != EINTR)
            break;
        if (ready <= 0)
            continue;
        const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            open = false;
            break;
        }
        const size_t room = maxOutput > result.output.size() ? maxOutput - result.output.size() : 0;
        result.output.append(buffer, static_cast<size_t>(got) < room ? static_cast<size_t>(got) : room);
    }
    close(pipeFds[0]);

    // Output closed: the program is ending; give it what is left of the time.
    while (!result.timedOut && !Reap(pid, false, result)) {
        if (NowMs() >= deadline) {
            result.timedOut = true;
            break;
        }
        usleep(2000);
    }
    if (result.timedOut) {
        kill(pid, SIGKILL);
        Reap(pid, true, result);
        result.exitCode = -1;
    }
    return result;
}

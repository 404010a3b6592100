#include "ShellCommand.h"

#include "ScriptFault.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace gerscript {

int ShellCommand::Run(const std::string& command) {
    // The command reads nothing of the script, which may be arriving on our standard input.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
    pid_t pid = 0;
    const int failed =
        posix_spawn(&pid, "/bin/sh", &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) throw ScriptFault("cannot run /bin/sh");
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) throw ScriptFault("lost the shell command");
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace gerscript

#include "ServerProcess.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

ServerProcess::ServerProcess(const std::string& program, std::vector<std::string> arguments,
                             const std::string& logFile) {
    int out[2];
    if (::pipe(out) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        int log = ::open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (log >= 0) ::dup2(log, STDERR_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        // Under AddressSanitizer a small quarantine keeps the resident size meaningful.
        const char* asan = std::getenv("ASAN_OPTIONS");
        const std::string options = std::string(asan ? asan : "") + ":quarantine_size_mb=8";
        ::setenv("ASAN_OPTIONS", options.c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (auto& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    FILE* output = ::fdopen(out[0], "r");
    char line[256] = {};
    const bool started = ::fgets(line, sizeof line, output) != nullptr;
    ::fclose(output);
    const std::string text = started ? line : "";
    const auto colon = text.rfind(':');
    if (text.rfind("listening on ", 0) != 0 || colon == std::string::npos) {
        Stop();
        throw std::runtime_error("appserver did not start: " + text);
    }
    port_ = static_cast<unsigned short>(std::stoi(text.substr(colon + 1)));
}

ServerProcess::~ServerProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

bool ServerProcess::Alive() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == 0) return true;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    pid_ = -1;
    return false;
}

long ServerProcess::ResidentKb() const {
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(4096, '\n');
    }
    return -1;
}

int ServerProcess::Stop() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        pid_ = -1;
    }
    return status_;
}

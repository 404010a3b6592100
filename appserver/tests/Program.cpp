#include "Program.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

Program::Program(std::vector<std::string> arguments) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        // Under AddressSanitizer a small quarantine keeps the resident size meaningful.
        const char* asan = std::getenv("ASAN_OPTIONS");
        const std::string options = std::string(asan ? asan : "") + ":quarantine_size_mb=8";
        ::setenv("ASAN_OPTIONS", options.c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(APPSERVER_PROGRAM)};
        for (auto& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        ::execv(APPSERVER_PROGRAM, argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    output_ = ::fdopen(out[0], "r");
}

Program::~Program() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        Wait();
    }
    if (output_) ::fclose(output_);
}

std::optional<std::string> Program::ReadLine() {
    char buffer[4096];
    if (!::fgets(buffer, sizeof buffer, output_)) return std::nullopt;
    std::string line = buffer;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return line;
}

void Program::Signal(int signal) {
    ::kill(pid_, signal);
}

bool Program::Alive() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == 0) return true;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    pid_ = -1;
    return false;
}

long Program::ResidentKb() const {
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

int Program::Wait() {
    if (pid_ > 0) {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    return status_;
}

unsigned short PortOf(const std::optional<std::string>& line) {
    const std::string prefix = "listening on 127.0.0.1:";
    const std::string listeningLine = line.value_or("");
    EXPECT_EQ(listeningLine.substr(0, prefix.size()), prefix);
    if (listeningLine.size() <= prefix.size()) return 0;
    return static_cast<unsigned short>(std::stoi(listeningLine.substr(prefix.size())));
}

#include "Program.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

Program::Program(std::vector<std::string> arguments, long maxDescriptors) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        if (maxDescriptors > 0) {
            const rlimit limit{rlim_t(maxDescriptors), rlim_t(maxDescriptors)};
            ::setrlimit(RLIMIT_NOFILE, &limit);
        }
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
    if (pid_ > 0) ::kill(pid_, SIGKILL);
    Wait();
    if (output_) ::fclose(output_);
}

std::optional<std::string> Program::ReadLine() {
    char buffer[4096];
    if (!::fgets(buffer, sizeof buffer, output_)) return std::nullopt;
    std::string line = buffer;
    if (line.ends_with('\n')) line.pop_back();
    return line;
}

void Program::Signal(int signal) {
    ::kill(pid_, signal);
}

bool Program::Ended(bool wait) {
    if (pid_ <= 0) return true;
    int status = 0;
    if (::waitpid(pid_, &status, wait ? 0 : WNOHANG) == 0) return false;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    pid_ = -1;
    return true;
}

long Program::ResidentKb() const {
    long size = 0, pages = 0;
    std::ifstream("/proc/" + std::to_string(pid_) + "/statm") >> size >> pages;
    return pages * (::sysconf(_SC_PAGESIZE) / 1024);
}

double Program::CpuSeconds() const {
    std::ifstream stat("/proc/" + std::to_string(pid_) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // After the name in parentheses (which may hold spaces), utime and stime are the 12th and
    // 13th fields.
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string skipped;
    double user = 0, system = 0;
    for (int i = 0; i < 11; ++i)
        fields >> skipped;
    fields >> user >> system;
    return (user + system) / double(::sysconf(_SC_CLK_TCK));
}

unsigned short PortOf(const std::optional<std::string>& line) {
    const std::string prefix = "listening on 127.0.0.1:", text = line.value_or("");
    EXPECT_EQ(text.substr(0, prefix.size()), prefix);
    return text.size() > prefix.size() ? std::stoi(text.substr(prefix.size())) : 0;
}

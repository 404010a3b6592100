#pragma once
#include <cstdio>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

/// The appserver program started with arguments; its standard output is read line by line.
/// Killed on destruction if still running.
class Program {
public:
    /// maxDescriptors above 0: the program may open no more files than that, however it asks.
    explicit Program(std::vector<std::string> arguments, long maxDescriptors = 0);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program();

    /// The next line of standard output, without its newline; none at its end.
    std::optional<std::string> ReadLine();
    void Signal(int signal);
    bool Alive() { return !Ended(false); }
    /// Its resident memory in kB, and the processor time (user and system) it used, in seconds.
    long ResidentKb() const;
    double CpuSeconds() const;
    /// Exit status (or 128 + signal) once the program ended.
    int Wait() {
        Ended(true);
        return status_;
    }

private:
    bool Ended(bool wait);

    pid_t pid_ = -1;
    int status_ = -1;
    FILE* output_ = nullptr;
};

/// The port of a "listening on 127.0.0.1:PORT" line (0 and a test failure otherwise).
unsigned short PortOf(const std::optional<std::string>& line);

#pragma once
#include <string>
#include <sys/types.h>
#include <vector>

/// The appserver program running as a child process, for tests that watch it from outside:
/// whether it is still alive, how much memory it holds, what it logs.
class ServerProcess {
public:
    /// Starts program with arguments (add "--listen 127.0.0.1:0") and waits for its
    /// "listening on ADDRESS:PORT" line; its standard error goes to logFile.
    ServerProcess(const std::string& program, std::vector<std::string> arguments,
                  const std::string& logFile);
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;
    ~ServerProcess();

    unsigned short Port() const { return port_; }
    /// True while the process has not ended.
    bool Alive();
    /// Resident memory in kB, from /proc.
    long ResidentKb() const;
    /// Stops it with SIGTERM; returns its exit status (128 + signal when killed).
    int Stop();

private:
    pid_t pid_ = -1;
    unsigned short port_ = 0;
    int status_ = -1;
};

// loadgen: closed-loop load for the application server. Each client is a thread with one
// connection that sends a request line, waits for its answer and sends the next one. Clients
// come in groups, each with its own mix of calls and its own figures, so that one run can
// measure, say, one reader while sixteen writers keep the server busy. The echo mode runs
// the same clients against a bare loopback echo of the same bytes, started in this process:
// the floor any server on this machine is measured against; handing off, the echo's bytes
// cross a second thread, as a request crosses from the network to a database thread.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <random>
#include <stdexcept>
#include <string>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

/// One group of clients: how many, and what share of their calls are one-row deltas.
struct Group {
    std::string name;
    int clients = 1;
    int deltaPercent = 0;
};

Group ParseGroup(const std::string& text) {
    // NAME:CLIENTS:DELTA_PERCENT
    Group group;
    auto first = text.find(':'), second = text.rfind(':');
    if (first == std::string::npos || second == first)
        throw std::invalid_argument("--group expects NAME:CLIENTS:DELTA_PERCENT, got " + text);
    group.name = text.substr(0, first);
    group.clients = std::stoi(text.substr(first + 1, second - first - 1));
    group.deltaPercent = std::stoi(text.substr(second + 1));
    if (group.clients < 1 || group.deltaPercent < 0 || group.deltaPercent > 100)
        throw std::invalid_argument("--group: bad numbers in " + text);
    return group;
}

int Connect(const std::string& host, int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (::inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1)
        throw std::invalid_argument("not an IPv4 address: " + host);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        throw std::runtime_error(std::string("connect: ") + std::strerror(errno));
    }
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

/// A blocking line client.
class LineClient {
public:
    LineClient(const std::string& host, int port) : fd_(Connect(host, port)) {}
    LineClient(const LineClient&) = delete;
    LineClient& operator=(const LineClient&) = delete;
    ~LineClient() { ::close(fd_); }

    /// Sends line (with its newline) and returns the answer line; empty when the peer closed.
    std::string Call(const std::string& line) {
        for (std::size_t sent = 0; sent < line.size();) {
            ssize_t n = ::send(fd_, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) return {};
            sent += static_cast<std::size_t>(n);
        }
        for (;;) {
            auto newline = buffer_.find('\n');
            if (newline != std::string::npos) {
                std::string answer = buffer_.substr(0, newline);
                buffer_.erase(0, newline + 1);
                return answer;
            }
            char chunk[65536];
            ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
            if (n <= 0) return {};
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
    }

private:
    int fd_;
    std::string buffer_;
};

/// A bare echo of every byte received, one epoll thread, for the floor. Handing off, the
/// epoll thread gives what it read to a second thread, which sends it back: the floor of any
/// server that keeps its database work off the thread serving the sockets.
class EchoServer {
public:
    explicit EchoServer(bool handOff) : handOff_(handOff) {
        listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int one = 1;
        ::setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(listen_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listen_, 1024) != 0)
            throw std::runtime_error("echo: cannot listen");
        socklen_t length = sizeof address;
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
        ::pipe2(stop_, O_CLOEXEC);
        Watch(listen_);
        Watch(stop_[0]);
        thread_ = std::thread([this] { Loop(); });
        if (handOff_) sender_ = std::thread([this] { Send(); });
    }
    ~EchoServer() {
        [[maybe_unused]] auto written = ::write(stop_[1], "x", 1);
        thread_.join();
        if (handOff_) {
            {
                std::lock_guard lock(mutex_);
                stopping_ = true;
            }
            wake_.notify_one();
            sender_.join();
        }
        ::close(listen_);
        ::close(epoll_);
        ::close(stop_[0]);
        ::close(stop_[1]);
    }
    int Port() const { return port_; }

private:
    void Watch(int fd) {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.fd = fd;
        ::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event);
    }
    void Loop() {
        epoll_event events[64];
        char buffer[65536];
        for (;;) {
            int ready = ::epoll_wait(epoll_, events, 64, -1);
            for (int i = 0; i < ready; ++i) {
                int fd = events[i].data.fd;
                if (fd == stop_[0]) return;
                if (fd == listen_) {
                    int client = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
                    if (client < 0) continue;
                    int one = 1;
                    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
                    Watch(client);
                    continue;
                }
                ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
                if (n <= 0) {
                    ::close(fd);
                    continue;
                }
                if (!handOff_) {
                    SendAll(fd, buffer, static_cast<std::size_t>(n));
                    continue;
                }
                {
                    std::lock_guard lock(mutex_);
                    queue_.emplace_back(fd, std::string(buffer, static_cast<std::size_t>(n)));
                }
                wake_.notify_one();
            }
        }
    }
    void Send() {
        for (;;) {
            std::pair<int, std::string> bytes;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
                if (queue_.empty()) return;
                bytes = std::move(queue_.front());
                queue_.pop_front();
            }
            SendAll(bytes.first, bytes.second.data(), bytes.second.size());
        }
    }
    static void SendAll(int fd, const char* data, std::size_t size) {
        for (std::size_t sent = 0; sent < size;) {
            ssize_t w = ::send(fd, data + sent, size - sent, MSG_NOSIGNAL);
            if (w <= 0) break;
            sent += static_cast<std::size_t>(w);
        }
    }
    const bool handOff_;
    int listen_ = -1, epoll_ = -1, port_ = 0, stop_[2]{-1, -1};
    std::thread thread_, sender_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::pair<int, std::string>> queue_;
    bool stopping_ = false;
};

/// Writes a page into a file of 1 MiB written once beforehand and waits for it to reach the
/// disk, page after page for the given time: a commit of a write-ahead log that is reused in
/// place, done for every change on its own.
double DiskSyncsPerSecond(const std::string& path, double seconds) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) throw std::runtime_error("cannot create " + path + ": " + std::strerror(errno));
    constexpr std::size_t kPage = 4096, kPages = 256;
    const std::string page(kPage, 'x');
    for (std::size_t i = 0; i < kPages; ++i)
        if (::write(fd, page.data(), kPage) != static_cast<ssize_t>(kPage))
            throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
    ::fsync(fd);
    long syncs = 0;
    const auto started = Clock::now();
    const auto until = started + std::chrono::duration<double>(seconds);
    while (Clock::now() < until) {
        const auto offset = static_cast<off_t>((static_cast<std::size_t>(syncs) % kPages) * kPage);
        if (::pwrite(fd, page.data(), kPage, offset) != static_cast<ssize_t>(kPage) ||
            ::fdatasync(fd) != 0)
            throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
        ++syncs;
    }
    const double elapsed = std::chrono::duration<double>(Clock::now() - started).count();
    ::close(fd);
    ::unlink(path.c_str());
    return static_cast<double>(syncs) / elapsed;
}

const char* kPrefix = "Ger06700.rdmFormPgto.";

std::string Request(long id, const std::string& method, const std::string& params) {
    return "{\"jsonrpc\":\"2.0\",\"id\":" + std::to_string(id) + ",\"method\":\"" + kPrefix +
           method + "\",\"params\":" + params + "}\n";
}

const std::string kDayFields =
    "[{\"name\":\"CDFORMPGTO\"},{\"name\":\"NRDIAINIPGTO\"},{\"name\":\"NRDIAFINPGTO\"},"
    "{\"name\":\"NRDIAPGTOVAR\"},{\"name\":\"NRMESFORMPGT\"},{\"name\":\"NRNUMMESPGTO\"},"
    "{\"name\":\"NRDIAPGTOSEMANA\"}]";

/// A one-row delta of the client's own term: inserting a row, or deleting it again.
std::string DayDelta(const std::string& code, bool insert) {
    const std::string row = "[\"" + code + "\",\"01\",\"31\",\"10\",0,null,\"00\"]";
    return "[{\"fields\":" + kDayFields + ",\"changes\":[{\"op\":\"" +
           (insert ? "insert\",\"new\":" : "delete\",\"old\":") + row + "}]}]";
}

std::string TermDelta(const std::string& code) {
    return "[{\"fields\":[{\"name\":\"CDFORMPGTO\"},{\"name\":\"NMFORMPGTO\"},{\"name\":"
           "\"IDTIPODTPGTO\"},{\"name\":\"IDREFECALCPARC\"},{\"name\":\"IDTPPERIODO\"},{\"name\":"
           "\"IDCONSDIAUTIL\"},{\"name\":\"IDVRIGUALPARC\"}],\"changes\":[{\"op\":\"insert\","
           "\"new\":[\"" +
           code + "\",\"Carga\",\"EMIN\",\"DIA_DE_REFERENCIA\",\"M\",\"N\",\"S\"]}]}]";
}

/// The term a writing client owns: "Z0".."ZZ", then "Y0"...
std::string OwnCode(int client) {
    const char* digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    return std::string(1, static_cast<char>('Z' - client / 36)) + digits[client % 36];
}

struct Figures {
    std::vector<double> latenciesUs;
    long errors = 0;
    long broken = 0;
};

struct Options {
    std::string host = "127.0.0.1";
    int port = 6700;
    bool echo = false;
    double seconds = 5;
    double warmup = 1;
    std::string readCode = "02";
    std::vector<Group> groups;
};

void RunClient(const Options& options, int port, const Group& group, int ownIndex,
               std::atomic<bool>& measuring, std::atomic<bool>& done, Figures& figures) {
    LineClient client(options.host, port);
    const std::string code = OwnCode(ownIndex);
    std::mt19937 random(static_cast<unsigned>(ownIndex) * 7919u + 1);
    std::uniform_int_distribution<int> percent(0, 99);
    long id = 0;
    bool insertNext = true;
    figures.latenciesUs.reserve(1 << 20);
    while (!done.load(std::memory_order_relaxed)) {
        const bool delta = percent(random) < group.deltaPercent;
        const std::string line =
            delta ? Request(++id, "SetDiaPgto", DayDelta(code, insertNext))
                  : Request(++id, "GetDiaPgto", "[\"" + options.readCode + "\"]");
        const auto started = Clock::now();
        const std::string answer = client.Call(line);
        const auto elapsed = std::chrono::duration<double, std::micro>(Clock::now() - started);
        if (answer.empty()) {
            ++figures.broken;
            return;
        }
        const bool failed = !options.echo && answer.find("\"error\"") != std::string::npos;
        if (delta && !failed) insertNext = !insertNext;
        if (!measuring.load(std::memory_order_relaxed)) continue;
        figures.latenciesUs.push_back(elapsed.count());
        if (failed) ++figures.errors;
    }
}

double Percentile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return 0;
    auto index = static_cast<std::size_t>(p / 100.0 * static_cast<double>(sorted.size() - 1));
    return sorted[index];
}

/// Gives every writing client a term of its own (already there from an earlier run is fine).
void PrepareTerms(const Options& options, int port, int writers) {
    LineClient client(options.host, port);
    for (int i = 0; i < writers; ++i)
        client.Call(Request(i + 1, "SetFormPgto", TermDelta(OwnCode(i))));
}

long ResidentKiB(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

long OpenDescriptors(int pid) {
    long count = 0;
    if (FILE* list = ::popen(("ls /proc/" + std::to_string(pid) + "/fd").c_str(), "r")) {
        char name[64];
        while (std::fgets(name, sizeof name, list))
            ++count;
        ::pclose(list);
    }
    return count;
}

/// Holds idle connections and reports what they cost the server.
int RunIdle(const Options& options, int connections, int serverPid) {
    const long rssBefore = ResidentKiB(serverPid), fdsBefore = OpenDescriptors(serverPid);
    std::vector<int> sockets;
    sockets.reserve(static_cast<std::size_t>(connections));
    for (int i = 0; i < connections; ++i)
        sockets.push_back(Connect(options.host, options.port));
    // One call on the last connection proves the server took them all and still answers.
    const std::string probe = Request(1, "GetDiaPgto", "[\"" + options.readCode + "\"]");
    {
        LineClient client(options.host, options.port);
        if (client.Call(probe).find("\"result\"") == std::string::npos)
            throw std::runtime_error("the server did not answer beside the idle connections");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const long rssAfter = ResidentKiB(serverPid), fdsAfter = OpenDescriptors(serverPid);
    std::printf("mode=idle connections=%d server_rss_kib_before=%ld server_rss_kib_after=%ld "
                "rss_per_connection_bytes=%.0f server_fds_before=%ld server_fds_after=%ld "
                "fds_per_connection=%.2f\n",
                connections, rssBefore, rssAfter,
                1024.0 * static_cast<double>(rssAfter - rssBefore) / connections, fdsBefore,
                fdsAfter, static_cast<double>(fdsAfter - fdsBefore) / connections);
    for (int fd : sockets)
        ::close(fd);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"Closed-loop load for the application server: groups of clients, each client "
                 "one connection sending a call and waiting for its answer. Reads are "
                 "GetDiaPgto of one term; deltas are one-row SetDiaPgto changes of a term of "
                 "the client's own (inserted, then deleted again). Prints one line of "
                 "key=value figures per group.",
                 "loadgen"};
    Options options;
    std::string server = "127.0.0.1:6700";
    std::vector<std::string> groups;
    int idle = 0, serverPid = 0;
    app.add_option("--server", server, "HOST:PORT of the application server")
        ->capture_default_str();
    app.add_flag("--echo", options.echo,
                 "Send the same bytes to a bare echo started in this process instead");
    bool handOff = false;
    app.add_flag("--hand-off", handOff,
                 "With --echo: the echo's epoll thread hands every read to a second thread, "
                 "which sends it back");
    std::string syncFile;
    app.add_option("--disk-syncs", syncFile,
                   "Instead: append and fdatasync FILE for --seconds and report the rate");
    app.add_option("--group", groups, "NAME:CLIENTS:DELTA_PERCENT, repeatable (default all:1:0)");
    app.add_option("--seconds", options.seconds, "Measured time")->capture_default_str();
    app.add_option("--warmup", options.warmup, "Unmeasured time first")->capture_default_str();
    app.add_option("--read-code", options.readCode, "Term whose days the reads fetch")
        ->capture_default_str();
    app.add_option("--idle", idle, "Instead: hold this many idle connections and report");
    app.add_option("--server-pid", serverPid, "The server's pid, for --idle figures");
    CLI11_PARSE(app, argc, argv);

    try {
        auto colon = server.rfind(':');
        options.host = server.substr(0, colon);
        options.port = std::stoi(server.substr(colon + 1));
        if (idle > 0) return RunIdle(options, idle, serverPid);
        if (!syncFile.empty()) {
            std::printf("mode=disk-syncs syncs_per_s=%.0f\n",
                        DiskSyncsPerSecond(syncFile, options.seconds));
            return 0;
        }
        if (groups.empty()) groups.push_back("all:1:0");
        for (const auto& text : groups)
            options.groups.push_back(ParseGroup(text));

        std::unique_ptr<EchoServer> echo;
        int port = options.port;
        if (options.echo) {
            echo = std::make_unique<EchoServer>(handOff);
            port = echo->Port();
        }
        int writers = 0;
        for (const auto& group : options.groups)
            if (group.deltaPercent > 0) writers += group.clients;
        if (!options.echo && writers > 0) PrepareTerms(options, port, writers);

        std::atomic<bool> measuring{false}, done{false};
        std::vector<std::vector<Figures>> figures;
        std::vector<std::thread> threads;
        int writerIndex = 0;
        for (const auto& group : options.groups)
            figures.emplace_back(static_cast<std::size_t>(group.clients));
        for (std::size_t g = 0; g < options.groups.size(); ++g)
            for (int c = 0; c < options.groups[g].clients; ++c) {
                const int own = options.groups[g].deltaPercent > 0 ? writerIndex++ : 0;
                threads.emplace_back(RunClient, std::cref(options), port,
                                     std::cref(options.groups[g]), own, std::ref(measuring),
                                     std::ref(done), std::ref(figures[g][std::size_t(c)]));
            }
        std::this_thread::sleep_for(std::chrono::duration<double>(options.warmup));
        measuring = true;
        std::this_thread::sleep_for(std::chrono::duration<double>(options.seconds));
        measuring = false;
        done = true;
        for (auto& thread : threads)
            thread.join();

        for (std::size_t g = 0; g < options.groups.size(); ++g) {
            std::vector<double> all;
            long errors = 0, broken = 0;
            for (auto& client : figures[g]) {
                all.insert(all.end(), client.latenciesUs.begin(), client.latenciesUs.end());
                errors += client.errors;
                broken += client.broken;
            }
            std::sort(all.begin(), all.end());
            const Group& group = options.groups[g];
            std::printf("group=%s mode=%s clients=%d delta_percent=%d calls=%zu "
                        "calls_per_s=%.0f p50_us=%.0f p90_us=%.0f p99_us=%.0f errors=%ld "
                        "broken=%ld\n",
                        group.name.c_str(),
                        !options.echo ? "server"
                        : handOff     ? "echo-hand-off"
                                      : "echo",
                        group.clients, group.deltaPercent, all.size(),
                        static_cast<double>(all.size()) / options.seconds, Percentile(all, 50),
                        Percentile(all, 90), Percentile(all, 99), errors, broken);
        }
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "loadgen: " << error.what() << '\n';
        return 1;
    }
}

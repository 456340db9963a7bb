// A TCP proxy on 127.0.0.1 that holds every block of bytes for a fixed
// time in each direction before passing it on, so that a local server
// answers as one across a network does (a round trip costs twice the
// delay). Blocks keep flowing while others wait: pipelined requests overlap
// as they do on a real line. For the benches only.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class DelayProxy {
public:
    // target: a socket folder (PostgreSQL's Unix socket there) or an IPv4
    // address, with its port.
    DelayProxy(std::string targetHost, int targetPort, std::chrono::milliseconds delay)
        : host(std::move(targetHost)), targetPort(targetPort), delay(delay) {
        listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&a), len) != 0 || listen(listener, 8) != 0 ||
            getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            return;
        listenPort = ntohs(a.sin_port);
        acceptor = std::thread([this] { acceptLoop(); });
    }
    DelayProxy(const DelayProxy&) = delete;
    DelayProxy& operator=(const DelayProxy&) = delete;
    ~DelayProxy() {
        stopping = true;
        shutdown(listener, SHUT_RDWR);
        close(listener);
        if (acceptor.joinable()) acceptor.join();
        std::lock_guard<std::mutex> lock(mutex);
        for (int fd : sockets) shutdown(fd, SHUT_RDWR);
        for (std::thread& t : pipes) t.join();
        for (int fd : sockets) close(fd);
    }

    // The port to connect to on 127.0.0.1; 0 when the proxy could not start.
    int port() const { return listenPort; }
    // Round trips so far: the times a client sent again after an answer of
    // its server reached it (what a client sends while answers are still on
    // their way starts no new round trip).
    long roundTrips() const { return turns; }

private:
    struct Block {
        std::chrono::steady_clock::time_point due;
        std::string bytes;  // empty: the sender closed
    };
    struct Line {
        std::mutex mutex;
        std::condition_variable ready;
        std::deque<Block> blocks;
    };

    int connectTarget() {
        if (!host.empty() && host[0] == '/') {
            int fd = socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un a{};
            a.sun_family = AF_UNIX;
            std::string path = host + "/.s.PGSQL." + std::to_string(targetPort);
            if (path.size() >= sizeof a.sun_path) return -1;
            std::copy(path.begin(), path.end(), a.sun_path);
            if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return fd;
            close(fd);
            return -1;
        }
        int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(targetPort));
        inet_pton(AF_INET, host.c_str(), &a.sin_addr);
        if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return fd;
        close(fd);
        return -1;
    }

    void acceptLoop() {
        while (!stopping) {
            int client = accept(listener, nullptr, nullptr);
            if (client < 0) return;
            int one = 1;
            setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            int server = connectTarget();
            if (server < 0) {
                close(client);
                continue;
            }
            std::lock_guard<std::mutex> lock(mutex);
            sockets.push_back(client);
            sockets.push_back(server);
            auto answered = std::make_shared<std::atomic<bool>>(true);
            for (auto [from, to] : {std::pair{client, server}, std::pair{server, client}}) {
                auto line = std::make_shared<Line>();
                bool request = from == client;
                // A request read after an answer was handed to the client
                // starts a round trip.
                pipes.emplace_back([this, from, line, request, answered] {
                    readInto(from, *line, [&] {
                        if (request && answered->exchange(false)) ++turns;
                    });
                });
                pipes.emplace_back([to, line, request, answered] {
                    writeFrom(to, *line, [&] {
                        if (!request) answered->store(true);
                    });
                });
            }
        }
    }

    // seen runs for every block read.
    template <class Seen> void readInto(int from, Line& line, Seen seen) {
        std::vector<char> buffer(64 * 1024);
        for (;;) {
            ssize_t n = read(from, buffer.data(), buffer.size());
            if (n > 0) seen();
            Block b{std::chrono::steady_clock::now() + delay, std::string()};
            if (n > 0) b.bytes.assign(buffer.data(), static_cast<size_t>(n));
            {
                std::lock_guard<std::mutex> lock(line.mutex);
                line.blocks.push_back(std::move(b));
            }
            line.ready.notify_one();
            if (n <= 0) return;
        }
    }

    // delivered runs for every block passed on.
    template <class Delivered> static void writeFrom(int to, Line& line, Delivered delivered) {
        for (;;) {
            Block b;
            {
                std::unique_lock<std::mutex> lock(line.mutex);
                line.ready.wait(lock, [&] { return !line.blocks.empty(); });
                b = std::move(line.blocks.front());
                line.blocks.pop_front();
            }
            std::this_thread::sleep_until(b.due);
            if (b.bytes.empty()) {
                shutdown(to, SHUT_WR);
                return;
            }
            for (size_t done = 0; done < b.bytes.size();) {
                ssize_t n = send(to, b.bytes.data() + done, b.bytes.size() - done, MSG_NOSIGNAL);
                if (n <= 0) return;
                done += static_cast<size_t>(n);
            }
            delivered();
        }
    }

    std::string host;
    int targetPort;
    std::chrono::milliseconds delay;
    int listener = -1;
    int listenPort = 0;
    std::atomic<bool> stopping{false};
    std::atomic<long> turns{0};
    std::thread acceptor;
    std::mutex mutex;
    std::vector<int> sockets;
    std::vector<std::thread> pipes;
};

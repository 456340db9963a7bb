#include "tcpproxy.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace {

struct Pair {
    int client;
    int server;
    bool answered = true;  // the server's bytes came last: the client's next ones start a round trip
};

int connectUnix(const std::string& path) {
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return fd;
    if (fd >= 0) close(fd);
    return -1;
}

bool writeAll(int fd, const char* data, size_t n) {
    while (n > 0) {
        ssize_t w = write(fd, data, n);
        if (w <= 0) return false;
        data += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

}  // namespace

kx6TcpProxy::kx6TcpProxy(std::string path) : target(std::move(path)) {
    listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 && listen(listener, 16) == 0 &&
        getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        listenPort = ntohs(addr.sin_port);
    if (pipe(wake) != 0) wake[0] = wake[1] = -1;
    worker = std::thread([this] { loop(); });
}

kx6TcpProxy::~kx6TcpProxy() {
    stopping = true;
    if (wake[1] >= 0 && write(wake[1], "x", 1) < 0) {
    }
    worker.join();
    for (int fd : {listener, wake[0], wake[1]})
        if (fd >= 0) close(fd);
}

void kx6TcpProxy::cutAfter(const std::string& text, bool refuseLater) {
    std::lock_guard<std::mutex> lock(mutex);
    refuseAfterCut = refuseLater;
    cutText = text;
}

void kx6TcpProxy::loop() {
    std::vector<Pair> pairs;
    std::vector<int> held;  // accepted while frozen: never answered
    char buffer[65536];
    while (!stopping) {
        std::vector<pollfd> fds{{listener, POLLIN, 0}, {wake[0], POLLIN, 0}};
        // Only the pairs polled now are served in this pass: one accepted
        // below has no entry in fds yet.
        const size_t polled = frozen ? 0 : pairs.size();
        for (size_t i = 0; i < polled; ++i) {
            fds.push_back({pairs[i].client, static_cast<short>(deaf ? 0 : POLLIN), 0});
            fds.push_back({pairs[i].server, POLLIN, 0});
        }
        if (poll(fds.data(), fds.size(), 50) < 0) break;
        if (fds[0].revents & POLLIN) {
            int client = accept(listener, nullptr, nullptr);
            if (client >= 0 && cutDone && refuseAfterCut) {
                close(client);
            } else if (client >= 0) {
                int server = frozen ? -1 : connectUnix(target);
                if (server >= 0)
                    pairs.push_back({client, server, true});
                else
                    held.push_back(client);
            }
        }
        if (frozen) continue;
        std::string text, freezing;
        {
            std::lock_guard<std::mutex> lock(mutex);
            text = cutText;
            freezing = freezeText;
        }
        std::vector<Pair> kept;
        for (size_t i = 0; i < polled; ++i) {
            Pair& p = pairs[i];
            bool alive = true;
            for (int side = 0; side < 2 && alive; ++side) {
                const pollfd& f = fds[2 + 2 * i + side];
                if (!(f.revents & (POLLIN | POLLHUP | POLLERR))) continue;
                ssize_t n = read(f.fd, buffer, sizeof buffer);
                int to = side == 0 ? p.server : p.client;
                alive = n > 0 && writeAll(to, buffer, static_cast<size_t>(n));
                if (alive && side == 0 && p.answered) ++turns;
                if (alive) p.answered = side == 1;
                if (alive && side == 0 && !freezing.empty() &&
                    std::string(buffer, static_cast<size_t>(n)).find(freezing) != std::string::npos)
                    frozen = true;
                if (alive && side == 0 && !text.empty() &&
                    std::string(buffer, static_cast<size_t>(n)).find(text) != std::string::npos) {
                    alive = false;
                    cutDone = true;
                    std::lock_guard<std::mutex> lock(mutex);
                    cutText.clear();
                }
            }
            if (alive) {
                kept.push_back(p);
            } else {
                close(p.client);
                close(p.server);
            }
        }
        kept.insert(kept.end(), pairs.begin() + static_cast<std::ptrdiff_t>(polled), pairs.end());
        pairs = kept;
    }
    for (const Pair& p : pairs) {
        close(p.client);
        close(p.server);
    }
    for (int fd : held) close(fd);
}

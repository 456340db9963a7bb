// A TCP proxy for tests of connection faults: it listens on 127.0.0.1 and
// forwards every accepted connection to a Unix socket (the PostgreSQL test
// server's), until told to cut or freeze. It needs no test framework.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

class kx6TcpProxy {
public:
    // Forwards to the Unix socket at path; the listening port is free and
    // chosen by the system.
    explicit kx6TcpProxy(std::string path);
    kx6TcpProxy(const kx6TcpProxy&) = delete;
    kx6TcpProxy& operator=(const kx6TcpProxy&) = delete;
    // Closes every connection.
    ~kx6TcpProxy();

    int port() const { return listenPort; }
    // After the client has sent a message holding text, that message is
    // forwarded, and the connection is then closed on both sides: the
    // server gets the message, the client never gets its answer. With
    // refuseLater every later connection is closed as soon as it comes.
    void cutAfter(const std::string& text, bool refuseLater = false);
    // Nothing more is forwarded either way; connections stay open, new
    // ones are accepted and get no answer. A server that stopped answering.
    void freeze() { frozen = true; }
    // The client's bytes are no longer read, the server's still pass: the
    // client's sends fill the socket buffers and then wait, as towards a
    // server that stopped reading.
    void stopReading() { deaf = true; }
    // Freezes once the client has sent a message holding text (forwarded).
    void freezeAfter(const std::string& text) {
        std::lock_guard<std::mutex> lock(mutex);
        freezeText = text;
    }
    // Whether a cut happened.
    bool cut() const { return cutDone; }
    // Round trips so far: the times a client sent after its server's last
    // bytes reached it (its first message included).
    long roundTrips() const { return turns; }

private:
    void loop();

    std::string target;
    int listener = -1;
    int listenPort = 0;
    int wake[2] = {-1, -1};
    std::atomic<bool> frozen{false};
    std::atomic<bool> deaf{false};
    std::atomic<bool> stopping{false};
    std::atomic<bool> cutDone{false};
    std::atomic<bool> refuseAfterCut{false};
    std::atomic<long> turns{0};
    std::mutex mutex;
    std::string cutText;
    std::string freezeText;
    std::thread worker;
};

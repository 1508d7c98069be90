#pragma once
// A small HTTP server for the update tests, on 127.0.0.1 and an ephemeral
// port, serving one connection at a time from its own thread. It records
// every request (request line and header lines) and answers each one the
// way the test asked: a page with any status, a connection closed without an
// answer, an answer that never comes, a body that never ends, or part of a
// body followed by silence. Every wait is bounded, so a test can never hang.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace galmora::testing {

class LocalHttpServer {
  public:
    enum class Behaviour {
        Answer,          // status line, Content-Length, body
        CloseAtOnce,     // read the request, close without a byte
        NeverAnswer,     // read the request, then keep silent
        EndlessBody,     // headers without Content-Length, then body forever
        PartThenSilent,  // headers with Content-Length, half the body, silence
        PartThenClose,   // headers with Content-Length, half the body, close
    };
    struct Response {
        Behaviour behaviour = Behaviour::Answer;
        int status = 200;
        std::string body;
    };
    struct Request {
        std::string request_line;
        std::vector<std::string> headers;
        bool has_header(std::string_view line) const {
            for (const auto& h : headers)
                if (h == line) return true;
            return false;
        }
    };

    // The longest the server keeps a silent or endless connection open.
    static constexpr std::chrono::seconds kHoldLimit{8};

    // Requests are answered in order from responses; the last one repeats.
    explicit LocalHttpServer(std::vector<Response> responses) : responses_(std::move(responses)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        socklen_t length = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(listener_, 8) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    explicit LocalHttpServer(Response response)
        : LocalHttpServer(std::vector<Response>{std::move(response)}) {}

    ~LocalHttpServer() {
        stopping_ = true;
        if (thread_.joinable()) thread_.join();
        ::close(listener_);
    }

    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    std::string url(std::string_view path = "/") const {
        return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
    }
    int request_count() const { return request_count_; }
    std::vector<Request> requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

  private:
    using Clock = std::chrono::steady_clock;

    bool wait_readable(int fd, int milliseconds) const {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, milliseconds) > 0;
    }

    void serve() {
        while (!stopping_) {
            if (!wait_readable(listener_, 20)) continue;
            int client = ::accept(listener_, nullptr, nullptr);
            if (client < 0) continue;
            // A client that stops reading must not block the server for good.
            timeval send_limit{1, 0};
            ::setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, &send_limit, sizeof send_limit);
            handle(client);
            ::close(client);
        }
    }

    void handle(int client) {
        std::string head;
        if (!read_head(client, head)) return;
        Response response;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(parse(head));
            std::size_t index = std::min(requests_.size(), responses_.size()) - 1;
            response = responses_.empty() ? Response{} : responses_[index];
        }
        ++request_count_;
        answer(client, response);
    }

    bool read_head(int client, std::string& head) {
        const auto deadline = Clock::now() + std::chrono::seconds(2);
        char buffer[4096];
        while (head.find("\r\n\r\n") == std::string::npos) {
            if (Clock::now() > deadline || stopping_) return false;
            if (!wait_readable(client, 20)) continue;
            ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) return false;
            head.append(buffer, std::size_t(n));
        }
        return true;
    }

    static Request parse(const std::string& head) {
        Request request;
        std::size_t start = 0;
        while (true) {
            std::size_t end = head.find("\r\n", start);
            if (end == std::string::npos || end == start) break;
            std::string line = head.substr(start, end - start);
            if (request.request_line.empty())
                request.request_line = line;
            else
                request.headers.push_back(line);
            start = end + 2;
        }
        return request;
    }

    bool send_all(int client, std::string_view data) {
        while (!data.empty()) {
            ssize_t n = ::send(client, data.data(), data.size(), MSG_NOSIGNAL);
            if (n <= 0) return false;
            data.remove_prefix(std::size_t(n));
        }
        return true;
    }

    // Waits until the client hangs up, the server stops or the hold ends.
    void stay_silent(int client) {
        const auto deadline = Clock::now() + kHoldLimit;
        char buffer[256];
        while (!stopping_ && Clock::now() < deadline) {
            if (wait_readable(client, 20) && ::recv(client, buffer, sizeof buffer, 0) <= 0) return;
        }
    }

    void answer(int client, const Response& r) {
        const std::string status = "HTTP/1.0 " + std::to_string(r.status) + " Status\r\n";
        const std::string sized =
            status + "Content-Type: text/html\r\nContent-Length: " + std::to_string(r.body.size()) +
            "\r\n\r\n";
        switch (r.behaviour) {
            case Behaviour::Answer:
                send_all(client, sized + r.body);
                return;
            case Behaviour::CloseAtOnce:
                return;
            case Behaviour::NeverAnswer:
                stay_silent(client);
                return;
            case Behaviour::EndlessBody:
                send_endless(client, status + "Content-Type: text/html\r\n\r\n", r.body);
                return;
            case Behaviour::PartThenSilent:
                if (send_all(client, sized + r.body.substr(0, r.body.size() / 2)))
                    stay_silent(client);
                return;
            case Behaviour::PartThenClose:
                send_all(client, sized + r.body.substr(0, r.body.size() / 2));
                return;
        }
    }

    void send_endless(int client, const std::string& head, const std::string& piece) {
        const auto deadline = Clock::now() + kHoldLimit;
        std::string chunk;
        while (chunk.size() < 65536) chunk += piece.empty() ? std::string("x") : piece;
        if (!send_all(client, head)) return;
        while (!stopping_ && Clock::now() < deadline && send_all(client, chunk)) {
        }
    }

    std::vector<Response> responses_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> request_count_{0};
    mutable std::mutex mutex_;
    std::vector<Request> requests_;
};

// An address where nothing listens: connecting to it is refused.
inline std::string refused_url() {
    int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(probe, reinterpret_cast<sockaddr*>(&address), length);
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(probe);
    return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/";
}

}  // namespace galmora::testing

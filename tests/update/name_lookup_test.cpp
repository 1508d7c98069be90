// The limits of every request bound the name look-up too: a name server
// that never answers must not hold a request beyond them. The name server is
// a UDP socket on 127.0.0.1:53 that reads nothing and answers nothing, inside
// private network and mount namespaces of a child process, where
// /etc/resolv.conf names it.

#include <fcntl.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "tests/support/child_run.h"
#include "tests/support/temp_dir.h"
#include "update/network.h"

namespace galmora {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// What the child reports through a pipe.
struct Outcome {
    char unavailable[160] = {};  // why the silent name server could not be set up
    long get_ms = 0;
    bool got_body = false;
    long probe_ms = 0;
    bool connected = false;
    int queries = 0;
};

const NetworkLimits kLimits{1000ms, 2000ms, kMaxBodyBytes};

bool write_file(const char* path, const std::string& text) {
    std::ofstream out(path);
    out << text;
    return bool(out.flush());
}

bool loopback_up() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool up = fd >= 0 && ::ioctl(fd, SIOCGIFFLAGS, &request) == 0;
    request.ifr_flags |= IFF_UP;
    up = up && ::ioctl(fd, SIOCSIFFLAGS, &request) == 0;
    if (fd >= 0) ::close(fd);
    return up;
}

// The silent name server; -1 when the port cannot be had.
int silent_name_server() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(53);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return -1;
    return fd;
}

std::string set_up_silent_resolver(const std::string& folder, int& name_server) {
    // Nothing mounted or bound here may reach the rest of the system.
    if (!testing::enter_own_namespaces(CLONE_NEWNS | CLONE_NEWNET))
        return std::string("no private mount and network namespaces: ") + std::strerror(errno);
    if (!loopback_up()) return "the loopback interface cannot be brought up";
    // Long enough that only the limits can end the look-up early.
    const std::string resolv_conf = folder + "/resolv.conf";
    if (!write_file(resolv_conf.c_str(), "nameserver 127.0.0.1\noptions timeout:10 attempts:1\n") ||
        ::mount(resolv_conf.c_str(), "/etc/resolv.conf", nullptr, MS_BIND, nullptr) != 0)
        return "/etc/resolv.conf cannot be replaced in the mount namespace";
    name_server = silent_name_server();
    return name_server < 0 ? "port 53 of the private loopback cannot be bound" : "";
}

long milliseconds_since(Clock::time_point start) {
    return long(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

int pending_datagrams(int fd) {
    char buffer[512];
    int count = 0;
    while (::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT) >= 0) ++count;
    return count;
}

Outcome look_up_against_silent_name_server(const std::string& folder) {
    Outcome outcome;
    int name_server = -1;
    if (std::string failed = set_up_silent_resolver(folder, name_server); !failed.empty()) {
        std::snprintf(outcome.unavailable, sizeof outcome.unavailable, "%s", failed.c_str());
        return outcome;
    }
    auto start = Clock::now();
    outcome.got_body =
        !http_get("http://version.galmora.test/ver/pixvanever.html", kLimits).empty();
    outcome.get_ms = milliseconds_since(start);
    start = Clock::now();
    outcome.connected =
        is_network_connected({"http://probe.galmora.test/", [] { return true; }, kLimits});
    outcome.probe_ms = milliseconds_since(start);
    outcome.queries = pending_datagrams(name_server);
    return outcome;
}

// Runs the look-ups in a child process, which alone enters the namespaces.
// The child's look-up threads may still wait for the name server when it
// ends; they end with it.
bool run_in_child(const std::string& folder, Outcome& outcome) {
    int channel[2];
    if (::pipe(channel) != 0) return false;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const Outcome result = look_up_against_silent_name_server(folder);
        const ssize_t written = ::write(channel[1], &result, sizeof result);
        ::_exit(written == ssize_t(sizeof result) ? 0 : 1);
    }
    ::close(channel[1]);
    pollfd ready{channel[0], POLLIN, 0};
    const bool answered = child > 0 && ::poll(&ready, 1, 60'000) > 0 &&
                          ::read(channel[0], &outcome, sizeof outcome) == ssize_t(sizeof outcome);
    ::close(channel[0]);
    if (child > 0) {
        if (!answered) ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
    return answered;
}

TEST(NameLookUp, ASilentNameServerHoldsNoRequestBeyondTheLimits) {
    testing::TempDir folder;
    Outcome outcome;
    ASSERT_TRUE(run_in_child(folder.path(), outcome)) << "the child gave no report within 60 s";
    if (outcome.unavailable[0] != '\0')
        GTEST_SKIP() << "no silent name server can be set up here: " << outcome.unavailable;
    if (outcome.queries == 0)
        GTEST_SKIP() << "the system resolver asked no name server (see /etc/nsswitch.conf)";
    // Each look-up would wait 10 s for the silent name server; the limits end
    // it after the connect time-out, with a margin for a slow machine.
    const long bound = long(kLimits.total_timeout.count()) + 2000;
    EXPECT_FALSE(outcome.got_body);
    EXPECT_LT(outcome.get_ms, bound);
    EXPECT_GE(outcome.get_ms, long(kLimits.connect_timeout.count()) - 100);
    EXPECT_FALSE(outcome.connected);
    EXPECT_LT(outcome.probe_ms, bound);
}

}  // namespace
}  // namespace galmora

#pragma once
// The two network operations of the update check: a connectivity test and
// one HTTP/1.0 GET of a page. Every request is bounded by a connect time-out,
// a total time-out and a body cap, so that a silent or endless server, or a
// silent name server, can never freeze the window for good or exhaust memory.

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/text.h"

namespace galmora {

// Covers the name look-up and connecting.
inline constexpr std::chrono::milliseconds kConnectTimeout{10'000};
// Covers the whole request: connecting, waiting for the answer and reading it.
inline constexpr std::chrono::milliseconds kTotalTimeout{20'000};
// A larger body is cut here (10 MiB).
inline constexpr std::size_t kMaxBodyBytes = 10 * 1024 * 1024;
// A well-known public site that is always up; only its home page is fetched,
// to tell whether the Internet is reachable at all.
inline constexpr std::string_view kProbeSite = "https://www.baidu.com/";

struct NetworkLimits {
    std::chrono::milliseconds connect_timeout = kConnectTimeout;
    std::chrono::milliseconds total_timeout = kTotalTimeout;
    std::size_t max_body_bytes = kMaxBodyBytes;
};

// One GET with HTTP/1.0, the browser-like user agent, "Accept: */*", no proxy
// and no cache. The status is not examined: whatever body arrives is returned.
// Empty when the request fails or times out (a time-out is no answer, even if
// part of the body had arrived); when the connection breaks midway or the
// body reaches the cap, the bytes read so far (at most the cap).
Bytes http_get(std::string_view url, const NetworkLimits& limits = {});

// True when the system has a default route (IPv4 or IPv6) that is up.
bool system_reports_connection();
// The same decision over the texts of /proc/net/route and /proc/net/ipv6_route.
bool routes_have_default(std::string_view ipv4_routes, std::string_view ipv6_routes);

struct NetworkSettings {
    std::string probe_url{kProbeSite};
    // Whether the system reports an active connection; replaceable in tests.
    std::function<bool()> system_online = system_reports_connection;
    NetworkLimits limits;
};

// True only when the system reports a connection and the probe site's home
// page answers a fresh GET (user agent "test", the environment's proxy
// settings).
bool is_network_connected(const NetworkSettings& settings = {});

}  // namespace galmora

#include "update/network.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <sstream>
#include <vector>

namespace galmora {

namespace {

constexpr const char* kBrowserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr const char* kProbeAgent = "test";

// Route flags of the kernel's routing tables.
constexpr unsigned long kRouteUp = 0x0001;
constexpr unsigned long kRouteReject = 0x0200;

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

EasyHandle open_handle() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    if (!ready) return nullptr;
    return EasyHandle(curl_easy_init());
}

// Always fetched from the server, never answered from a cache on the way.
HeaderList fresh_fetch_headers() {
    curl_slist* list = nullptr;
    for (const char* header : {"Accept: */*", "Pragma: no-cache", "Cache-Control: no-cache"}) {
        curl_slist* grown = curl_slist_append(list, header);
        if (!grown) {
            curl_slist_free_all(list);
            return nullptr;
        }
        list = grown;
    }
    return HeaderList(list);
}

// Options every request shares: the URL, http and https only, no redirects
// followed, no signals (time-outs must work off the main thread too) and the
// limits, which bound the name look-up as well.
bool set_common_options(CURL* handle, std::string_view url, const NetworkLimits& limits,
                        curl_slist* headers) {
    const std::string address(url);
    bool ok = curl_easy_setopt(handle, CURLOPT_URL, address.c_str()) == CURLE_OK;
    ok = ok && curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
    curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, long(limits.connect_timeout.count()));
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, long(limits.total_timeout.count()));
    // The name look-up counts against both limits, but with the threaded
    // resolver a look-up that outlasts them is still waited for when the
    // request ends, until the system resolver gives up on a silent name
    // server. Leave that thread to finish on its own instead.
    curl_easy_setopt(handle, CURLOPT_QUICK_EXIT, 1L);
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
    return ok;
}

struct BodySink {
    Bytes body;
    std::size_t cap = 0;
};

// Keeps at most the cap; reaching it ends the transfer.
size_t keep_body(char* data, size_t size, size_t count, void* user) {
    auto* sink = static_cast<BodySink*>(user);
    const size_t length = size * count;
    const size_t room = sink->cap - std::min(sink->cap, sink->body.size());
    sink->body.insert(sink->body.end(), data, data + std::min(length, room));
    return length <= room ? length : 0;
}

// The probe needs only to know that the page answers, not its content.
size_t stop_at_body(char*, size_t, size_t, void*) {
    return 0;
}

bool has_default_route(std::string_view table, bool ipv6) {
    std::istringstream lines{std::string(table)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::vector<std::string> f{std::istream_iterator<std::string>(fields), {}};
        std::string destination, iface, flags_hex;
        if (ipv6 && f.size() >= 10) {
            if (f[1] != "00") continue;
            destination = f[0], flags_hex = f[8], iface = f[9];
        } else if (!ipv6 && f.size() >= 4) {
            destination = f[1], flags_hex = f[3], iface = f[0];
        } else {
            continue;
        }
        if (destination.empty() || destination.find_first_not_of('0') != std::string::npos ||
            iface == "lo")
            continue;
        const unsigned long flags = std::strtoul(flags_hex.c_str(), nullptr, 16);
        if ((flags & kRouteUp) && !(flags & kRouteReject)) return true;
    }
    return false;
}

std::string read_all(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

Bytes http_get(std::string_view url, const NetworkLimits& limits) {
    if (url.empty()) return {};
    EasyHandle handle = open_handle();
    HeaderList headers = fresh_fetch_headers();
    if (!handle || !headers) return {};
    CURL* h = handle.get();
    if (!set_common_options(h, url, limits, headers.get())) return {};
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(h, CURLOPT_USERAGENT, kBrowserAgent);
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    curl_easy_setopt(h, CURLOPT_NOPROXY, "*");
    BodySink sink;
    sink.cap = limits.max_body_bytes;
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, keep_body);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);
    // A time-out is no answer: a page cut short by it is not shown.
    if (curl_easy_perform(h) == CURLE_OPERATION_TIMEDOUT) return {};
    return std::move(sink.body);
}

bool routes_have_default(std::string_view ipv4_routes, std::string_view ipv6_routes) {
    return has_default_route(ipv4_routes, false) || has_default_route(ipv6_routes, true);
}

bool system_reports_connection() {
    return routes_have_default(read_all("/proc/net/route"), read_all("/proc/net/ipv6_route"));
}

bool is_network_connected(const NetworkSettings& settings) {
    if (settings.system_online && !settings.system_online()) return false;
    if (settings.probe_url.empty()) return false;
    EasyHandle handle = open_handle();
    HeaderList headers = fresh_fetch_headers();
    if (!handle || !headers) return false;
    CURL* h = handle.get();
    // No proxy option is set, so the environment's proxy settings apply.
    if (!set_common_options(h, settings.probe_url, settings.limits, headers.get())) return false;
    curl_easy_setopt(h, CURLOPT_USERAGENT, kProbeAgent);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, stop_at_body);
    curl_easy_perform(h);
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    // An error status here usually comes from a proxy that cannot reach out.
    return status >= 200 && status < 400;
}

}  // namespace galmora

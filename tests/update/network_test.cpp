#include "update/network.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "tests/update/local_http_server.h"

namespace galmora {
namespace {

using testing::LocalHttpServer;
using Behaviour = LocalHttpServer::Behaviour;
using namespace std::chrono_literals;

// Short limits so that silent servers end a test quickly.
NetworkLimits short_limits() {
    return {500ms, 1000ms, kMaxBodyBytes};
}

std::string as_string(const Bytes& bytes) {
    return {bytes.begin(), bytes.end()};
}

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnvironment() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

template <typename F>
std::chrono::milliseconds time_of(F&& f) {
    auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start);
}

TEST(HttpGet, SendsOneOldStyleUncachedGetAndReturnsTheBody) {
    LocalHttpServer server({Behaviour::Answer, 200, "<html>page</html>"});
    EXPECT_EQ(as_string(http_get(server.url("/ver/x.html"))), "<html>page</html>");
    ASSERT_EQ(server.request_count(), 1);
    const auto request = server.requests()[0];
    EXPECT_EQ(request.request_line, "GET /ver/x.html HTTP/1.0");
    EXPECT_TRUE(
        request.has_header("User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)"));
    EXPECT_TRUE(request.has_header("Accept: */*"));
    EXPECT_TRUE(request.has_header("Pragma: no-cache"));
}

TEST(HttpGet, ReturnsTheBodyWhateverTheStatus) {
    LocalHttpServer server({Behaviour::Answer, 404, "not here"});
    EXPECT_EQ(as_string(http_get(server.url())), "not here");
}

TEST(HttpGet, KeepsZeroBytes) {
    LocalHttpServer server({Behaviour::Answer, 200, std::string("a\0b", 3)});
    EXPECT_EQ(as_string(http_get(server.url())), std::string("a\0b", 3));
}

TEST(HttpGet, FailuresGiveTheEmptyBody) {
    EXPECT_TRUE(http_get("").empty());
    EXPECT_TRUE(http_get(testing::refused_url(), short_limits()).empty());
    EXPECT_TRUE(http_get("file:///etc/passwd").empty());
    LocalHttpServer closing({Behaviour::CloseAtOnce, 200, ""});
    EXPECT_TRUE(http_get(closing.url(), short_limits()).empty());
}

TEST(HttpGet, IgnoresTheEnvironmentsProxy) {
    ScopedEnvironment proxy("http_proxy", testing::refused_url().c_str());
    ScopedEnvironment no_proxy("no_proxy", nullptr);
    ScopedEnvironment no_proxy_upper("NO_PROXY", nullptr);
    LocalHttpServer server({Behaviour::Answer, 200, "direct"});
    EXPECT_EQ(as_string(http_get(server.url(), short_limits())), "direct");
}

TEST(HttpGet, ASilentServerTimesOutWithNoAnswer) {
    LocalHttpServer server({Behaviour::NeverAnswer, 200, ""});
    Bytes body;
    auto took = time_of([&] { body = http_get(server.url(), short_limits()); });
    EXPECT_TRUE(body.empty());
    EXPECT_LT(took, LocalHttpServer::kHoldLimit);
}

TEST(HttpGet, APageCutShortByTheTimeOutIsNoAnswer) {
    LocalHttpServer server({Behaviour::PartThenSilent, 200, "Tovenic version page body"});
    EXPECT_TRUE(http_get(server.url(), short_limits()).empty());
}

TEST(HttpGet, AConnectionLostMidwayKeepsTheBytesReadSoFar) {
    LocalHttpServer server({Behaviour::PartThenClose, 200, "0123456789"});
    EXPECT_EQ(as_string(http_get(server.url(), short_limits())), "01234");
}

TEST(HttpGet, AnEndlessBodyStopsAtTheCap) {
    LocalHttpServer server({Behaviour::EndlessBody, 200, "endless "});
    const Bytes body = http_get(server.url());
    EXPECT_EQ(body.size(), kMaxBodyBytes);
    EXPECT_GE(kMaxBodyBytes, 10u * 1000 * 1000);
    EXPECT_EQ(as_string(Bytes(body.begin(), body.begin() + 16)), "endless endless ");
}

NetworkSettings probe_settings(const std::string& probe_url, bool online = true) {
    return {probe_url, [online] { return online; }, short_limits()};
}

TEST(IsNetworkConnected, AsksTheProbeSiteForAFreshHomePage) {
    LocalHttpServer probe({Behaviour::Answer, 200, "home"});
    EXPECT_TRUE(is_network_connected(probe_settings(probe.url())));
    ASSERT_EQ(probe.request_count(), 1);
    const auto request = probe.requests()[0];
    EXPECT_EQ(request.request_line.substr(0, 6), "GET / ");
    EXPECT_TRUE(request.has_header("User-Agent: test"));
    EXPECT_TRUE(request.has_header("Pragma: no-cache"));
}

TEST(IsNetworkConnected, FalseWhenTheSystemReportsNoConnection) {
    LocalHttpServer probe({Behaviour::Answer, 200, "home"});
    EXPECT_FALSE(is_network_connected(probe_settings(probe.url(), false)));
    EXPECT_EQ(probe.request_count(), 0);
}

TEST(IsNetworkConnected, FalseWhenTheProbeDoesNotAnswer) {
    EXPECT_FALSE(is_network_connected(probe_settings(testing::refused_url())));
    LocalHttpServer silent({Behaviour::NeverAnswer, 200, ""});
    auto took = time_of([&] { EXPECT_FALSE(is_network_connected(probe_settings(silent.url()))); });
    EXPECT_LT(took, LocalHttpServer::kHoldLimit);
    // A proxy that cannot reach out answers with an error status.
    LocalHttpServer failing({Behaviour::Answer, 502, "bad gateway"});
    EXPECT_FALSE(is_network_connected(probe_settings(failing.url())));
}

TEST(IsNetworkConnected, GoesThroughTheEnvironmentsProxy) {
    LocalHttpServer proxy({Behaviour::Answer, 200, "via proxy"});
    ScopedEnvironment http_proxy("http_proxy", proxy.url().c_str());
    ScopedEnvironment no_proxy("no_proxy", nullptr);
    ScopedEnvironment no_proxy_upper("NO_PROXY", nullptr);
    EXPECT_TRUE(is_network_connected(probe_settings("http://probe.invalid/")));
    ASSERT_EQ(proxy.request_count(), 1);
    EXPECT_EQ(proxy.requests()[0].request_line.substr(0, 25), "GET http://probe.invalid/");
}

TEST(RoutesHaveDefault, NeedsADefaultRouteThatIsUp) {
    const std::string header =
        "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
    const std::string local_only =
        header + "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n";
    const std::string with_default =
        local_only + "eth0\t00000000\t010200C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n";
    const std::string default_down =
        local_only + "eth0\t00000000\t010200C0\t0002\t0\t0\t0\t00000000\t0\t0\t0\n";
    EXPECT_TRUE(routes_have_default(with_default, ""));
    EXPECT_FALSE(routes_have_default(local_only, ""));
    EXPECT_FALSE(routes_have_default(default_down, ""));
    EXPECT_FALSE(routes_have_default("", ""));

    const std::string zeros(32, '0');
    const std::string v6_reject =
        zeros + " 00 " + zeros + " 00 " + zeros + " ffffffff 00000001 00000000 00200200       lo\n";
    const std::string v6_default = zeros + " 00 " + zeros + " 00 fe800000000000000000000000000001" +
                                   " 00000400 00000001 00000000 00450003     eth0\n";
    EXPECT_FALSE(routes_have_default(local_only, v6_reject));
    EXPECT_TRUE(routes_have_default(local_only, v6_reject + v6_default));
}

}  // namespace
}  // namespace galmora

#include "update/update_checker.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "tests/update/local_http_server.h"
#include "tests/update/local_update_settings.h"

namespace galmora {
namespace {

using namespace galmora::literals;
using namespace std::chrono_literals;
using testing::LocalHttpServer;
using Behaviour = LocalHttpServer::Behaviour;

const std::string kVersionRequest = "GET /ver/pixvanever.html HTTP/1.0";

LocalHttpServer::Response page(const Text& body, int status = 200) {
    return {Behaviour::Answer, status, body};
}

class UpdateCommandTest : public ::testing::Test {
  protected:
    UpdateSettings settings_for(const LocalHttpServer& maker, bool online = true) {
        return testing::local_update_settings(maker, probe_, online);
    }
    // The panel text of a check, which is all a check with network returns.
    Text check(const UpdateSettings& settings) {
        const UpdateOutcome outcome = UpdateChecker(settings).check_for_update();
        EXPECT_FALSE(outcome.notice);
        EXPECT_FALSE(outcome.web_page);
        return outcome.panel_text.value_or("(no panel text)");
    }
    Text check(const LocalHttpServer& maker) { return check(settings_for(maker)); }
    static void expect_no_network_notice_alone(const UpdateOutcome& outcome) {
        EXPECT_EQ(outcome.notice, "未检测到网络，无法检测更新"_t);
        EXPECT_FALSE(outcome.panel_text);
        EXPECT_FALSE(outcome.web_page);
    }

    LocalHttpServer probe_{page("home")};
    const Text version_line_ = "当前版本为：1.0\r\n"_t;
    const Text no_answer_ = "暂时无法连接服务器，请过段时间再试"_t;
};

using CheckForUpdate = UpdateCommandTest;

TEST_F(CheckForUpdate, MarkerFoundShowsTheSecondAnswerUnderTheVersionLine) {
    const Text first = "<p>Tovenic</p>"_t;
    const Text second = "<html>\r\n  最新版本：1.1  作者 Tovenic\r\n</html>\r\n"_t;
    LocalHttpServer maker({page(first), page(second)});
    EXPECT_EQ(check(maker), version_line_ + second);
    ASSERT_EQ(maker.request_count(), 2);
    for (const auto& request : maker.requests()) {
        EXPECT_EQ(request.request_line, kVersionRequest);
        EXPECT_TRUE(
            request.has_header("User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)"));
        EXPECT_TRUE(request.has_header("Accept: */*"));
    }
    EXPECT_EQ(probe_.request_count(), 1);
}

TEST_F(CheckForUpdate, APageWithoutTheMarkerIsNoAnswer) {
    LocalHttpServer maker(page("<html>maintenance</html>"));
    EXPECT_EQ(check(maker), no_answer_);
    EXPECT_EQ(maker.request_count(), 1);
}

TEST_F(CheckForUpdate, TheTextEndsAtTheFirstZeroByte) {
    LocalHttpServer hidden(page(std::string("version\0Tovenic", 15)));
    EXPECT_EQ(check(hidden), no_answer_);
    EXPECT_EQ(hidden.request_count(), 1);

    LocalHttpServer shown(page(std::string("Tovenic 1.1\0trailer", 19)));
    EXPECT_EQ(check(shown), version_line_ + "Tovenic 1.1");
}

TEST_F(CheckForUpdate, AnErrorPageWithTheMarkerIsShownLikeAVersionPage) {
    const Text body = "<h1>404 Not Found</h1> Tovenic"_t;
    LocalHttpServer maker(page(body, 404));
    EXPECT_EQ(check(maker), version_line_ + body);
    EXPECT_EQ(maker.request_count(), 2);
}

TEST_F(CheckForUpdate, ASecondFetchThatFailsLeavesOnlyTheVersionLine) {
    LocalHttpServer maker({page("Tovenic"), {Behaviour::CloseAtOnce, 200, ""}});
    EXPECT_EQ(check(maker), version_line_);
}

TEST_F(CheckForUpdate, AServerThatNeverAnswersEndsInTheNoAnswerTextWithinTheTimeOut) {
    LocalHttpServer maker({Behaviour::NeverAnswer, 200, ""});
    const auto start = std::chrono::steady_clock::now();
    const Text shown = check(maker);
    EXPECT_LT(std::chrono::steady_clock::now() - start, LocalHttpServer::kHoldLimit);
    EXPECT_EQ(shown, no_answer_);
    EXPECT_EQ(maker.request_count(), 1);
}

TEST_F(CheckForUpdate, APageCutShortByTheTimeOutIsNoAnswer) {
    LocalHttpServer maker({Behaviour::PartThenSilent, 200, "Tovenic 1.1 ........"});
    EXPECT_EQ(check(maker), no_answer_);
}

TEST_F(CheckForUpdate, AnEndlessPageIsCutAtTheCap) {
    LocalHttpServer maker({Behaviour::EndlessBody, 200, "Tovenic "});
    UpdateSettings settings = settings_for(maker);
    settings.network.limits.max_body_bytes = 50'000;
    const Text shown = check(settings);
    EXPECT_EQ(shown.size(), version_line_.size() + 50'000);
    EXPECT_EQ(shown.substr(0, version_line_.size() + 8), version_line_ + "Tovenic ");
    EXPECT_EQ(maker.request_count(), 2);
}

TEST_F(CheckForUpdate, AVeryLongPageIsCutOnACharacterBoundaryAndSaysSo) {
    // Seven bytes and then two-byte characters: the cut falls inside one.
    Text body = "Tovenic"_t;
    while (body.size() <= kShownPageBytes + 10) body += "版本"_t;
    LocalHttpServer maker(page(body));
    Text shown = check(maker);
    const Text kept = body.substr(0, kShownPageBytes - 1);
    const Text note = "\r\n\r\n（版本页面过长：共 "_t + to_text(int(body.size())) +
                      " 字节，只显示了前 65535 字节）"_t;
    // Compared as a whole, but never printed: it is 64 KiB long.
    EXPECT_TRUE(shown == version_line_ + kept + note) << utf8_string(right_text(shown, 80));

    const Text fitting = "Tovenic "_t + Text(kShownPageBytes - 8, 'x');
    LocalHttpServer short_enough(page(fitting));
    shown = check(short_enough);
    EXPECT_TRUE(shown == version_line_ + fitting) << utf8_string(right_text(shown, 80));
}

TEST_F(CheckForUpdate, WithoutNetworkOnlyTheNoticeComesBackAndNothingIsFetched) {
    LocalHttpServer maker(page("Tovenic"));
    bool before_fetch_ran = false;
    expect_no_network_notice_alone(UpdateChecker(settings_for(maker, false)).check_for_update([&] {
        before_fetch_ran = true;
    }));
    EXPECT_FALSE(before_fetch_ran);
    EXPECT_EQ(maker.request_count(), 0);
    EXPECT_EQ(probe_.request_count(), 0);
}

TEST_F(CheckForUpdate, AnUnreachableProbeSiteCountsAsNoNetwork) {
    LocalHttpServer maker(page("Tovenic"));
    UpdateSettings settings = settings_for(maker);
    settings.network.probe_url = testing::refused_url();
    expect_no_network_notice_alone(UpdateChecker(settings).check_for_update());
    EXPECT_EQ(maker.request_count(), 0);
}

TEST_F(CheckForUpdate, BeforeFetchRunsOnceBeforeTheFirstRequest) {
    LocalHttpServer maker(page("Tovenic"));
    int runs = 0;
    int requests_before_fetch = -1;
    UpdateChecker(settings_for(maker)).check_for_update([&] {
        ++runs;
        requests_before_fetch = maker.request_count();
    });
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(requests_before_fetch, 0);
}

using OpenHomePage = UpdateCommandTest;

TEST_F(OpenHomePage, GivesTheMakersSiteWhenConnected) {
    LocalHttpServer maker(page("home"));
    const UpdateOutcome outcome = UpdateChecker(settings_for(maker)).open_home_page();
    EXPECT_EQ(outcome.web_page, maker.url("/"));
    EXPECT_FALSE(outcome.notice);
    EXPECT_FALSE(outcome.panel_text);
    EXPECT_EQ(maker.request_count(), 0);
}

TEST_F(OpenHomePage, RefusesWithoutNetwork) {
    LocalHttpServer maker(page("home"));
    expect_no_network_notice_alone(UpdateChecker(settings_for(maker, false)).open_home_page());
}

}  // namespace
}  // namespace galmora

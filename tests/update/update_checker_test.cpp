#include "update/update_checker.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "tests/support/fake_controls.h"
#include "tests/support/scripted_desktop.h"
#include "tests/update/local_http_server.h"

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
        UpdateSettings settings;
        settings.server = maker.url("/");
        settings.network.probe_url = probe_.url();
        settings.network.system_online = [online] { return online; };
        settings.network.limits = {500ms, 1000ms, kMaxBodyBytes};
        return settings;
    }
    void check(const LocalHttpServer& maker) {
        UpdateChecker(controls_, desktop_, settings_for(maker)).check_for_update();
    }
    Text panel() const { return controls_.text(ControlId::InformationPanel); }
    void expect_button_idle() const {
        EXPECT_EQ(controls_.text(ControlId::CheckUpdateButton), "检测更新"_t);
        EXPECT_TRUE(controls_.enabled(ControlId::CheckUpdateButton));
    }
    void expect_no_network_message() const {
        ASSERT_EQ(desktop_.message_boxes.size(), 1u);
        EXPECT_EQ(desktop_.message_boxes[0].message, "未检测到网络，无法检测更新"_t);
        EXPECT_TRUE(desktop_.message_boxes[0].is_notice());
    }

    testing::FakeControls controls_;
    testing::ScriptedDesktop desktop_;
    LocalHttpServer probe_{page("home")};
    const Text version_line_ = "当前版本为：1.0\r\n"_t;
    const Text no_answer_ = "暂时无法连接服务器，请过段时间再试"_t;
};

using CheckForUpdate = UpdateCommandTest;

TEST_F(CheckForUpdate, MarkerFoundShowsTheSecondAnswerUnderTheVersionLine) {
    const Text first = "<p>Tovenic</p>"_t;
    const Text second = "<html>\r\n  最新版本：1.1  作者 Tovenic\r\n</html>\r\n"_t;
    LocalHttpServer maker({page(first), page(second)});
    check(maker);
    EXPECT_EQ(panel(), version_line_ + second);
    ASSERT_EQ(maker.request_count(), 2);
    for (const auto& request : maker.requests()) {
        EXPECT_EQ(request.request_line, kVersionRequest);
        EXPECT_TRUE(
            request.has_header("User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)"));
        EXPECT_TRUE(request.has_header("Accept: */*"));
    }
    EXPECT_EQ(probe_.request_count(), 1);
    EXPECT_TRUE(desktop_.message_boxes.empty());
    expect_button_idle();
}

TEST_F(CheckForUpdate, APageWithoutTheMarkerIsNoAnswer) {
    LocalHttpServer maker(page("<html>maintenance</html>"));
    controls_.set_text(ControlId::InformationPanel, "earlier content"_t);
    check(maker);
    EXPECT_EQ(panel(), no_answer_);
    EXPECT_EQ(maker.request_count(), 1);
    expect_button_idle();
}

TEST_F(CheckForUpdate, TheTextEndsAtTheFirstZeroByte) {
    LocalHttpServer hidden(page(std::string("version\0Tovenic", 15)));
    check(hidden);
    EXPECT_EQ(panel(), no_answer_);
    EXPECT_EQ(hidden.request_count(), 1);

    LocalHttpServer shown(page(std::string("Tovenic 1.1\0trailer", 19)));
    check(shown);
    EXPECT_EQ(panel(), version_line_ + "Tovenic 1.1");
}

TEST_F(CheckForUpdate, AnErrorPageWithTheMarkerIsShownLikeAVersionPage) {
    const Text body = "<h1>404 Not Found</h1> Tovenic"_t;
    LocalHttpServer maker(page(body, 404));
    check(maker);
    EXPECT_EQ(panel(), version_line_ + body);
    EXPECT_EQ(maker.request_count(), 2);
}

TEST_F(CheckForUpdate, ASecondFetchThatFailsLeavesOnlyTheVersionLine) {
    LocalHttpServer maker({page("Tovenic"), {Behaviour::CloseAtOnce, 200, ""}});
    check(maker);
    EXPECT_EQ(panel(), version_line_);
    expect_button_idle();
}

TEST_F(CheckForUpdate, AServerThatNeverAnswersEndsInTheNoAnswerTextWithinTheTimeOut) {
    LocalHttpServer maker({Behaviour::NeverAnswer, 200, ""});
    const auto start = std::chrono::steady_clock::now();
    check(maker);
    EXPECT_LT(std::chrono::steady_clock::now() - start, LocalHttpServer::kHoldLimit);
    EXPECT_EQ(panel(), no_answer_);
    EXPECT_EQ(maker.request_count(), 1);
    expect_button_idle();
}

TEST_F(CheckForUpdate, APageCutShortByTheTimeOutIsNoAnswer) {
    LocalHttpServer maker({Behaviour::PartThenSilent, 200, "Tovenic 1.1 ........"});
    check(maker);
    EXPECT_EQ(panel(), no_answer_);
}

TEST_F(CheckForUpdate, AnEndlessPageIsCutAtTheCap) {
    LocalHttpServer maker({Behaviour::EndlessBody, 200, "Tovenic "});
    UpdateSettings settings = settings_for(maker);
    settings.network.limits.max_body_bytes = 50'000;
    UpdateChecker(controls_, desktop_, settings).check_for_update();
    EXPECT_EQ(panel().size(), version_line_.size() + 50'000);
    EXPECT_EQ(panel().substr(0, version_line_.size() + 8), version_line_ + "Tovenic ");
    EXPECT_EQ(maker.request_count(), 2);
    expect_button_idle();
}

TEST_F(CheckForUpdate, AVeryLongPageIsCutOnACharacterBoundaryAndSaysSo) {
    // Seven bytes and then two-byte characters: the cut falls inside one.
    Text body = "Tovenic"_t;
    while (body.size() <= kShownPageBytes + 10) body += "版本"_t;
    LocalHttpServer maker(page(body));
    check(maker);
    const Text kept = body.substr(0, kShownPageBytes - 1);
    const Text note = "\r\n\r\n（版本页面过长：共 "_t + to_text(int(body.size())) +
                      " 字节，只显示了前 65535 字节）"_t;
    // Compared as a whole, but never printed: it is 64 KiB long.
    EXPECT_TRUE(panel() == version_line_ + kept + note) << utf8_string(right_text(panel(), 80));

    const Text fitting = "Tovenic "_t + Text(kShownPageBytes - 8, 'x');
    LocalHttpServer short_enough(page(fitting));
    check(short_enough);
    EXPECT_TRUE(panel() == version_line_ + fitting) << utf8_string(right_text(panel(), 80));
}

TEST_F(CheckForUpdate, WithoutNetworkOnlyAMessageBoxAppears) {
    LocalHttpServer maker(page("Tovenic"));
    controls_.set_text(ControlId::InformationPanel, "earlier content"_t);
    const Text caption = controls_.text(ControlId::CheckUpdateButton);
    const bool enabled = controls_.enabled(ControlId::CheckUpdateButton);
    UpdateChecker(controls_, desktop_, settings_for(maker, false)).check_for_update();
    expect_no_network_message();
    EXPECT_EQ(controls_.text(ControlId::CheckUpdateButton), caption);
    EXPECT_EQ(controls_.enabled(ControlId::CheckUpdateButton), enabled);
    EXPECT_EQ(panel(), "earlier content"_t);
    EXPECT_EQ(maker.request_count(), 0);
    EXPECT_EQ(probe_.request_count(), 0);
}

TEST_F(CheckForUpdate, AnUnreachableProbeSiteCountsAsNoNetwork) {
    LocalHttpServer maker(page("Tovenic"));
    UpdateSettings settings = settings_for(maker);
    settings.network.probe_url = testing::refused_url();
    UpdateChecker(controls_, desktop_, settings).check_for_update();
    expect_no_network_message();
    EXPECT_EQ(maker.request_count(), 0);
}

TEST_F(CheckForUpdate, TheBusyCaptionIsPaintedBeforeTheFetch) {
    LocalHttpServer maker(page("Tovenic"));
    UpdateSettings settings = settings_for(maker);
    Text caption_while_painting;
    bool enabled_while_painting = true;
    int requests_before_painting = -1;
    settings.repaint = [&] {
        caption_while_painting = controls_.text(ControlId::CheckUpdateButton);
        enabled_while_painting = controls_.enabled(ControlId::CheckUpdateButton);
        requests_before_painting = maker.request_count();
    };
    UpdateChecker(controls_, desktop_, settings).check_for_update();
    EXPECT_EQ(caption_while_painting, "检测中..."_t);
    EXPECT_FALSE(enabled_while_painting);
    EXPECT_EQ(requests_before_painting, 0);
    expect_button_idle();
}

using OpenHomePage = UpdateCommandTest;

TEST_F(OpenHomePage, OpensTheMakersSiteWhenConnected) {
    LocalHttpServer maker(page("home"));
    UpdateChecker(controls_, desktop_, settings_for(maker)).open_home_page();
    ASSERT_EQ(desktop_.opened.size(), 1u);
    EXPECT_EQ(desktop_.opened[0], "web:" + maker.url("/"));
    EXPECT_TRUE(desktop_.message_boxes.empty());
    EXPECT_EQ(maker.request_count(), 0);
}

TEST_F(OpenHomePage, RefusesWithoutNetwork) {
    LocalHttpServer maker(page("home"));
    UpdateChecker(controls_, desktop_, settings_for(maker, false)).open_home_page();
    expect_no_network_message();
    EXPECT_TRUE(desktop_.opened.empty());
}

}  // namespace
}  // namespace galmora

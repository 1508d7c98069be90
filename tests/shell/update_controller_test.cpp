// 检测更新 and 软件主页 as the window shows them: the button's busy and idle
// states, the information panel, the notice and the opened page.

#include "shell/update_controller.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "tests/support/fake_controls.h"
#include "tests/support/scripted_desktop.h"
#include "tests/update/local_http_server.h"
#include "tests/update/local_update_settings.h"

namespace galmora {
namespace {

using namespace galmora::literals;
using namespace std::chrono_literals;
using testing::LocalHttpServer;
using Behaviour = LocalHttpServer::Behaviour;

LocalHttpServer::Response page(const Text& body) {
    return {Behaviour::Answer, 200, body};
}

class UpdateControllerTest : public ::testing::Test {
  protected:
    UpdateSettings settings_for(const LocalHttpServer& maker, bool online = true) {
        return testing::local_update_settings(maker, probe_, online);
    }
    UpdateController controller(UpdateSettings settings, UpdateWindowHooks hooks = {}) {
        return UpdateController(controls_, desktop_, std::move(settings), std::move(hooks));
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
};

TEST_F(UpdateControllerTest, EveryCheckReplacesThePanelAndEndsWithTheButtonIdle) {
    const Text version_line = "当前版本为：1.0\r\n"_t;
    const Text no_answer = "暂时无法连接服务器，请过段时间再试"_t;
    Text endless;
    while (endless.size() < 50'000) endless += "Tovenic ";
    const struct {
        std::vector<LocalHttpServer::Response> answers;
        Text shown;
    } cases[] = {
        {{page("<p>Tovenic</p>"), page("Tovenic 1.1")}, version_line + "Tovenic 1.1"},
        {{page("<html>maintenance</html>")}, no_answer},
        {{page("Tovenic"), {Behaviour::CloseAtOnce, 200, ""}}, version_line},
        {{{Behaviour::NeverAnswer, 200, ""}}, no_answer},
        {{{Behaviour::EndlessBody, 200, "Tovenic "}}, version_line + endless},
    };
    for (const auto& each : cases) {
        LocalHttpServer maker(each.answers);
        controls_.set_text(ControlId::InformationPanel, "earlier content"_t);
        UpdateSettings settings = settings_for(maker);
        settings.network.limits.max_body_bytes = endless.size();
        controller(std::move(settings)).check_for_update();
        EXPECT_TRUE(panel() == each.shown) << utf8_string(panel().substr(0, 80));
        expect_button_idle();
    }
    EXPECT_TRUE(desktop_.message_boxes.empty());
}

TEST_F(UpdateControllerTest, TheBusyCaptionIsPaintedBeforeTheFetchAndInputDeliveredBeforeIdle) {
    LocalHttpServer maker(page("Tovenic"));
    UpdateWindowHooks hooks;
    Text caption_while_painting;
    bool enabled_while_painting = true;
    int requests_before_painting = -1;
    hooks.repaint = [&] {
        caption_while_painting = controls_.text(ControlId::CheckUpdateButton);
        enabled_while_painting = controls_.enabled(ControlId::CheckUpdateButton);
        requests_before_painting = maker.request_count();
    };
    Text panel_when_delivering;
    bool enabled_when_delivering = true;
    hooks.deliver_pending_input = [&] {
        panel_when_delivering = panel();
        enabled_when_delivering = controls_.enabled(ControlId::CheckUpdateButton);
    };
    controller(settings_for(maker), std::move(hooks)).check_for_update();
    EXPECT_EQ(caption_while_painting, "检测中..."_t);
    EXPECT_FALSE(enabled_while_painting);
    EXPECT_EQ(requests_before_painting, 0);
    EXPECT_EQ(panel_when_delivering, "当前版本为：1.0\r\nTovenic"_t);
    EXPECT_FALSE(enabled_when_delivering);
    expect_button_idle();
}

TEST_F(UpdateControllerTest, WithoutNetworkOnlyAMessageBoxAppears) {
    LocalHttpServer maker(page("Tovenic"));
    controls_.set_text(ControlId::InformationPanel, "earlier content"_t);
    const Text caption = controls_.text(ControlId::CheckUpdateButton);
    const bool enabled = controls_.enabled(ControlId::CheckUpdateButton);
    bool painted = false;
    UpdateWindowHooks hooks;
    hooks.repaint = [&] { painted = true; };
    controller(settings_for(maker, false), std::move(hooks)).check_for_update();
    expect_no_network_message();
    EXPECT_FALSE(painted);
    EXPECT_EQ(controls_.text(ControlId::CheckUpdateButton), caption);
    EXPECT_EQ(controls_.enabled(ControlId::CheckUpdateButton), enabled);
    EXPECT_EQ(panel(), "earlier content"_t);
    EXPECT_EQ(maker.request_count(), 0);
    EXPECT_EQ(probe_.request_count(), 0);
}

TEST_F(UpdateControllerTest, AnUnreachableProbeSiteShowsTheNoNetworkMessage) {
    LocalHttpServer maker(page("Tovenic"));
    UpdateSettings settings = settings_for(maker);
    settings.network.probe_url = testing::refused_url();
    controller(std::move(settings)).check_for_update();
    expect_no_network_message();
    EXPECT_EQ(maker.request_count(), 0);
}

TEST_F(UpdateControllerTest, HomePageOpensTheMakersSiteWhenConnected) {
    LocalHttpServer maker(page("home"));
    controller(settings_for(maker)).open_home_page();
    ASSERT_EQ(desktop_.opened.size(), 1u);
    EXPECT_EQ(desktop_.opened[0], "web:" + maker.url("/"));
    EXPECT_TRUE(desktop_.message_boxes.empty());
    EXPECT_EQ(maker.request_count(), 0);
}

TEST_F(UpdateControllerTest, HomePageRefusesWithoutNetwork) {
    LocalHttpServer maker(page("home"));
    controller(settings_for(maker, false)).open_home_page();
    expect_no_network_message();
    EXPECT_TRUE(desktop_.opened.empty());
}

}  // namespace
}  // namespace galmora

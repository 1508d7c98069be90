// The update check in the real window, offscreen: a version page of any size
// and shape is on screen quickly, and clicks on 检测更新 during a check are
// dropped rather than replayed as further checks.

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <chrono>
#include <memory>
#include <optional>

#include "core/codepage.h"
#include "shell/application.h"
#include "shell/qt/update_feedback.h"
#include "tests/shell/qt/widget_lookup.h"
#include "tests/support/scripted_desktop.h"
#include "tests/support/temp_dir.h"
#include "tests/update/local_http_server.h"
#include "tests/update/local_update_settings.h"

namespace galmora::testing {
namespace {

using namespace galmora::literals;
using namespace std::chrono_literals;
using Behaviour = LocalHttpServer::Behaviour;
using Clock = std::chrono::steady_clock;

// Laying out a megabyte-long word the slow way takes minutes; a bound many
// times "about a second" still tells the two apart on a slow machine.
constexpr auto kShownWithin = 5s;

LocalHttpServer::Response page(std::string body) {
    return {Behaviour::Answer, 200, std::move(body)};
}

class UpdateCheckInTheWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    UpdateSettings settings_for(const LocalHttpServer& maker) {
        UpdateSettings settings = local_update_settings(maker, probe);
        settings.network.limits = {2s, 2s, kMaxBodyBytes};  // a silent server holds a check 2 s
        return settings;
    }
    void start(UpdateSettings settings, UpdateWindowHooks hooks = window_update_hooks()) {
        app =
            std::make_unique<Application>(window.controls(), desktop, root.text(), settings, hooks);
        app->start_up();
    }
    QPushButton* check_button() {
        return widget<QPushButton>(window, ControlId::CheckUpdateButton);
    }
    // From the change of the panel's text until it has been painted; the
    // fetches before it take what the machine's load makes them take.
    Clock::duration check_and_paint() {
        std::optional<Clock::time_point> changed;
        const auto connection = QObject::connect(
            widget<QPlainTextEdit>(window, ControlId::InformationPanel)->document(),
            &QTextDocument::contentsChange, [&changed] {
                if (!changed) changed = Clock::now();
            });
        QTest::mouseClick(check_button(), Qt::LeftButton);
        QCoreApplication::processEvents();
        window.grab();
        QObject::disconnect(connection);
        return changed ? Clock::now() - *changed : Clock::duration::max();
    }
    QString panel() {
        return widget<QPlainTextEdit>(window, ControlId::InformationPanel)->toPlainText();
    }

    TempDir root;
    ShellWindow window;
    ScriptedDesktop desktop;
    LocalHttpServer probe{page("home")};
    std::unique_ptr<Application> app;
};

TEST_F(UpdateCheckInTheWindow, AnUnbrokenVersionPageIsShownCutAndQuickly) {
    const std::string megabyte = "Tovenic" + std::string(1'000'000 - 7, 'x');
    const std::string cap = "Tovenic" + std::string(kMaxBodyBytes - 7, 'y');
    LocalHttpServer maker({page(megabyte), page(megabyte), page(cap)});
    UpdateSettings settings = settings_for(maker);
    settings.network.limits = {};  // ten megabytes may take a while on a busy machine
    start(settings);
    for (const std::string* body : {&megabyte, &cap}) {
        const auto took = check_and_paint();
        EXPECT_LT(took, kShownWithin) << body->size() << " bytes took "
                                      << std::chrono::duration<double>(took).count() << " s";
        const QString shown = panel();
        EXPECT_TRUE(shown.startsWith(q("当前版本为：1.0\nTovenic") + body->at(100)))
            << body->size();
        EXPECT_LT(shown.size(), qsizetype(kShownPageBytes + 100));
        EXPECT_TRUE(shown.endsWith(
            q("共 %1 字节，只显示了前 %2 字节）").arg(body->size()).arg(kShownPageBytes)))
            << body->size();
    }
    EXPECT_EQ(maker.request_count(), 4);
}

TEST_F(UpdateCheckInTheWindow, NoTextInThePanelTakesLongToLayOut) {
    start(settings_for(probe));
    const int run = 500'000;
    for (const Text& text : {Text(run, 'x'), "当前版本为：1.0\r\n"_t + Text(run, '-'),
                             Text(1000, ' ') + Text(run, '/')}) {
        const auto begin = Clock::now();
        window.set_text(ControlId::InformationPanel, text);
        QCoreApplication::processEvents();
        window.grab();
        const auto took = Clock::now() - begin;
        EXPECT_LT(took, kShownWithin) << std::chrono::duration<double>(took).count() << " s";
    }
}

TEST_F(UpdateCheckInTheWindow, ClicksMadeDuringACheckAreDropped) {
    LocalHttpServer maker({Behaviour::NeverAnswer, 200, ""});
    UpdateWindowHooks hooks = window_update_hooks();
    // Three clicks arrive while the check waits for the silent server.
    hooks.repaint = [this, paint = hooks.repaint] {
        paint();
        const QPointF centre = QRectF(check_button()->rect()).center();
        const QPointF global = check_button()->mapToGlobal(centre);
        for (int click = 0; click < 3; ++click)
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QCoreApplication::postEvent(
                    check_button(),
                    new QMouseEvent(
                        type, centre, global, Qt::LeftButton,
                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                        Qt::NoModifier));
    };
    start(settings_for(maker), hooks);
    QTest::mouseClick(check_button(), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(maker.request_count(), 1);
    EXPECT_EQ(panel(), q("暂时无法连接服务器，请过段时间再试"));
    EXPECT_TRUE(check_button()->isEnabled());
    EXPECT_EQ(check_button()->text(), q("检测更新"));
}

}  // namespace
}  // namespace galmora::testing

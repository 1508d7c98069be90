// The information panel filled with a page of many megabytes: the window
// answers at once, and the panel ends up showing exactly that text.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>

#include "core/codepage.h"
#include "shell/qt/qt_text.h"
#include "tests/shell/qt/widget_lookup.h"

namespace galmora::testing {
namespace {

using namespace galmora::literals;

// Lines of many lengths, so that slices end in many places, with CR LF, bare
// LF, a lone CR, Chinese text and a byte that is no GB18030.
Text long_page(int lines) {
    Text page = "\r\n 新图库目录：/库/图/index.html\r\n\r\n"_t;
    for (int i = 1; i <= lines; ++i) {
        page += "<img id=\"Img" + std::to_string(i) + "\" src=\"/图片/" + std::string(i % 97, 'x');
        page += i % 7 == 0 ? "\n" : i % 11 == 0 ? "\r" : i % 13 == 0 ? "\xFF\r\n" : "\r\n";
    }
    return page + "</html>";
}

// The text a box holds, with its line breaks as Qt keeps them.
QString shown(QPlainTextEdit* edit) {
    return edit->document()->toPlainText();
}

class GradualTextFillTest : public ::testing::Test {
  protected:
    GradualTextFillTest() { panel = widget<QPlainTextEdit>(window, ControlId::InformationPanel); }
    void reference(const Text& text) { expected.setPlainText(to_qstring(text)); }

    ShellWindow window;
    QPlainTextEdit* panel = nullptr;
    QPlainTextEdit expected;
};

TEST_F(GradualTextFillTest, LongTextShowsItsStartAtOnceAndAllOfItAfterTheEvents) {
    const Text page = long_page(30000);
    ASSERT_GT(page.size(), 1000000u);
    reference(page);
    window.set_text(ControlId::InformationPanel, page);
    EXPECT_EQ(window.text(ControlId::InformationPanel), page);  // the program reads it back at once
    EXPECT_LT(shown(panel).size(), shown(&expected).size());
    EXPECT_TRUE(shown(&expected).startsWith(shown(panel)));
    for (int turn = 0; turn < 1000 && shown(panel).size() < shown(&expected).size(); ++turn)
        QApplication::processEvents();
    EXPECT_EQ(shown(panel), shown(&expected));
    EXPECT_EQ(panel->document()->blockCount(), expected.document()->blockCount());
    EXPECT_EQ(window.text(ControlId::InformationPanel), page);
}

TEST_F(GradualTextFillTest, SelectingAllPutsTheRestInFirst) {
    const Text page = long_page(20000);
    reference(page);
    window.set_text(ControlId::InformationPanel, page);
    window.select_all(ControlId::InformationPanel);
    EXPECT_EQ(panel->textCursor().selectedText().size(), shown(&expected).size());
}

TEST_F(GradualTextFillTest, ANewTextDropsTheFillStillRunning) {
    window.set_text(ControlId::InformationPanel, long_page(20000));
    window.set_text(ControlId::InformationPanel, "完成删除^^!"_t);
    for (int turn = 0; turn < 100; ++turn) QApplication::processEvents();
    EXPECT_EQ(shown(panel), q("完成删除^^!"));
    EXPECT_EQ(window.text(ControlId::InformationPanel), "完成删除^^!"_t);
}

}  // namespace
}  // namespace galmora::testing

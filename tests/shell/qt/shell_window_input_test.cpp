// What the user can type, paste and click, and which events that raises.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "core/codepage.h"
#include "tests/shell/qt/widget_lookup.h"

namespace galmora::testing {
namespace {

using namespace galmora::literals;

class ShellWindowInput : public ::testing::Test {
  protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QLineEdit* edit(const char* name) { return widget<QLineEdit>(window, name); }
    void paste(const char* name, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        edit(name)->paste();
    }
    void commit(const char* name, const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(edit(name), &event);
    }
    int changes(const char* name) {
        int* counter = &counters_[name];
        window.on(name, ControlEvent::ContentChanged, [counter](const Text&) { ++*counter; });
        return 0;
    }
    int count(const char* name) { return counters_[name]; }

    ShellWindow window;

  private:
    std::map<std::string, int> counters_;
};

TEST_F(ShellWindowInput, NameTakesFourteenBytesOfTypedText) {
    type_keys(edit("图库名称"), q("图库图库图库图"));
    EXPECT_EQ(edit("图库名称")->text(), q("图库图库图库图"));
    type_keys(edit("图库名称"), q("库"));
    type_keys(edit("图库名称"), "a");
    EXPECT_EQ(window.text("图库名称"), "图库图库图库图"_t);

    window.set_text("图库名称", "");
    type_keys(edit("图库名称"), "abcdefghijklm");
    type_keys(edit("图库名称"), q("图"));  // 13 + 2 bytes: refused
    type_keys(edit("图库名称"), "n");
    EXPECT_EQ(window.text("图库名称"), "abcdefghijklmn");
}

TEST_F(ShellWindowInput, PastesAndInputMethodCommitsAreCutToTheLimit) {
    paste("图库名称", q("图库图库图库图库"));
    EXPECT_EQ(edit("图库名称")->text(), q("图库图库图库图"));
    window.set_text("图库名称", "abcdefghijkl");
    paste("图库名称", q("图x"));
    EXPECT_EQ(edit("图库名称")->text(), q("abcdefghijkl图"));
    paste("图库名称", "z");
    EXPECT_EQ(edit("图库名称")->text(), q("abcdefghijkl图"));

    window.set_text("图库名称", "");
    edit("图库名称")->setFocus();
    commit("图库名称", q("风景照片风景照片"));
    EXPECT_EQ(edit("图库名称")->text(), q("风景照片风景照"));
    commit("图库名称", q("片"));
    EXPECT_EQ(edit("图库名称")->text(), q("风景照片风景照"));
}

TEST_F(ShellWindowInput, PastesAndInputMethodCommitsOverASelectionAreCutToTheLimit) {
    window.set_text("图库名称", "图库123456789"_t);
    edit("图库名称")->selectAll();
    paste("图库名称", q("风景照片风景照片"));
    EXPECT_EQ(window.text("图库名称"), "风景照片风景照"_t);

    window.set_text("图库名称", "图库123456789"_t);
    edit("图库名称")->setFocus();
    edit("图库名称")->selectAll();
    commit("图库名称", q("人像摄影人像摄影"));
    EXPECT_EQ(window.text("图库名称"), "人像摄影人像摄"_t);

    // A selection inside the text: what follows it stays.
    window.set_text("图库名称", "abcdefghijkl");
    edit("图库名称")->setSelection(2, 2);
    paste("图库名称", q("图库图"));
    EXPECT_EQ(window.text("图库名称"), "ab图库efghijkl"_t);
    EXPECT_EQ(edit("图库名称")->cursorPosition(), 4);
    // A replacement that begins like the selected text is cut the same way.
    window.set_text("图库名称", "图库abcdefghij"_t);
    edit("图库名称")->setSelection(0, 2);
    paste("图库名称", q("图库图库"));
    EXPECT_EQ(window.text("图库名称"), "图库abcdefghij"_t);
    edit("图库名称")->setSelection(0, 3);
    paste("图库名称", q("图库图库"));
    EXPECT_EQ(window.text("图库名称"), "图库bcdefghij"_t);
    // Nothing of it fits: the selection goes, as with Qt's own length limit.
    window.set_text("图库名称", "abcdefghijklmn");
    edit("图库名称")->setSelection(0, 1);
    paste("图库名称", q("图"));
    EXPECT_EQ(window.text("图库名称"), "bcdefghijklmn");
}

TEST_F(ShellWindowInput, TheProgramMaySetLongerTextsThanTheUser) {
    window.set_text("图库名称", "图库图库图库图库图库"_t);
    EXPECT_EQ(window.text("图库名称"), "图库图库图库图库图库"_t);
    edit("图库名称")->end(false);
    type_keys(edit("图库名称"), "a");
    EXPECT_EQ(window.text("图库名称"), "图库图库图库图库图库"_t);
    QTest::keyClick(edit("图库名称"), Qt::Key_Backspace);
    EXPECT_EQ(window.text("图库名称"), "图库图库图库图库图"_t);
    window.set_text("单页数量", "abcd");  // no input rule binds the program
    EXPECT_EQ(window.text("单页数量"), "abcd");
    const Text paths(40000, 'p');
    window.set_text("浏览目录", paths);
    EXPECT_EQ(window.text("浏览目录"), paths);
}

TEST_F(ShellWindowInput, PerPageTakesThreeDigitsOrMinusSigns) {
    type_keys(edit("单页数量"), "1a-");
    EXPECT_EQ(edit("单页数量")->text(), "1-");
    paste("单页数量", "2x");
    EXPECT_EQ(edit("单页数量")->text(), "1-");
    paste("单页数量", q("２"));  // a full-width digit is no digit here
    type_keys(edit("单页数量"), "23");
    EXPECT_EQ(edit("单页数量")->text(), "1-2");
    type_keys(edit("页总数"), "1x3");  // normal input, two characters
    EXPECT_EQ(edit("页总数")->text(), "1x");
}

TEST_F(ShellWindowInput, ReadOnlyAndDisabledBoxesRefuseTyping) {
    for (const char* name : {"浏览目录1", "浏览目录3", "文件总数", "网站标题"}) {
        QString before = edit(name)->text();
        type_keys(edit(name), "x");
        EXPECT_EQ(edit(name)->text(), before) << name;
    }
    auto* panel = widget<QPlainTextEdit>(window, "编辑框3");
    type_keys(panel, "x");
    EXPECT_EQ(panel->toPlainText(), "");
}

TEST_F(ShellWindowInput, TypingRaisesContentChangedForEachAcceptedChange) {
    changes("页总数");
    type_keys(edit("页总数"), "123");
    EXPECT_EQ(count("页总数"), 2);
    QTest::keyClick(edit("页总数"), Qt::Key_Backspace);
    EXPECT_EQ(count("页总数"), 3);
    changes("单页数量");
    type_keys(edit("单页数量"), "x");
    EXPECT_EQ(count("单页数量"), 0);
}

TEST_F(ShellWindowInput, ClicksReachTheirHandlersWithTheNewCheckedState) {
    int clicks = 0;
    window.on("生成图片库", ControlEvent::Clicked, [&](const Text&) { ++clicks; });
    QTest::mouseClick(widget(window, "生成图片库"), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);

    std::vector<bool> seen;
    window.on("选择框9", ControlEvent::Clicked,
              [&](const Text&) { seen.push_back(window.checked("选择框9")); });
    QTest::mouseClick(widget(window, "选择框9"), Qt::LeftButton);
    QTest::mouseClick(widget(window, "选择框9"), Qt::LeftButton);
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
}

TEST_F(ShellWindowInput, TheFormatBoxesCannotBeUnchecked) {
    int clicks = 0;
    for (const char* name : {"选择框5", "选择框6", "选择框7", "选择框8", "选择框10", "选择框11"}) {
        window.on(name, ControlEvent::Clicked, [&](const Text&) { ++clicks; });
        QTest::mouseClick(widget(window, name), Qt::LeftButton);
        QTest::keyClick(widget(window, name), Qt::Key_Space);
        EXPECT_TRUE(window.checked(name)) << name;
    }
    EXPECT_EQ(clicks, 0);
}

TEST_F(ShellWindowInput, PickingAnItemRaisesItemSelected) {
    std::vector<int> picked;
    window.on("组合框3", ControlEvent::ItemSelected,
              [&](const Text&) { picked.push_back(window.selected_index("组合框3")); });
    QTest::keyClick(widget(window, "组合框3"), Qt::Key_Down);
    window.set_selected_index("组合框3", 0);  // the program's choice raises nothing
    EXPECT_EQ(picked, std::vector<int>{1});
    EXPECT_FALSE(widget<QComboBox>(window, "组合框3")->isEditable());
}

}  // namespace
}  // namespace galmora::testing

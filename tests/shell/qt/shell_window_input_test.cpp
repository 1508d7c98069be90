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
    QLineEdit* edit(ControlId name) { return widget<QLineEdit>(window, name); }
    void paste(ControlId name, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        edit(name)->paste();
    }
    void commit(ControlId name, const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(edit(name), &event);
    }
    int changes(ControlId name) {
        int* counter = &counters_[name];
        window.on(name, ControlEvent::ContentChanged, [counter](const Text&) { ++*counter; });
        return 0;
    }
    int count(ControlId name) { return counters_[name]; }

    ShellWindow window;

  private:
    std::map<ControlId, int> counters_;
};

TEST_F(ShellWindowInput, NameTakesFourteenBytesOfTypedText) {
    type_keys(edit(ControlId::SubGalleryName), q("图库图库图库图"));
    EXPECT_EQ(edit(ControlId::SubGalleryName)->text(), q("图库图库图库图"));
    type_keys(edit(ControlId::SubGalleryName), q("库"));
    type_keys(edit(ControlId::SubGalleryName), "a");
    EXPECT_EQ(window.text(ControlId::SubGalleryName), "图库图库图库图"_t);

    window.set_text(ControlId::SubGalleryName, "");
    type_keys(edit(ControlId::SubGalleryName), "abcdefghijklm");
    type_keys(edit(ControlId::SubGalleryName), q("图"));  // 13 + 2 bytes: refused
    type_keys(edit(ControlId::SubGalleryName), "n");
    EXPECT_EQ(window.text(ControlId::SubGalleryName), "abcdefghijklmn");
}

TEST_F(ShellWindowInput, PastesAndInputMethodCommitsAreCutToTheLimit) {
    paste(ControlId::SubGalleryName, q("图库图库图库图库"));
    EXPECT_EQ(edit(ControlId::SubGalleryName)->text(), q("图库图库图库图"));
    window.set_text(ControlId::SubGalleryName, "abcdefghijkl");
    paste(ControlId::SubGalleryName, q("图x"));
    EXPECT_EQ(edit(ControlId::SubGalleryName)->text(), q("abcdefghijkl图"));
    paste(ControlId::SubGalleryName, "z");
    EXPECT_EQ(edit(ControlId::SubGalleryName)->text(), q("abcdefghijkl图"));

    window.set_text(ControlId::SubGalleryName, "");
    edit(ControlId::SubGalleryName)->setFocus();
    commit(ControlId::SubGalleryName, q("风景照片风景照片"));
    EXPECT_EQ(edit(ControlId::SubGalleryName)->text(), q("风景照片风景照"));
    commit(ControlId::SubGalleryName, q("片"));
    EXPECT_EQ(edit(ControlId::SubGalleryName)->text(), q("风景照片风景照"));
}

TEST_F(ShellWindowInput, PastesAndInputMethodCommitsOverASelectionAreCutToTheLimit) {
    window.set_text(ControlId::SubGalleryName, "图库123456789"_t);
    edit(ControlId::SubGalleryName)->selectAll();
    paste(ControlId::SubGalleryName, q("风景照片风景照片"));
    EXPECT_EQ(window.text(ControlId::SubGalleryName), "风景照片风景照"_t);

    window.set_text(ControlId::SubGalleryName, "图库123456789"_t);
    edit(ControlId::SubGalleryName)->setFocus();
    edit(ControlId::SubGalleryName)->selectAll();
    commit(ControlId::SubGalleryName, q("人像摄影人像摄影"));
    EXPECT_EQ(window.text(ControlId::SubGalleryName), "人像摄影人像摄"_t);

    // A selection inside the text: what follows it stays.
    window.set_text(ControlId::SubGalleryName, "abcdefghijkl");
    edit(ControlId::SubGalleryName)->setSelection(2, 2);
    paste(ControlId::SubGalleryName, q("图库图"));
    EXPECT_EQ(window.text(ControlId::SubGalleryName), "ab图库efghijkl"_t);
    EXPECT_EQ(edit(ControlId::SubGalleryName)->cursorPosition(), 4);
    // A replacement that begins like the selected text is cut the same way.
    window.set_text(ControlId::SubGalleryName, "图库abcdefghij"_t);
    edit(ControlId::SubGalleryName)->setSelection(0, 2);
    paste(ControlId::SubGalleryName, q("图库图库"));
    EXPECT_EQ(window.text(ControlId::SubGalleryName), "图库abcdefghij"_t);
    edit(ControlId::SubGalleryName)->setSelection(0, 3);
    paste(ControlId::SubGalleryName, q("图库图库"));
    EXPECT_EQ(window.text(ControlId::SubGalleryName), "图库bcdefghij"_t);
    // Nothing of it fits: the selection goes, as with Qt's own length limit.
    window.set_text(ControlId::SubGalleryName, "abcdefghijklmn");
    edit(ControlId::SubGalleryName)->setSelection(0, 1);
    paste(ControlId::SubGalleryName, q("图"));
    EXPECT_EQ(window.text(ControlId::SubGalleryName), "bcdefghijklmn");
}

TEST_F(ShellWindowInput, TheProgramMaySetLongerTextsThanTheUser) {
    window.set_text(ControlId::SubGalleryName, "图库图库图库图库图库"_t);
    EXPECT_EQ(window.text(ControlId::SubGalleryName), "图库图库图库图库图库"_t);
    edit(ControlId::SubGalleryName)->end(false);
    type_keys(edit(ControlId::SubGalleryName), "a");
    EXPECT_EQ(window.text(ControlId::SubGalleryName), "图库图库图库图库图库"_t);
    QTest::keyClick(edit(ControlId::SubGalleryName), Qt::Key_Backspace);
    EXPECT_EQ(window.text(ControlId::SubGalleryName), "图库图库图库图库图"_t);
    window.set_text(ControlId::PerPage, "abcd");  // no input rule binds the program
    EXPECT_EQ(window.text(ControlId::PerPage), "abcd");
    const Text paths(40000, 'p');
    window.set_text(ControlId::PictureFolder, paths);
    EXPECT_EQ(window.text(ControlId::PictureFolder), paths);
}

TEST_F(ShellWindowInput, PerPageTakesThreeDigitsOrMinusSigns) {
    type_keys(edit(ControlId::PerPage), "1a-");
    EXPECT_EQ(edit(ControlId::PerPage)->text(), "1-");
    paste(ControlId::PerPage, "2x");
    EXPECT_EQ(edit(ControlId::PerPage)->text(), "1-");
    paste(ControlId::PerPage, q("２"));  // a full-width digit is no digit here
    type_keys(edit(ControlId::PerPage), "23");
    EXPECT_EQ(edit(ControlId::PerPage)->text(), "1-2");
    type_keys(edit(ControlId::PageCount), "1x3");  // normal input, two characters
    EXPECT_EQ(edit(ControlId::PageCount)->text(), "1x");
}

TEST_F(ShellWindowInput, ReadOnlyAndDisabledBoxesRefuseTyping) {
    for (ControlId name :
         {ControlId::CoverBox, ControlId::LogoBox, ControlId::PictureTotal, ControlId::SiteTitle}) {
        QString before = edit(name)->text();
        type_keys(edit(name), "x");
        EXPECT_EQ(edit(name)->text(), before) << name;
    }
    auto* panel = widget<QPlainTextEdit>(window, ControlId::InformationPanel);
    type_keys(panel, "x");
    EXPECT_EQ(panel->toPlainText(), "");
}

TEST_F(ShellWindowInput, TypingRaisesContentChangedForEachAcceptedChange) {
    changes(ControlId::PageCount);
    type_keys(edit(ControlId::PageCount), "123");
    EXPECT_EQ(count(ControlId::PageCount), 2);
    QTest::keyClick(edit(ControlId::PageCount), Qt::Key_Backspace);
    EXPECT_EQ(count(ControlId::PageCount), 3);
    changes(ControlId::PerPage);
    type_keys(edit(ControlId::PerPage), "x");
    EXPECT_EQ(count(ControlId::PerPage), 0);
}

TEST_F(ShellWindowInput, ClicksReachTheirHandlersWithTheNewCheckedState) {
    int clicks = 0;
    window.on(ControlId::GenerateButton, ControlEvent::Clicked, [&](const Text&) { ++clicks; });
    QTest::mouseClick(widget(window, ControlId::GenerateButton), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);

    std::vector<bool> seen;
    window.on(ControlId::AlwaysOnTop, ControlEvent::Clicked,
              [&](const Text&) { seen.push_back(window.checked(ControlId::AlwaysOnTop)); });
    QTest::mouseClick(widget(window, ControlId::AlwaysOnTop), Qt::LeftButton);
    QTest::mouseClick(widget(window, ControlId::AlwaysOnTop), Qt::LeftButton);
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
}

TEST_F(ShellWindowInput, TheFormatBoxesCannotBeUnchecked) {
    int clicks = 0;
    for (ControlId name : {ControlId::JpgFormat, ControlId::JpegFormat, ControlId::PngFormat,
                           ControlId::BmpFormat, ControlId::GifFormat, ControlId::WebpFormat}) {
        window.on(name, ControlEvent::Clicked, [&](const Text&) { ++clicks; });
        QTest::mouseClick(widget(window, name), Qt::LeftButton);
        QTest::keyClick(widget(window, name), Qt::Key_Space);
        EXPECT_TRUE(window.checked(name)) << name;
    }
    EXPECT_EQ(clicks, 0);
}

TEST_F(ShellWindowInput, PickingAnItemRaisesItemSelected) {
    std::vector<int> picked;
    window.on(ControlId::ModeList, ControlEvent::ItemSelected,
              [&](const Text&) { picked.push_back(window.selected_index(ControlId::ModeList)); });
    QTest::keyClick(widget(window, ControlId::ModeList), Qt::Key_Down);
    window.set_selected_index(ControlId::ModeList, 0);  // the program's choice raises nothing
    EXPECT_EQ(picked, std::vector<int>{1});
    EXPECT_FALSE(widget<QComboBox>(window, ControlId::ModeList)->isEditable());
}

}  // namespace
}  // namespace galmora::testing

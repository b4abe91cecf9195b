// The message window: kinds and their layout, answers, the error-code rule, the name field,
// the owner disabled while it waits, queued messages and the window manager's close.

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QTest>

#include "app/gui_asker.h"
#include "app_test_support.h"
#include "skin/picture_key.h"
#include "skin/skin_label.h"

namespace mozu::app_test {
namespace {

class MessageWindowTest : public ::testing::Test {
  protected:
    MessageWindowTest() { owner.show(); }
    template <class T>
    T* Find(const char* name) {
        return window.findChild<T*>(name);
    }
    QString Label1() { return Find<SkinLabel>("Label1")->text(); }
    bool Visible(const char* name) { return Find<QWidget>(name)->isVisible(); }

    QWidget owner;
    MessageWindow window;
    std::uint8_t answered = 7;
    std::uint8_t answer = 0;
};

TEST_F(MessageWindowTest, QuestionShowsYesAndNoAndAnswersEach) {
    window.Execute(&owner, answered, answer, MessageWindow::kQuestion, "Convert?");
    EXPECT_EQ(answered, 0);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(Label1(), "Convert?");
    EXPECT_TRUE(Visible("KeyGreen01"));
    EXPECT_TRUE(Visible("KeyRed01"));
    EXPECT_FALSE(Visible("Key01"));
    EXPECT_FALSE(Visible("Edit1"));
    EXPECT_FALSE(owner.isEnabled());
    Click(Find<QWidget>("KeyGreen01"));
    EXPECT_EQ(answered, 1);
    EXPECT_EQ(answer, MessageWindow::kYes);
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_FALSE(window.isVisible());

    window.Execute(&owner, answered, answer, MessageWindow::kQuestion, "Again?");
    Click(Find<QWidget>("KeyRed01"));
    EXPECT_EQ(answered, 1);
    EXPECT_EQ(answer, MessageWindow::kNo);
}

TEST_F(MessageWindowTest, KeysShowTheirPressedPictureWhileHeld) {
    window.Execute(&owner, answered, answer, MessageWindow::kQuestion, "?");
    auto* yes = Find<PictureKey>("KeyGreen01");
    QTest::mousePress(yes, Qt::LeftButton, {}, yes->rect().center());
    EXPECT_TRUE(yes->isDown());
    EXPECT_EQ(answered, 0);  // the command runs on the click, after the release
    QTest::mouseRelease(yes, Qt::LeftButton, {}, yes->rect().center());
    EXPECT_FALSE(yes->isDown());
    EXPECT_EQ(answer, MessageWindow::kYes);
}

TEST_F(MessageWindowTest, NoticeAndErrorShowTheSingleKeyInTheirColour) {
    window.Execute(&owner, answered, answer, MessageWindow::kNotice, "Conversion successfull");
    EXPECT_TRUE(Visible("Key01"));
    EXPECT_FALSE(Visible("KeyGreen01"));
    EXPECT_EQ(Find<PictureKey>("Key01")->upPicture(), "MsgKeyGreenUp");
    Click(Find<QWidget>("Key01"));
    EXPECT_EQ(answer, MessageWindow::kSingle);

    window.Execute(&owner, answered, answer, MessageWindow::kError, "Disk is full");
    EXPECT_EQ(Find<PictureKey>("Key01")->upPicture(), "MsgKeyRedUp");
    EXPECT_EQ(window.shownKind(), MessageWindow::kError);
    Click(Find<QWidget>("Key01"));
    EXPECT_EQ(answer, MessageWindow::kSingle);
}

TEST_F(MessageWindowTest, EmptyTextShowsTheCodesTextAsAnError) {
    // Kind 2 with no text is error code 2.
    window.Execute(&owner, answered, answer, 2, "");
    EXPECT_EQ(Label1(), "File not found");
    EXPECT_EQ(window.shownKind(), MessageWindow::kError);
    EXPECT_EQ(Find<PictureKey>("Key01")->upPicture(), "MsgKeyRedUp");
    Click(Find<QWidget>("Key01"));
    // A code without a text shows an empty message.
    window.Execute(&owner, answered, answer, 8, "");
    EXPECT_EQ(Label1(), "");
    EXPECT_EQ(window.shownKind(), MessageWindow::kError);
    Click(Find<QWidget>("Key01"));
    window.Execute(&owner, answered, answer, 32, "");
    EXPECT_EQ(Label1(),
              QString::fromUtf8("Plik jest już otwarty, niemożliwy wspólny dostęp do pliku"));
    Click(Find<QWidget>("Key01"));
}

TEST_F(MessageWindowTest, NameRequestTakesSevenCharactersAndEnterAnswers) {
    window.Execute(&owner, answered, answer, MessageWindow::kNameRequest, "Enter new filename");
    EXPECT_TRUE(Visible("Edit1"));
    EXPECT_TRUE(Visible("Label2"));
    EXPECT_EQ(Find<SkinLabel>("Label2")->text(), "New file name ");
    auto* edit = Find<QLineEdit>("Edit1");
    QTest::keyClicks(edit, "sunset2024");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(answered, 1);
    EXPECT_EQ(answer, MessageWindow::kSingle);
    EXPECT_EQ(window.EnteredName(), "sunset2");
    // The next request starts empty.
    window.Execute(&owner, answered, answer, MessageWindow::kNameRequest, "Enter new filename");
    EXPECT_EQ(edit->text(), "");
    Click(Find<QWidget>("Key01"));
    EXPECT_EQ(window.EnteredName(), "");
}

TEST_F(MessageWindowTest, FolderNamesTakeAnyLength) {
    window.Execute(&owner, answered, answer, MessageWindow::kNameRequest, "Enter folder name", 0);
    auto* edit = Find<QLineEdit>("Edit1");
    QTest::keyClicks(edit, "Holiday pictures 2026");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(window.EnteredName(), "Holiday pictures 2026");
}

TEST_F(MessageWindowTest, MessagesThatArriveWhileOneIsShownWaitTheirTurn) {
    std::uint8_t answered2 = 9, answer2 = 0;
    window.Execute(&owner, answered, answer, MessageWindow::kQuestion, "First?");
    window.Execute(&owner, answered2, answer2, MessageWindow::kNotice, "Second");
    EXPECT_EQ(Label1(), "First?");
    EXPECT_EQ(window.waiting(), 1);
    EXPECT_EQ(answered2, 0);
    Click(Find<QWidget>("KeyRed01"));
    EXPECT_EQ(answered, 1);
    EXPECT_EQ(answer, MessageWindow::kNo);
    // The owner still has a message on show: it stays disabled.
    EXPECT_FALSE(owner.isEnabled());
    EXPECT_EQ(Label1(), "Second");
    EXPECT_TRUE(Visible("Key01"));
    EXPECT_EQ(answered2, 0);
    Click(Find<QWidget>("Key01"));
    EXPECT_EQ(answered2, 1);
    EXPECT_EQ(answer2, MessageWindow::kSingle);
    EXPECT_TRUE(owner.isEnabled());
}

TEST_F(MessageWindowTest, WindowManagerCloseAnswersNoOrTheSingleButton) {
    window.Execute(&owner, answered, answer, MessageWindow::kQuestion, "Overwrite ?");
    window.close();
    EXPECT_EQ(answered, 1);
    EXPECT_EQ(answer, MessageWindow::kNo);
    window.Execute(&owner, answered, answer, MessageWindow::kNotice, "Not supported file format");
    window.close();
    EXPECT_EQ(answered, 1);
    EXPECT_EQ(answer, MessageWindow::kSingle);
    EXPECT_TRUE(owner.isEnabled());
}

TEST_F(MessageWindowTest, AskerWaitsWithoutBlockingUntilAnswered) {
    GuiAsker asker;
    asker.Attach(&window, &owner);
    MessageScript script(window);
    script.No().Yes().Name("pic").Ok();
    EXPECT_FALSE(
        asker.askYesNo("Source picture in supported color depth. Convert without dithering?"));
    EXPECT_TRUE(asker.askYesNo("File a exists\n\rOverwrite ?"));
    EXPECT_EQ(asker.askName("Enter new filename", 7), std::optional<std::string>("pic"));
    asker.notify("Conversion successfull");
    ASSERT_EQ(script.shown.size(), 4u);
    EXPECT_EQ(script.shown[0].kind, MessageWindow::kQuestion);
    EXPECT_EQ(script.shown[2].kind, MessageWindow::kNameRequest);
    EXPECT_EQ(script.shown[3].kind, MessageWindow::kNotice);
    EXPECT_EQ(script.shown[3].text, "Conversion successfull");
    EXPECT_EQ(script.unexpected, 0);
}

}  // namespace
}  // namespace mozu::app_test

#include "dialogs/frmMsgBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

using test::WhenModalOpens;

class MsgBoxTest : public test::WindowTest {
  protected:
    // Opens MsgBoxEx and lets the user act on the open box.
    int Ask(int style, std::string& input, std::function<void(frmMsgBox&)> user) {
        WhenModalOpens([user = std::move(user)](QWidget* modal) {
            auto* box = qobject_cast<frmMsgBox*>(modal);
            ASSERT_NE(box, nullptr);
            user(*box);
        });
        return MsgBoxEx(app_, "Enter the new name:", "Rename", style, input);
    }
};

TEST_F(MsgBoxTest, InputStyleReturnsTheEditedTextAndOneForOk) {
    std::string input = "Old Name";
    const int result = Ask(kMsgBoxInput, input, [](frmMsgBox& box) {
        EXPECT_EQ(box.windowTitle(), "Rename");
        EXPECT_EQ(box.lblInfo->text(), "Enter the new name:");
        EXPECT_TRUE(box.txtInput->isVisible());
        EXPECT_FALSE(box.cmdOk->isVisible());
        EXPECT_EQ(box.cmdYes->text(), "OK");
        EXPECT_EQ(box.cmdNo->text(), "Cancel");
        // The old text is selected, so typing replaces it.
        EXPECT_EQ(box.txtInput->selectedText(), "Old Name");
        QTest::keyClicks(box.txtInput, "Work ISDN");
        QTest::mouseClick(box.cmdYes, Qt::LeftButton);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(input, "Work ISDN");
}

TEST_F(MsgBoxTest, InputStyleAcceptsWithReturnAndCancelsWithCancelOrTheCloseBox) {
    std::string input = "Home";
    EXPECT_EQ(Ask(kMsgBoxInput, input,
                  [](frmMsgBox& box) {
                      QTest::keyClicks(box.txtInput, "Office");
                      QTest::keyClick(box.txtInput, Qt::Key_Return);
                  }),
              1);
    EXPECT_EQ(input, "Office");

    EXPECT_EQ(Ask(kMsgBoxInput, input,
                  [](frmMsgBox& box) { QTest::mouseClick(box.cmdNo, Qt::LeftButton); }),
              0);
    EXPECT_EQ(Ask(kMsgBoxInput, input, [](frmMsgBox& box) { box.close(); }), 0);
    EXPECT_EQ(Ask(kMsgBoxInput, input,
                  [](frmMsgBox& box) { QTest::keyClick(box.txtInput, Qt::Key_Escape); }),
              0);
}

TEST_F(MsgBoxTest, QuestionStyleAnswersYesWithOneAndNoOrCloseWithZero) {
    std::string unused;
    EXPECT_EQ(Ask(kMsgBoxQuestion, unused,
                  [](frmMsgBox& box) {
                      EXPECT_FALSE(box.cmdOk->isVisible());
                      EXPECT_FALSE(box.txtInput->isVisible());
                      EXPECT_TRUE(box.cmdYes->isVisible());
                      EXPECT_TRUE(box.cmdNo->isVisible());
                      QTest::mouseClick(box.cmdYes, Qt::LeftButton);
                  }),
              1);
    EXPECT_EQ(Ask(kMsgBoxQuestion, unused,
                  [](frmMsgBox& box) { QTest::mouseClick(box.cmdNo, Qt::LeftButton); }),
              0);
    EXPECT_EQ(Ask(kMsgBoxQuestion, unused, [](frmMsgBox& box) { box.close(); }), 0);
}

TEST_F(MsgBoxTest, InformationAndUnknownStylesShowOkOnly) {
    for (const int style : {static_cast<int>(kMsgBoxInformation), 7}) {
        std::string unused;
        EXPECT_EQ(Ask(style, unused,
                      [](frmMsgBox& box) {
                          EXPECT_TRUE(box.cmdOk->isVisible());
                          EXPECT_FALSE(box.cmdYes->isVisible());
                          EXPECT_FALSE(box.cmdNo->isVisible());
                          EXPECT_TRUE(box.cmdOk->isDefault());
                          QTest::keyClick(&box, Qt::Key_Return);
                      }),
                  1)
            << style;
        EXPECT_EQ(Ask(style, unused, [](frmMsgBox& box) { box.close(); }), 0) << style;
    }
}

TEST_F(MsgBoxTest, ButtonsSpeakTheLanguageInUse) {
    UseLanguage("Deutsch", "yes=&Ja\nno=&Nein\nok=Weiter\ncancel=Abbrechen\n");
    std::string unused;
    Ask(kMsgBoxQuestion, unused, [](frmMsgBox& box) {
        EXPECT_EQ(box.cmdYes->text(), "&Ja");
        EXPECT_EQ(box.cmdNo->text(), "&Nein");
        box.close();
    });
    Ask(kMsgBoxInput, unused, [](frmMsgBox& box) {
        EXPECT_EQ(box.cmdYes->text(), "Weiter");
        EXPECT_EQ(box.cmdNo->text(), "Abbrechen");
        box.close();
    });
}

TEST_F(MsgBoxTest, ExtraHeightInTwipsMakesTheMessageAreaTaller) {
    frmMsgBox plain(app_);
    frmMsgBox grown(app_);
    grown.GrowMessageArea(1500);
    EXPECT_EQ(grown.lblInfo->minimumHeight() - plain.lblInfo->minimumHeight(), 100);
}

TEST_F(MsgBoxTest, ChooserOffersTheEntriesWithTheFirstSelectedAndOkOnly) {
    WhenModalOpens([](QWidget* modal) {
        auto* box = qobject_cast<frmMsgBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "Kestrelon 2000");
        EXPECT_EQ(box->lblInfo->text(), "Select Language");
        EXPECT_EQ(box->cmbMsgBox->count(), 3);
        EXPECT_EQ(box->cmbMsgBox->currentIndex(), 0);
        EXPECT_TRUE(box->cmdOk->isVisible());
        EXPECT_FALSE(box->cmdYes->isVisible());
        EXPECT_FALSE(box->cmdNo->isVisible());
        QTest::keyClick(box->cmbMsgBox, Qt::Key_Down);
        QTest::keyClick(box->cmbMsgBox, Qt::Key_Down);
        QTest::mouseClick(box->cmdOk, Qt::LeftButton);
    });
    EXPECT_EQ(ChooseFromList(app_, "Select Language", "Kestrelon 2000",
                             {"Default (English)", "Deutsch", "Nederlands"}),
              2);
}

TEST_F(MsgBoxTest, ClosingTheChooserChoosesTheFirstEntry) {
    WhenModalOpens([](QWidget* modal) {
        auto* box = qobject_cast<frmMsgBox*>(modal);
        ASSERT_NE(box, nullptr);
        QTest::keyClick(box->cmbMsgBox, Qt::Key_Down);
        box->close();
    });
    EXPECT_EQ(
        ChooseFromList(app_, "Select Language", "Kestrelon 2000", {"Default (English)", "Deutsch"}),
        0);
}

}  // namespace
}  // namespace kestrelon

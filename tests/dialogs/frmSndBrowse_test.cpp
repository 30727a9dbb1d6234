#include "dialogs/frmSndBrowse.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <filesystem>

#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

using test::WhenModalOpens;

class SndBrowseTest : public test::WindowTest {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(dir_.File("Sounds/Older"));
        test::WriteFile(dir_.File("Sounds/ding.wav"), "RIFF");
        test::WriteFile(dir_.File("Sounds/ALARM.WAV"), "RIFF");
        test::WriteFile(dir_.File("Sounds/readme.txt"), "not a sound");
    }

    static QStringList Texts(const QListWidget* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) {
            texts << list->item(i)->text();
        }
        return texts;
    }

    static void Click(QListWidget* list, const QString& text) {
        const auto found = list->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(found.front()).center());
    }
};

TEST_F(SndBrowseTest, AFolderShowsItsSubfoldersAndItsWaveFilesOnly) {
    frmSndBrowse browser(app_);
    browser.show();
    browser.SetFolder(dir_.File("Sounds"));
    EXPECT_EQ(Texts(browser.flstSound), (QStringList{"ALARM.WAV", "ding.wav"}));
    EXPECT_EQ(Texts(browser.dirSound), (QStringList{"..", "Older"}));
    EXPECT_EQ(browser.lblFolder->text().toStdString(), dir_.File("Sounds"));
    // Until a file is clicked there is nothing to accept or play.
    EXPECT_FALSE(browser.cmdOk->isEnabled());
    EXPECT_FALSE(browser.cmdPlay->isEnabled());

    Click(browser.dirSound, "Older");
    QTest::keyClick(browser.dirSound, Qt::Key_Return);
    EXPECT_EQ(browser.Folder(), dir_.File("Sounds/Older"));
    EXPECT_EQ(browser.flstSound->count(), 0);
    // ".." leads back up; a folder that does not exist changes nothing.
    Click(browser.dirSound, "..");
    QTest::keyClick(browser.dirSound, Qt::Key_Return);
    EXPECT_EQ(browser.Folder(), dir_.File("Sounds"));
    browser.SetFolder(dir_.File("does not exist"));
    EXPECT_EQ(browser.Folder(), dir_.File("Sounds"));
    EXPECT_EQ(browser.flstSound->count(), 2);
}

TEST_F(SndBrowseTest, PlayListensToTheClickedFile) {
    frmSndBrowse browser(app_);
    browser.show();
    browser.SetFolder(dir_.File("Sounds"));
    Click(browser.flstSound, "ding.wav");
    EXPECT_EQ(browser.SelectedPath(), dir_.File("Sounds/ding.wav"));
    EXPECT_TRUE(browser.cmdOk->isEnabled());
    QTest::mouseClick(browser.cmdPlay, Qt::LeftButton);
    ASSERT_EQ(fake_.sound.played.size(), 1U);
    EXPECT_EQ(fake_.sound.played[0].path, dir_.File("Sounds/ding.wav"));
    EXPECT_FALSE(fake_.sound.played[0].keepPlaying);
}

TEST_F(SndBrowseTest, BrowsingStartsAtTheCurrentFileAndOkReturnsTheChosenOne) {
    std::string path = dir_.File("Sounds/ding.wav");
    WhenModalOpens([&](QWidget* modal) {
        auto* browser = qobject_cast<frmSndBrowse*>(modal);
        ASSERT_NE(browser, nullptr);
        EXPECT_EQ(browser->flstSound->currentItem()->text(), "ding.wav");
        Click(browser->flstSound, "ALARM.WAV");
        QTest::mouseClick(browser->cmdOk, Qt::LeftButton);
    });
    EXPECT_TRUE(BrowseSound(app_, path, nullptr));
    EXPECT_EQ(path, dir_.File("Sounds/ALARM.WAV"));
}

TEST_F(SndBrowseTest, CancelOrTheCloseBoxLeaveThePathAlone) {
    std::string path = dir_.File("Sounds/ding.wav");
    WhenModalOpens([&](QWidget* modal) {
        auto* browser = qobject_cast<frmSndBrowse*>(modal);
        ASSERT_NE(browser, nullptr);
        Click(browser->flstSound, "ALARM.WAV");
        QTest::mouseClick(browser->cmdCancel, Qt::LeftButton);
    });
    EXPECT_FALSE(BrowseSound(app_, path, nullptr));
    EXPECT_EQ(path, dir_.File("Sounds/ding.wav"));

    WhenModalOpens([&](QWidget* modal) {
        auto* browser = qobject_cast<frmSndBrowse*>(modal);
        ASSERT_NE(browser, nullptr);
        Click(browser->flstSound, "ALARM.WAV");
        browser->close();
    });
    EXPECT_FALSE(BrowseSound(app_, path, nullptr));
    EXPECT_EQ(path, dir_.File("Sounds/ding.wav"));
}

TEST_F(SndBrowseTest, WithoutAUsableCurrentPathBrowsingStartsInTheProgramDirectory) {
    for (std::string path : {std::string(), dir_.File("gone/away.wav")}) {
        WhenModalOpens([&](QWidget* modal) {
            auto* browser = qobject_cast<frmSndBrowse*>(modal);
            ASSERT_NE(browser, nullptr);
            EXPECT_EQ(browser->Folder(), dir_.Path());
            EXPECT_TRUE(Texts(browser->dirSound).contains("Sounds"));
            browser->close();
        });
        EXPECT_FALSE(BrowseSound(app_, path, nullptr));
    }
}

}  // namespace
}  // namespace kestrelon

#include "dialogs/frmAbout.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "core/CheckVersion.h"
#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

using AboutTest = test::WindowTest;

TEST_F(AboutTest, ShowsTheVersionAndOpensTheDownloadAddressWhenClicked) {
    frmAbout about(app_);
    about.show();
    EXPECT_EQ(about.windowTitle(), "About Kestrelon 2000...");
    EXPECT_TRUE(about.lblAbout->text().contains(QString::fromStdString(ProgramVersionText())));
    EXPECT_EQ(about.lblURL->text(), frmAbout::kDownloadAddress);

    QTest::mouseClick(about.lblURL, Qt::LeftButton);
    EXPECT_EQ(fake_.shell.opened, std::vector<std::string>{frmAbout::kDownloadAddress});
    // A right click is not a click on the link.
    QTest::mouseClick(about.lblURL, Qt::RightButton);
    EXPECT_EQ(fake_.shell.opened.size(), 1U);

    QTest::mouseClick(about.cmdOk, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST_F(AboutTest, AnotherLanguageCreditsItsTranslator) {
    UseLanguage("Deutsch",
                "aboutcapt=Über Kestrelon 2000...\n"
                "download=Die neueste Version gibt es unter:\n"
                "translation=Übersetzt von Anna Beispiel\n");
    frmAbout about(app_);
    EXPECT_EQ(about.windowTitle(), "Über Kestrelon 2000...");
    EXPECT_EQ(about.lblDownload->text(), "Die neueste Version gibt es unter:");
    EXPECT_EQ(about.lblTrans->text(), "Übersetzt von Anna Beispiel");

    app_.lang.SetLanguageInUse("");
    frmAbout english(app_);
    EXPECT_TRUE(english.lblTrans->text().startsWith("Thanks"));
}

}  // namespace
}  // namespace kestrelon

#include "dialogs/frmHelp.h"

#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include <filesystem>

#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

class HelpTest : public test::WindowTest {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(dir_.File("help"));
        test::WriteFile(dir_.File("help/index.htm"),
                        "<html><body><h1>Contents</h1><a href='log.htm'>Logs</a></body></html>");
        test::WriteFile(dir_.File("help/log.htm"),
                        "<html><body><h1>Logs</h1>"
                        "<a href='missing.htm'>Gone</a> "
                        "<a href='https://kestrelon.example/faq'>FAQ</a></body></html>");
    }

    static QString Page(const frmHelp& help) { return help.txtHelp->source().fileName(); }

    void Follow(frmHelp& help, const char* link) { emit help.txtHelp->anchorClicked(QUrl(link)); }
};

TEST_F(HelpTest, LinksStayInTheWindowAndBackAndForwardRetraceThem) {
    frmHelp help(app_, nullptr);
    help.show();
    help.ShowPage(dir_.File("help/index.htm"));
    EXPECT_EQ(Page(help), "index.htm");
    EXPECT_FALSE(help.cmdBack->isEnabled());

    Follow(help, "log.htm");
    EXPECT_EQ(Page(help), "log.htm");
    EXPECT_TRUE(help.txtHelp->toPlainText().startsWith("Logs"));
    ASSERT_TRUE(help.cmdBack->isEnabled());
    QTest::mouseClick(help.cmdBack, Qt::LeftButton);
    EXPECT_EQ(Page(help), "index.htm");
    ASSERT_TRUE(help.cmdForward->isEnabled());
    QTest::mouseClick(help.cmdForward, Qt::LeftButton);
    EXPECT_EQ(Page(help), "log.htm");
    QTest::mouseClick(help.cmdContents, Qt::LeftButton);
    EXPECT_EQ(Page(help), "index.htm");
    EXPECT_TRUE(fake_.shell.opened.empty());
}

TEST_F(HelpTest, WebAddressesGoToTheBrowserAndMissingPagesSaySo) {
    frmHelp help(app_, nullptr);
    help.ShowPage(dir_.File("help/log.htm"));
    Follow(help, "https://kestrelon.example/faq");
    EXPECT_EQ(fake_.shell.opened, std::vector<std::string>{"https://kestrelon.example/faq"});
    EXPECT_EQ(Page(help), "log.htm");

    Follow(help, "missing.htm");
    EXPECT_TRUE(help.txtHelp->toPlainText().contains("missing.htm"));
    EXPECT_TRUE(help.txtHelp->toPlainText().contains("could not be found"));
}

TEST_F(HelpTest, ContentsOfAFolderWithoutAnIndexSaySoToo) {
    std::filesystem::remove(dir_.File("help/index.htm"));
    UseLanguage("Deutsch", "helpmissing=Die Hilfeseite # fehlt.\nhelpcontents=&Inhalt\n");
    frmHelp help(app_, nullptr);
    EXPECT_EQ(help.cmdContents->text(), "&Inhalt");
    help.ShowPage(dir_.File("help/log.htm"));
    QTest::mouseClick(help.cmdContents, Qt::LeftButton);
    EXPECT_EQ(help.txtHelp->toPlainText().toStdString(),
              "Die Hilfeseite " + dir_.File("help/index.htm") + " fehlt.");
}

}  // namespace
}  // namespace kestrelon

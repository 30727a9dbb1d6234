#include "dialogs/frmLog.h"

#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTextCursor>
#include <fstream>

#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

class LogViewTest : public test::WindowTest {
  protected:
    LogViewTest() {
        app_.settings.ProgLog = "Program.log";
        app_.settings.DialLog = "Dial.log";
        app_.settings.ErrorLog = "Error.log";
    }
    static void Append(const std::string& path, const std::string& text) {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        out << text;
    }
    // Line i of a log, 48 characters; with its CR LF 50 bytes.
    static std::string Line(int i) {
        std::string line = "06/12/26 10:00:00  line " + std::to_string(i) + " ";
        line.resize(48, '.');
        return line;
    }
    static std::string Lines(int from, int count) {
        std::string text;
        for (int i = from; i < from + count; ++i) {
            text += Line(i) + "\r\n";
        }
        return text;
    }
    static QString Shown(const frmLogView& view) { return view.txtLogView->toPlainText(); }
};

TEST_F(LogViewTest, ASmallLogIsShownWhole) {
    const std::string content = Lines(1, 2);
    ASSERT_EQ(content.size(), 100U);
    test::WriteFile(dir_.File("Program.log"), content);
    frmLogView view(app_);
    view.SelectLog(0);
    view.show();
    EXPECT_TRUE(view.optLogSel[0]->isChecked());
    EXPECT_EQ(Shown(view), QString::fromStdString(Lines(1, 2)).remove('\r'));
    EXPECT_EQ(view.windowTitle(), "Log");
}

TEST_F(LogViewTest, ALargeLogShowsItsLastTenKilobytesFromALineStart) {
    test::WriteFile(dir_.File("Dial.log"), Lines(1, 1000));  // 50000 bytes
    frmLogView view(app_);
    view.SelectLog(1);
    view.show();
    const QString shown = Shown(view);
    // The last 10240 bytes but the closing CR LF begin inside line 796; the view starts with
    // the next whole line and ends with the last line, without its line break.
    EXPECT_TRUE(shown.startsWith(QString::fromStdString(Line(797) + "\n")))
        << shown.left(60).toStdString();
    EXPECT_TRUE(shown.endsWith(QString::fromStdString("\n" + Line(1000))))
        << shown.right(60).toStdString();
    EXPECT_EQ(shown.count('\n'), 203);
    // The view is scrolled to the end.
    EXPECT_TRUE(view.txtLogView->textCursor().atEnd());
}

TEST_F(LogViewTest, ALineAppendedWhileOpenAppearsWithinASecond) {
    const std::string path = dir_.File("Error.log");
    test::WriteFile(path, Lines(1, 3));
    frmLogView view(app_);
    view.SelectLog(2);
    view.show();
    const int reads = view.Reads();
    view.Refresh();
    EXPECT_EQ(view.Reads(), reads);  // an unchanged log is not read again
    Append(path, "06/12/26 10:00:05  Encountered error 678\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(Shown(view).contains("Encountered error 678"), 1500);
}

TEST_F(LogViewTest, AnotherChoiceReloadsAtOnceAndAMissingLogShowsNothing) {
    test::WriteFile(dir_.File("Program.log"), "06/12/26 10:00:00  Kestrelon started\r\n");
    frmLogView view(app_);
    view.SelectLog(0);
    view.show();
    EXPECT_TRUE(Shown(view).contains("Kestrelon started"));
    QTest::mouseClick(view.optLogSel[1], Qt::LeftButton);
    EXPECT_TRUE(view.optLogSel[1]->isChecked());
    EXPECT_TRUE(Shown(view).isEmpty());
    QTest::mouseClick(view.optLogSel[0], Qt::LeftButton);
    EXPECT_TRUE(Shown(view).contains("Kestrelon started"));
}

}  // namespace
}  // namespace kestrelon

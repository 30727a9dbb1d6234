#include "profiles/frmEntry.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "dialer/SimulatedRasPhoneBook.h"
#include "platform/qt/WindowTestSupport.h"
#include "profiles/PhoneBookEntries.h"

namespace kestrelon {
namespace {

class EntryTest : public test::WindowTest {
  protected:
    void SetUp() override {
        test::WriteFile(path_, "[Harbour Net]\nPhoneNumber=0800 2\nUserName=sailor\nHangUpMs=50\n");
    }
    std::string path_ = dir_.File("rasphone.pbk");
};

TEST_F(EntryTest, ANewEntryIsWrittenAsTheServiceReadsItAndNeedsAFreeName) {
    frmEntry dialog(app_, path_, "");
    dialog.show();
    QTest::keyClicks(dialog.txtName, "harbour [net]");
    EXPECT_EQ(dialog.txtName->text(), "harbour net") << "brackets cannot be typed";
    QTest::keyClicks(dialog.txtNumber, "0800x 555");
    EXPECT_EQ(dialog.txtNumber->text(), "0800 555");
    QTest::keyClicks(dialog.txtAnswer, "busy, connect");
    QTest::keyClicks(dialog.txtDeviceMs, "5a00");
    QTest::keyClicks(dialog.txtIpAddress, "10.0.0.x7");
    QTest::mouseClick(dialog.cmdOk, Qt::LeftButton);
    EXPECT_EQ(fake_.sound.beeps, 1) << "the name is taken";
    EXPECT_TRUE(dialog.isVisible());

    dialog.txtName->setText("Kestrel Line");
    QTest::keyClicks(dialog.txtUser, "kes");
    QTest::keyClicks(dialog.txtPass, "pw");
    QTest::mouseClick(dialog.cmdOk, Qt::LeftButton);
    ASSERT_TRUE(dialog.Accepted());
    EXPECT_EQ(dialog.EntryName(), "Kestrel Line");
    const auto entry = FindEntry(ParsePhoneBook(test::ReadFile(path_)), "Kestrel Line");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->phoneNumber, "0800 555");
    EXPECT_EQ(entry->userName, "kes");
    EXPECT_EQ(entry->password, "pw");
    EXPECT_EQ(entry->answers.size(), 2u);
    EXPECT_EQ(entry->deviceMs, 500u);
    EXPECT_EQ(entry->ipAddress, "10.0.0.7");
}

TEST_F(EntryTest, EditingKeepsTheNameAndKeysTheDialogDoesNotShow) {
    frmEntry dialog(app_, path_, "Harbour Net");
    EXPECT_FALSE(dialog.txtName->isEnabled());
    EXPECT_EQ(dialog.txtUser->text(), "sailor");
    dialog.txtNumber->setText("0900 1");
    QTest::mouseClick(dialog.cmdOk, Qt::LeftButton);
    const auto entry = FindEntry(ParsePhoneBook(test::ReadFile(path_)), "Harbour Net");
    EXPECT_EQ(entry->phoneNumber, "0900 1");
    EXPECT_EQ(entry->hangUpMs, 50u);

    frmEntry cancelled(app_, path_, "Harbour Net");
    cancelled.txtNumber->setText("nothing");
    QTest::mouseClick(cancelled.cmdCancel, Qt::LeftButton);
    EXPECT_EQ(ReadPhoneBookEntry(path_, "Harbour Net").phoneNumber, "0900 1");
}

}  // namespace
}  // namespace kestrelon

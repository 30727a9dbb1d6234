#include "charges/frmChargeProf.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "ChargeTestSupport.h"
#include "charges/ChargeProfileStore.h"
#include "charges/ChargeState.h"
#include "core/INIio.h"
#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

using test::Cents;
using test::TimeOfDay;

class ChargeProfEditorTest : public test::WindowTest {
  protected:
    ChargeProfEditorTest() {
        SetIniRegionalFormat(RegionalFormat{});
        profile_.Name = "Night";
        profile_.StartRate = Cents(10);
        profile_.BaseRate = Cents(300);
    }
    ~ChargeProfEditorTest() override { SetIniRegionalFormat(RegionalFormat{}); }

    std::unique_ptr<frmChargeProf> Open() {
        auto editor = std::make_unique<frmChargeProf>(app_, profile_);
        editor->Fill();
        editor->show();
        return editor;
    }
    static QStringList Lines(const frmChargeProf& e) {
        QStringList lines;
        for (int i = 0; i < e.lstRates->count(); ++i) {
            lines << e.lstRates->item(i)->text();
        }
        return lines;
    }
    static void Type(QLineEdit* field, const QString& text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    // The user picks an entry of a time list with the keyboard.
    static void Choose(QComboBox* box, int index) {
        box->setCurrentIndex(index - 1);
        QTest::keyClick(box, Qt::Key_Down);
    }

    ChargeProfile profile_;
};

TEST_F(ChargeProfEditorTest, OpensWithTheProfileAndDisabledRateSettings) {
    profile_.Window(++profile_.nItems) = {62, TimeOfDay(8), TimeOfDay(18), Cents(1200)};
    const auto e = Open();
    EXPECT_EQ(e->txtName->text(), "Night");
    EXPECT_EQ(e->txtStartRate->text(), "$0.10");
    EXPECT_EQ(e->txtBaseRate->text(), "$3.00");
    EXPECT_EQ(Lines(*e), QStringList{"$12.00"});
    EXPECT_FALSE(e->frmRate->isEnabled());
    EXPECT_FALSE(e->cmdDelete->isEnabled());
    EXPECT_EQ(e->cmbTime[0]->count(), 24);
    EXPECT_EQ(e->cmbTime[3]->count(), 60);
    EXPECT_EQ(e->cmbTime[2]->itemText(5), "05");

    e->lstRates->setCurrentRow(0);
    EXPECT_EQ(e->CurrentWindow(), 1);
    EXPECT_TRUE(e->frmRate->isEnabled());
    EXPECT_EQ(e->cmbTime[0]->currentText(), "08");
    EXPECT_EQ(e->cmbTime[1]->currentText(), "18");
    EXPECT_EQ(e->txtRate->text(), "$12.00");
    EXPECT_FALSE(e->chkWeekday[0]->isChecked());
    EXPECT_TRUE(e->chkWeekday[1]->isChecked());
    EXPECT_FALSE(e->cmdMoveUp->isEnabled());
    EXPECT_FALSE(e->cmdMoveDown->isEnabled());
}

TEST_F(ChargeProfEditorTest, InsertStartsAtTheBaseRateAsACopyOfTheLastWindow) {
    const auto e = Open();
    QTest::mouseClick(e->cmdRate, Qt::LeftButton);
    ASSERT_EQ(profile_.nItems, 1);
    EXPECT_EQ(profile_.Window(1), (RateWindow{0, 0, 0, Cents(300)}));
    EXPECT_EQ(e->CurrentWindow(), 1);
    EXPECT_EQ(e->lstRates->currentRow(), 0);

    // The user shapes window 1: Monday to Friday 08:30-18:00 at 12.00.
    Choose(e->cmbTime[0], 8);
    Choose(e->cmbTime[2], 30);
    Choose(e->cmbTime[1], 18);
    for (int k = 1; k <= 5; ++k) {
        QTest::mouseClick(e->chkWeekday[static_cast<std::size_t>(k)], Qt::LeftButton, {},
                          QPoint(4, e->chkWeekday[static_cast<std::size_t>(k)]->height() / 2));
    }
    Type(e->txtRate, "12");
    EXPECT_EQ(profile_.Window(1),
              (RateWindow{test::kMondayToFriday, TimeOfDay(8, 30), TimeOfDay(18), Cents(1200)}));
    EXPECT_EQ(Lines(*e), QStringList{"$12.00"});

    QTest::mouseClick(e->cmdRate, Qt::LeftButton);
    ASSERT_EQ(profile_.nItems, 2);
    EXPECT_EQ(profile_.Window(2),
              (RateWindow{test::kMondayToFriday, TimeOfDay(8, 30), TimeOfDay(18), Cents(300)}));
    EXPECT_EQ(Lines(*e), (QStringList{"$12.00", "$3.00"}));
    EXPECT_TRUE(e->cmdMoveUp->isEnabled());
    EXPECT_FALSE(e->cmdMoveDown->isEnabled());
}

TEST_F(ChargeProfEditorTest, UncheckingEveryWeekdayGivesZero) {
    profile_.Window(++profile_.nItems) = {65, TimeOfDay(0), TimeOfDay(0), Cents(100)};
    const auto e = Open();
    e->lstRates->setCurrentRow(0);
    for (std::size_t k : {0u, 6u}) {
        QTest::mouseClick(e->chkWeekday[k], Qt::LeftButton, {},
                          QPoint(4, e->chkWeekday[k]->height() / 2));
    }
    EXPECT_EQ(profile_.Window(1).WeekDays, 0);
}

TEST_F(ChargeProfEditorTest, CommaDecimalRatesAreReadAsTyped) {
    RegionalFormat comma;
    comma.decimalSeparator = ",";
    comma.thousandsSeparator = ".";
    comma.currencySymbol = "EUR";
    comma.symbolBeforeAmount = false;
    comma.symbolSeparatedBySpace = true;
    SetIniRegionalFormat(comma);
    profile_.Window(++profile_.nItems) = {127, TimeOfDay(0), TimeOfDay(0), Cents(100)};
    const auto e = Open();
    EXPECT_EQ(e->txtBaseRate->text(), "3,00 EUR");
    e->lstRates->setCurrentRow(0);
    Type(e->txtRate, "1,");
    EXPECT_EQ(profile_.Window(1).Rate, Cents(100));
    QTest::keyClicks(e->txtRate, "5");
    EXPECT_EQ(profile_.Window(1).Rate, Cents(150));
    EXPECT_EQ(Lines(*e), QStringList{"1,50 EUR"});
    // Text that does not convert leaves the value.
    QTest::keyClicks(e->txtRate, "x");
    EXPECT_EQ(profile_.Window(1).Rate, Cents(150));
    Type(e->txtStartRate, "0,25");
    Type(e->txtBaseRate, "2,5");
    EXPECT_EQ(profile_.StartRate, Cents(25));
    EXPECT_EQ(profile_.BaseRate, Cents(250));
}

TEST_F(ChargeProfEditorTest, DeleteAndMove) {
    for (int i = 1; i <= 3; ++i) {
        profile_.Window(++profile_.nItems) = {127, TimeOfDay(i), TimeOfDay(i + 1), Cents(i * 100)};
    }
    const auto e = Open();
    e->lstRates->setCurrentRow(0);
    QTest::mouseClick(e->cmdMoveDown, Qt::LeftButton);
    EXPECT_EQ(Lines(*e), (QStringList{"$2.00", "$1.00", "$3.00"}));
    EXPECT_EQ(e->lstRates->currentRow(), 1);
    EXPECT_EQ(e->CurrentWindow(), 2);
    EXPECT_EQ(profile_.Window(2).StartTime, TimeOfDay(1));
    QTest::mouseClick(e->cmdMoveUp, Qt::LeftButton);
    EXPECT_EQ(Lines(*e), (QStringList{"$1.00", "$2.00", "$3.00"}));
    EXPECT_EQ(e->CurrentWindow(), 1);

    e->lstRates->setCurrentRow(1);
    QTest::mouseClick(e->cmdDelete, Qt::LeftButton);
    EXPECT_EQ(profile_.nItems, 2);
    EXPECT_EQ(profile_.Window(2).Rate, Cents(300));
    EXPECT_EQ(Lines(*e), (QStringList{"$1.00", "$3.00"}));
    EXPECT_FALSE(e->frmRate->isEnabled());
    EXPECT_FALSE(e->cmdDelete->isEnabled());
    EXPECT_EQ(e->CurrentWindow(), 0);

    // Deleting the only window leaves an empty list.
    profile_.nItems = 1;
    e->Fill();
    e->lstRates->setCurrentRow(0);
    QTest::mouseClick(e->cmdDelete, Qt::LeftButton);
    EXPECT_EQ(profile_.nItems, 0);
    EXPECT_EQ(e->lstRates->count(), 0);
    EXPECT_FALSE(e->frmRate->isEnabled());
}

TEST_F(ChargeProfEditorTest, ASixtyFourthWindowIsRefused) {
    const auto e = Open();
    for (int i = 0; i < ChargeProfile::kMaxWindows; ++i) {
        QTest::mouseClick(e->cmdRate, Qt::LeftButton);
    }
    EXPECT_EQ(profile_.nItems, 63);
    EXPECT_TRUE(fake_.messages.informations.empty());
    QTest::mouseClick(e->cmdRate, Qt::LeftButton);
    EXPECT_EQ(profile_.nItems, 63);
    EXPECT_EQ(e->lstRates->count(), 63);
    ASSERT_EQ(fake_.messages.informations.size(), 1u);
    EXPECT_EQ(fake_.messages.informations[0].text,
              "A charge profile holds at most 63 rate windows.");
}

TEST_F(ChargeProfEditorTest, EditSavesAfterOkOnly) {
    SaveChargeProfile(profile_);
    ChargeState charges;
    test::WhenModalOpens([](QWidget* modal) {
        auto* e = qobject_cast<frmChargeProf*>(modal);
        ASSERT_NE(e, nullptr);
        QTest::mouseClick(e->cmdRate, Qt::LeftButton);
        QTest::mouseClick(e->cmdCancel, Qt::LeftButton);
    });
    EXPECT_FALSE(EditChargeProfile(app_, charges, "Night"));
    EXPECT_EQ(charges.EditedChargeProfile.nItems, 1);
    EXPECT_EQ(ReadChargeProfile("Night").nItems, 0);

    test::WhenModalOpens([](QWidget* modal) {
        auto* e = qobject_cast<frmChargeProf*>(modal);
        ASSERT_NE(e, nullptr);
        // Reloaded from the file: Cancel's change is gone.
        EXPECT_EQ(e->lstRates->count(), 0);
        QTest::mouseClick(e->cmdRate, Qt::LeftButton);
        QTest::mouseClick(e->cmdOk, Qt::LeftButton);
    });
    EXPECT_TRUE(EditChargeProfile(app_, charges, "Night"));
    EXPECT_EQ(ReadChargeProfile("Night").nItems, 1);
    EXPECT_EQ(ReadChargeProfile("Night").Window(1).Rate, Cents(300));
}

TEST_F(ChargeProfEditorTest, CaptionsAreTranslated) {
    UseLanguage("Deutsch",
                "chargeprofile=Gebührenprofil\ninsert=Einfügen\nmonday=Montag\n"
                "ratesettings=Tarif\n");
    const auto e = Open();
    EXPECT_EQ(e->windowTitle(), "Gebührenprofil");
    EXPECT_EQ(e->cmdRate->text(), "Einfügen");
    EXPECT_EQ(e->chkWeekday[1]->text(), "Montag");
    EXPECT_EQ(e->frmRate->title(), "Tarif");
    EXPECT_EQ(e->chkWeekday[2]->text(), "Tuesday");
}

}  // namespace
}  // namespace kestrelon

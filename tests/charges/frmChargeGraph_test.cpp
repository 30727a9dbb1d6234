#include "charges/frmChargeGraph.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "ChargeTestSupport.h"
#include "charges/ChargeProfileStore.h"
#include "charges/ChargeState.h"
#include "charges/Statistics.h"
#include "core/INIio.h"
#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

using test::At;
using test::Cents;

class ChargeGraphWindowTest : public test::WindowTest {
  protected:
    ChargeGraphWindowTest() {
        SetIniRegionalFormat(RegionalFormat{});
        ChargeProfile p = test::Profile(Cents(10), Cents(600));
        p.Name = "Base";
        SaveChargeProfile(p);
        fake_.clock.SetNow(LocalTime{2026, 12, 8, 12, 30, 0, 0, 2});
    }
    void Record(const std::string& con, double start, double end) {
        WriteStatisticsRecord(con, "Base", start, end, fake_.messages);
    }
    std::unique_ptr<frmChargeGraph> Open(std::function<void()> recordRunning = {}) {
        auto graph = std::make_unique<frmChargeGraph>(app_, charges_, recordRunning);
        graph->show();
        return graph;
    }
    static QStringList Entries(const QComboBox* box) {
        QStringList entries;
        for (int i = 0; i < box->count(); ++i) {
            entries << box->itemText(i);
        }
        return entries;
    }

    ChargeState charges_;
};

TEST_F(ChargeGraphWindowTest, WithoutDataTheCommandSaysSo) {
    ShowChargeGraph(app_, charges_, std::function<void()>{});
    ASSERT_EQ(fake_.messages.informations.size(), 1u);
    EXPECT_EQ(fake_.messages.informations[0].text, "No data available");
    EXPECT_EQ(fake_.messages.informations[0].title, "Kestrelon 2000");
    test::WriteFile(StatisticsFilePath(), "");
    ShowChargeGraph(app_, charges_, std::function<void()>{});
    EXPECT_EQ(fake_.messages.informations.size(), 2u);
}

TEST_F(ChargeGraphWindowTest, OpensOnTheDayWithTotalsAndTheRunningConnection) {
    Record("Office", At(2026, 12, 7, 23, 30), At(2026, 12, 8, 0, 30));
    bool recorded = false;
    const auto g = Open([&] {
        recorded = true;
        Record("Home", At(2026, 12, 8, 11), At(2026, 12, 8, 12, 30));
    });
    EXPECT_TRUE(recorded);
    EXPECT_EQ(g->windowTitle(), "Telephone Charges");
    EXPECT_EQ(Entries(g->cmbGraphSel), (QStringList{"Telephone Charges", "Online Time"}));
    EXPECT_EQ(Entries(g->cmbConProfs), (QStringList{"All Connection Profiles", "Office", "Home"}));
    EXPECT_EQ(Entries(g->cmbStatProf), (QStringList{"Last Day", "Last Month", "Last Year"}));
    EXPECT_EQ(g->lblXAx->text(), "Hour");
    EXPECT_EQ(g->lblCostSummary[0]->text(), "Total previous Day:");
    EXPECT_EQ(g->lblTimeSummary[1]->text(), "Total this Day:");
    EXPECT_EQ(g->lblCostSummary[2]->text(), "Estimated this Day:");
    EXPECT_EQ(g->lblCostValue[0]->text(), "$3.10");
    // Today: half an hour of Office, one and a half hours of Home with its start rate.
    EXPECT_EQ(g->lblCostValue[1]->text(), "$12.10");
    EXPECT_EQ(g->lblTimeValue[1]->text(), "2:00");
    // 2 hours in 12.5 hours of the day: 3:50 for the whole day.
    EXPECT_EQ(g->lblTimeValue[2]->text(), "3:50");
    EXPECT_EQ(g->Data().bars[23].label, "11");
    EXPECT_EQ(g->Data().bars[23].seconds, 3600);
}

TEST_F(ChargeGraphWindowTest, SelectionsRecomputeOrRedrawAndAreStoredOnClose) {
    Record("Office", At(2026, 12, 1, 10), At(2026, 12, 1, 11));
    Record("Home", At(2026, 12, 2, 10), At(2026, 12, 2, 12));
    IniWrite("TelCharge", "GraphSel", 1);
    IniWrite("TelCharge", "StatProf", 1);
    IniWrite("TelCharge", "ConProfs", 7);  // beyond the list
    auto g = Open();
    EXPECT_EQ(g->cmbGraphSel->currentIndex(), 1);
    EXPECT_EQ(g->cmbStatProf->currentIndex(), 1);
    EXPECT_EQ(g->cmbConProfs->currentIndex(), 0);
    EXPECT_EQ(g->Computations(), 1);
    EXPECT_EQ(g->lblXAx->text(), "Day");
    EXPECT_EQ(g->lblTimeValue[1]->text(), "3:00");

    g->cmbGraphSel->setCurrentIndex(0);
    EXPECT_EQ(g->Computations(), 1);
    g->cmbConProfs->setCurrentIndex(2);
    EXPECT_EQ(g->Computations(), 2);
    EXPECT_EQ(g->lblTimeValue[1]->text(), "2:00");
    EXPECT_EQ(g->lblCostValue[1]->text(), "$12.10");
    g->cmbStatProf->setCurrentIndex(2);
    EXPECT_EQ(g->Computations(), 3);
    EXPECT_EQ(g->lblXAx->text(), "Month");
    EXPECT_EQ(g->lblCostSummary[0]->text(), "Total previous Year:");

    QTest::mouseClick(g->cmdOk, Qt::LeftButton);
    EXPECT_FALSE(g->isVisible());
    EXPECT_EQ(IniReadNumber("TelCharge", "GraphSel"), 0);
    EXPECT_EQ(IniReadNumber("TelCharge", "StatProf"), 2);
    EXPECT_EQ(IniReadNumber("TelCharge", "ConProfs"), 2);
}

TEST_F(ChargeGraphWindowTest, MouseReadoutShowsTheBarUnderThePointer) {
    Record("Office", At(2026, 12, 8, 11), At(2026, 12, 8, 11, 45));
    auto g = Open();
    g->resize(800, 600);
    QTest::qWait(10);
    const GraphLayout& l = g->pctGraph->Layout();
    const double lastBar = l.left + l.plotWidth - l.slot / 2;
    EXPECT_EQ(g->pctGraph->ReadoutAt(lastBar), "$4.60");
    QTest::mouseMove(g->pctGraph, QPoint(static_cast<int>(lastBar), 50));
    EXPECT_EQ(g->pctGraph->toolTip(), "$4.60");
    QTest::mouseMove(g->pctGraph, QPoint(2, 50));
    EXPECT_EQ(g->pctGraph->toolTip(), "");
    g->cmbGraphSel->setCurrentIndex(1);
    EXPECT_EQ(g->pctGraph->ReadoutAt(lastBar), "0:45");
    // The charges axis: 4.60 gives steps of 0.50 up to 5.00.
    g->cmbGraphSel->setCurrentIndex(0);
    EXPECT_DOUBLE_EQ(g->pctGraph->Axis().step, 0.5);
    EXPECT_DOUBLE_EQ(g->pctGraph->Axis().top, 5.0);
}

}  // namespace
}  // namespace kestrelon

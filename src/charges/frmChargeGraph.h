#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "charges/ChargeGraph.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace kestrelon {

class AppCore;
class DialSessionController;
class StatisticsReader;
struct ChargeState;

// The drawing area of the graph; it paints what its window computed.
class GraphArea : public QWidget {
    Q_OBJECT
  public:
    explicit GraphArea(QWidget* parent = nullptr);

    // onlineTime: the bars show seconds, otherwise charges; bars empty = nothing selected.
    void SetData(const std::vector<GraphBar>* bars, bool onlineTime);
    const GraphLayout& Layout() const { return layout_; }
    const GraphAxis& Axis() const { return axis_; }
    // The tool tip text for a pointer at x ("" outside the plot).
    QString ReadoutAt(double x) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Recalculate();
    double BarValue(const GraphBar& bar) const;
    QString LevelText(double value) const;

    const std::vector<GraphBar>* bars_ = nullptr;
    bool onlineTime_ = false;
    GraphAxis axis_;
    GraphLayout layout_;
};

// The charges graph: charges or online time per hour, day or month, with totals for the
// previous and the current period and an estimate for the whole current period.
class frmChargeGraph : public QDialog {
    Q_OBJECT
  public:
    // recordRunning writes the running connection's record before the file is read.
    frmChargeGraph(AppCore& app, ChargeState& charges, const std::function<void()>& recordRunning,
                   QWidget* parent = nullptr);
    ~frmChargeGraph() override;

    const GraphData& Data() const { return data_; }
    double Reference() const { return reference_; }
    // How often the computation ran (a kind change only redraws).
    int Computations() const { return computations_; }

    QComboBox* cmbGraphSel = nullptr;
    QComboBox* cmbConProfs = nullptr;
    QComboBox* cmbStatProf = nullptr;
    QGroupBox* frmGraph = nullptr;
    GraphArea* pctGraph = nullptr;
    QLabel* lblXAx = nullptr;
    QLabel* lblConProf = nullptr;
    QLabel* lblPeriod = nullptr;
    QGroupBox* frmCost = nullptr;
    QGroupBox* frmOnlineTime = nullptr;
    std::array<QLabel*, 3> lblCostSummary{};
    std::array<QLabel*, 3> lblCostValue{};
    std::array<QLabel*, 3> lblTimeSummary{};
    std::array<QLabel*, 3> lblTimeValue{};
    QPushButton* cmdOk = nullptr;

  public slots:
    void done(int result) override;

  private:
    void BuildControls();
    void FillSelectors();
    void Compute();
    void ShowSummary();
    void Redraw();

    AppCore& app_;
    ChargeState& charges_;
    std::unique_ptr<StatisticsReader> reader_;
    double reference_ = 0;
    std::vector<std::string> names_;
    GraphData data_;
    int computations_ = 0;
    bool closed_ = false;
};

// The main window's phone charges command: opens the graph modally when "Kestrelon.dat" holds
// data, otherwise says "No data available".
void ShowChargeGraph(AppCore& app, ChargeState& charges, const std::function<void()>& recordRunning,
                     QWidget* parent = nullptr);
// The same with the running connection of the dial session recorded first.
void ShowChargeGraph(AppCore& app, ChargeState& charges, const DialSessionController& dialer,
                     QWidget* parent = nullptr);

}  // namespace kestrelon

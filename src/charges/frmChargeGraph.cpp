#include "charges/frmChargeGraph.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "charges/ChargeState.h"
#include "charges/ChargesHooks.h"
#include "charges/DateValue.h"
#include "charges/Statistics.h"
#include "core/AppCore.h"
#include "core/INIio.h"
#include "dialer/DialSessionController.h"
#include "dialogs/frmProgress.h"
#include "platform/qt/QtUi.h"

namespace kestrelon {

namespace {

constexpr std::string_view kSettingsSection = "TelCharge";
const QColor kGridColour(130, 130, 130);
const QColor kBarColour(0, 0, 255);

int StoredIndex(std::string_view key, int entries) {
    const auto value = static_cast<int>(IniReadNumber(kSettingsSection, key));
    return value >= 0 && value < entries ? value : 0;
}

}  // namespace

GraphArea::GraphArea(QWidget* parent) : QWidget(parent) {
    setObjectName("pctGraph");
    setMouseTracking(true);
    setMinimumSize(560, 240);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
}

void GraphArea::SetData(const std::vector<GraphBar>* bars, bool onlineTime) {
    bars_ = bars;
    onlineTime_ = onlineTime;
    Recalculate();
    update();
}

double GraphArea::BarValue(const GraphBar& bar) const {
    return onlineTime_ ? bar.seconds / 3600.0
                       : static_cast<double>(bar.charges.tenThousandths) / 1e4;
}

QString GraphArea::LevelText(double value) const {
    if (onlineTime_) {
        return ToQt(FormatHoursMinutes(std::llround(value * 3600)));
    }
    return ToQt(FormatCurrency(Currency{std::llround(value * 1e4)}, IniRegionalFormat()));
}

void GraphArea::Recalculate() {
    if (bars_ == nullptr || bars_->empty()) {
        return;
    }
    double max = 0;
    for (const GraphBar& bar : *bars_) {
        max = std::max(max, BarValue(bar));
    }
    if (onlineTime_) {
        max = std::max(max, 600.0 / 3600);
    } else if (max <= 0) {
        max = 1;
    }
    axis_ = ComputeGraphAxis(max);
    const QFontMetrics fm = fontMetrics();
    // The room under the base line holds the bar labels.
    const double labelRoom = 2.0 * (fm.height() + 4);
    layout_ =
        ComputeGraphLayout(width(), height(), fm.horizontalAdvance(LevelText(axis_.top) + "--") + 2,
                           labelRoom, fm.horizontalAdvance("00"), static_cast<int>(bars_->size()));
}

QString GraphArea::ReadoutAt(double x) const {
    if (bars_ == nullptr || bars_->empty()) {
        return {};
    }
    const int bar = GraphBarAt(x, layout_, static_cast<int>(bars_->size()));
    if (bar == 0) {
        return {};
    }
    const GraphBar& b = (*bars_)[static_cast<std::size_t>(bar - 1)];
    return onlineTime_ ? ToQt(FormatHoursMinutes(b.seconds))
                       : ToQt(FormatCurrency(b.charges, IniRegionalFormat()));
}

void GraphArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Recalculate();
}

void GraphArea::mouseMoveEvent(QMouseEvent* event) {
    setToolTip(ReadoutAt(event->position().x()));
    QWidget::mouseMoveEvent(event);
}

void GraphArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (bars_ == nullptr || bars_->empty()) {
        return;
    }
    const QFontMetrics fm = fontMetrics();
    const GraphLayout& l = layout_;
    const double base = l.Base();
    const double right = l.left + l.plotWidth;

    for (int i = 0; i <= axis_.lines; ++i) {
        const double value = axis_.step * i;
        const double y = base - value / axis_.top * l.plotHeight;
        painter.setPen(QPen(kGridColour, 1, Qt::DotLine));
        painter.drawLine(QPointF(l.left, y), QPointF(right, y));
        painter.setPen(palette().color(QPalette::WindowText));
        const QString text = LevelText(value) + "--";
        const QRectF box(0, y - fm.height() / 2.0, l.left, fm.height());
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, text);
    }

    for (std::size_t b = 0; b < bars_->size(); ++b) {
        const GraphBar& bar = (*bars_)[b];
        const double slotLeft = l.left + static_cast<double>(b) * l.slot;
        const double h = BarValue(bar) / axis_.top * l.plotHeight;
        if (h > 0) {
            painter.setPen(Qt::black);
            painter.setBrush(kBarColour);
            painter.drawRect(QRectF(slotLeft + (l.slot - l.barWidth) / 2, base - h, l.barWidth, h));
        }
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRectF(slotLeft, base + 3, l.slot, fm.height()), Qt::AlignHCenter,
                         ToQt(bar.label));
    }

    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawLine(QPointF(l.left, l.topMargin), QPointF(l.left, base));
    painter.drawLine(QPointF(l.left, base), QPointF(right, base));
}

frmChargeGraph::frmChargeGraph(AppCore& app, ChargeState& charges,
                               const std::function<void()>& recordRunning, QWidget* parent)
    : QDialog(parent), app_(app), charges_(charges) {
    setObjectName("frmChargeGraph");
    setWindowTitle("Telephone Charges");
    BuildControls();

    reference_ = DateValueFromLocalTime(app_.platform.clock.Now());
    if (recordRunning) {
        recordRunning();
    }
    reader_ = std::make_unique<StatisticsReader>();
    names_ = GraphProfileNames(PrepareGraphRecords(reader_->ReadAll()));
    FillSelectors();

    connect(cmbStatProf, &QComboBox::currentIndexChanged, this, [this] { Compute(); });
    connect(cmbConProfs, &QComboBox::currentIndexChanged, this, [this] { Compute(); });
    connect(cmbGraphSel, &QComboBox::currentIndexChanged, this, [this] { Redraw(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { accept(); });
    Compute();

    InstallHelpKey(app_, this, std::string("charges"));
    InstallKeepInWorkArea(this);
}

frmChargeGraph::~frmChargeGraph() = default;

void frmChargeGraph::BuildControls() {
    lblConProf = new QLabel("Connection Profile:", this);
    lblConProf->setObjectName("lblConProf");
    cmbConProfs = new QComboBox(this);
    cmbConProfs->setObjectName("cmbConProfs");
    cmbConProfs->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lblPeriod = new QLabel("Period:", this);
    lblPeriod->setObjectName("lblPeriod");
    cmbStatProf = new QComboBox(this);
    cmbStatProf->setObjectName("cmbStatProf");
    cmbGraphSel = new QComboBox(this);
    cmbGraphSel->setObjectName("cmbGraphSel");

    frmGraph = new QGroupBox("Graph", this);
    frmGraph->setObjectName("frmGraph");
    pctGraph = new GraphArea(frmGraph);
    lblXAx = new QLabel(frmGraph);
    lblXAx->setObjectName("lblXAx");
    lblXAx->setAlignment(Qt::AlignHCenter);
    auto* graphLayout = new QVBoxLayout(frmGraph);
    graphLayout->addWidget(pctGraph, 1);
    graphLayout->addWidget(lblXAx);

    const auto summaryFrame = [this](const char* title, const char* name,
                                     std::array<QLabel*, 3>& captions,
                                     std::array<QLabel*, 3>& values) {
        auto* frame = new QGroupBox(title, this);
        frame->setObjectName(name);
        auto* grid = new QGridLayout(frame);
        for (int i = 0; i < 3; ++i) {
            const auto at = static_cast<std::size_t>(i);
            captions[at] = new QLabel(frame);
            captions[at]->setObjectName(QString("lblSummary%1").arg(i));
            values[at] = new QLabel(frame);
            values[at]->setObjectName(QString("lblValue%1").arg(i));
            values[at]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            values[at]->setMinimumWidth(90);
            grid->addWidget(captions[at], i, 0);
            grid->addWidget(values[at], i, 1);
        }
        grid->setColumnStretch(0, 1);
        return frame;
    };
    frmCost = summaryFrame("Telephone Charges", "frmCost", lblCostSummary, lblCostValue);
    frmOnlineTime = summaryFrame("Online Time", "frmOnlineTime", lblTimeSummary, lblTimeValue);

    cmdOk = new QPushButton("Close", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);

    auto* selectors = new QHBoxLayout;
    selectors->addWidget(cmbGraphSel);
    selectors->addSpacing(12);
    selectors->addWidget(lblConProf);
    selectors->addWidget(cmbConProfs);
    selectors->addSpacing(12);
    selectors->addWidget(lblPeriod);
    selectors->addWidget(cmbStatProf);
    selectors->addStretch();

    auto* summaries = new QHBoxLayout;
    summaries->addWidget(frmCost, 1);
    summaries->addWidget(frmOnlineTime, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(selectors);
    layout->addWidget(frmGraph, 1);
    layout->addLayout(summaries);
    layout->addLayout(buttons);

    TranslateWindowTitle(app_, this, "telephonecharges");
    TranslateCaption(app_, frmGraph, "graph");
    TranslateCaption(app_, lblConProf, "connectionprofile");
    TranslateCaption(app_, lblPeriod, "period");
    TranslateCaption(app_, frmCost, "telephonecharges");
    TranslateCaption(app_, frmOnlineTime, "onlinetime");
    TranslateCaption(app_, cmdOk, "close");
}

void frmChargeGraph::FillSelectors() {
    const QSignalBlocker blockKind(cmbGraphSel);
    const QSignalBlocker blockFilter(cmbConProfs);
    const QSignalBlocker blockPeriod(cmbStatProf);
    cmbGraphSel->addItem(ToQt(app_.LangText("telephonecharges", "Telephone Charges")));
    cmbGraphSel->addItem(ToQt(app_.LangText("onlinetime", "Online Time")));
    cmbConProfs->addItem(ToQt(app_.LangText("allconnectionprofiles", "All Connection Profiles")));
    for (const std::string& name : names_) {
        cmbConProfs->addItem(ToQt(name));
    }
    for (const GraphPeriod& period : GraphPeriods()) {
        cmbStatProf->addItem(
            ToQt(app_.LangText("last", "Last #", app_.LangText(period.name, period.name))));
    }
    cmbGraphSel->setCurrentIndex(StoredIndex("GraphSel", cmbGraphSel->count()));
    cmbConProfs->setCurrentIndex(StoredIndex("ConProfs", cmbConProfs->count()));
    cmbStatProf->setCurrentIndex(StoredIndex("StatProf", cmbStatProf->count()));
}

void frmChargeGraph::Compute() {
    const int row = cmbStatProf->currentIndex();
    if (row < 0 || row >= static_cast<int>(GraphPeriods().size())) {
        data_ = GraphData{};
        Redraw();
        return;
    }
    const GraphPeriod& period = GraphPeriods()[static_cast<std::size_t>(row)];
    const int f = cmbConProfs->currentIndex();
    const std::string filter = f > 0 && f <= static_cast<int>(names_.size())
                                   ? names_[static_cast<std::size_t>(f - 1)]
                                   : "";

    frmProgress progress(app_, this);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const std::vector<GraphRecord> records = PrepareGraphRecords(reader_->ReadAll());
    data_ = ComputeGraph(
        records, period, filter, reference_, charges_.cache, charges_.zone, [&](std::size_t done) {
            progress.SetProgress(records.empty() ? 100
                                                 : static_cast<int>(done * 100 / records.size()));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    progress.close();
    ++computations_;

    lblXAx->setText(ToQt(app_.LangText(period.barUnit, period.barUnit)));
    ShowSummary();
    Redraw();
}

void frmChargeGraph::ShowSummary() {
    const int row = cmbStatProf->currentIndex();
    if (row < 0) {
        return;
    }
    const std::string& name = GraphPeriods()[static_cast<std::size_t>(row)].name;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string t = i == 0 ? app_.LangText("previous" + name, "previous " + name)
                                     : app_.LangText("this" + name, "this " + name);
        const std::string caption = (i < 2 ? app_.LangText("total", "Total #", t)
                                           : app_.LangText("estimated", "Estimated #", t)) +
                                    ":";
        lblCostSummary[i]->setText(ToQt(caption));
        lblTimeSummary[i]->setText(ToQt(caption));
        lblCostValue[i]->setText(ToQt(FormatCurrency(data_.rows[i].charges, IniRegionalFormat())));
        lblTimeValue[i]->setText(ToQt(FormatHoursMinutes(data_.rows[i].seconds)));
    }
}

void frmChargeGraph::Redraw() {
    pctGraph->SetData(cmbStatProf->currentIndex() >= 0 ? &data_.bars : nullptr,
                      cmbGraphSel->currentIndex() == 1);
}

void frmChargeGraph::done(int result) {
    if (!closed_) {
        closed_ = true;
        IniBatch ini;
        ini.Write(kSettingsSection, "GraphSel", cmbGraphSel->currentIndex());
        ini.Write(kSettingsSection, "StatProf", cmbStatProf->currentIndex());
        ini.Write(kSettingsSection, "ConProfs", cmbConProfs->currentIndex());
        ini.Commit();
        reader_.reset();
    }
    QDialog::done(result);
}

void ShowChargeGraph(AppCore& app, ChargeState& charges, const std::function<void()>& recordRunning,
                     QWidget* parent) {
    if (!StatisticsAvailable()) {
        app.platform.messages.Information(app.LangText("nodata", "No data available"),
                                          "Kestrelon 2000");
        return;
    }
    frmChargeGraph graph(app, charges, recordRunning, parent);
    graph.exec();
}

void ShowChargeGraph(AppCore& app, ChargeState& charges, const DialSessionController& dialer,
                     QWidget* parent) {
    ShowChargeGraph(
        app, charges, [&] { RecordCurrentConnection(app, dialer.Session(), charges); }, parent);
}

}  // namespace kestrelon

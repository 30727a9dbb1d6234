#include "charges/frmChargeProf.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "charges/ChargeProfile.h"
#include "charges/ChargeProfileStore.h"
#include "charges/ChargeState.h"
#include "charges/DateValue.h"
#include "core/AppCore.h"
#include "core/INIio.h"
#include "platform/qt/QtUi.h"

namespace kestrelon {

namespace {

constexpr std::array<const char*, 7> kWeekdayKeys{"sunday",   "monday", "tuesday", "wednesday",
                                                  "thursday", "friday", "saturday"};
constexpr std::array<const char*, 7> kWeekdayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                   "Thursday", "Friday", "Saturday"};

QString TwoDigits(int n) {
    return QString("%1").arg(n, 2, 10, QChar('0'));
}

}  // namespace

frmChargeProf::frmChargeProf(AppCore& app, ChargeProfile& edited, QWidget* parent)
    : QDialog(parent), app_(app), edited_(edited) {
    setObjectName("frmChargeProf");
    setWindowTitle("Charge Profile");
    BuildControls();
    Translate();
    for (int h = 0; h < 24; ++h) {
        cmbTime[0]->addItem(TwoDigits(h));
        cmbTime[1]->addItem(TwoDigits(h));
    }
    for (int m = 0; m < 60; ++m) {
        cmbTime[2]->addItem(TwoDigits(m));
        cmbTime[3]->addItem(TwoDigits(m));
    }
    SetRateSettingsEnabled(false);

    connect(lstRates, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!filling_ && row >= 0) {
            SelectWindow(row + 1);
        }
    });
    connect(cmbTime[0], &QComboBox::activated, this, [this] { TimeChosen(true); });
    connect(cmbTime[2], &QComboBox::activated, this, [this] { TimeChosen(true); });
    connect(cmbTime[1], &QComboBox::activated, this, [this] { TimeChosen(false); });
    connect(cmbTime[3], &QComboBox::activated, this, [this] { TimeChosen(false); });
    for (QCheckBox* box : chkWeekday) {
        connect(box, &QCheckBox::clicked, this, [this] { WeekdayToggled(); });
    }
    connect(txtRate, &QLineEdit::textEdited, this, [this] { RateTyped(); });
    connect(txtStartRate, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (auto value = ParseCurrency(FromQt(text), IniRegionalFormat())) {
            edited_.StartRate = *value;
        }
    });
    connect(txtBaseRate, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (auto value = ParseCurrency(FromQt(text), IniRegionalFormat())) {
            edited_.BaseRate = *value;
        }
    });
    for (QLineEdit* field : {txtRate, txtStartRate, txtBaseRate}) {
        field->installEventFilter(this);
    }
    connect(cmdRate, &QPushButton::clicked, this, [this] { InsertWindow(); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { DeleteWindow(); });
    connect(cmdMoveUp, &QPushButton::clicked, this, [this] { MoveWindow(-1); });
    connect(cmdMoveDown, &QPushButton::clicked, this, [this] { MoveWindow(1); });
    connect(cmdOk, &QPushButton::clicked, this, [this] {
        result_ = true;
        accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        result_ = false;
        reject();
    });
    InstallHelpKey(app_, this, std::string("cpcharges"));
    InstallKeepInWorkArea(this);
}

void frmChargeProf::BuildControls() {
    lblName = new QLabel("Name:", this);
    txtName = new QLineEdit(this);
    txtName->setReadOnly(true);
    lblStartRate = new QLabel("Start Rate:", this);
    txtStartRate = new QLineEdit(this);
    lblBaseRate = new QLabel("Base Rate:", this);
    txtBaseRate = new QLineEdit(this);
    lblOffPeak = new QLabel("Off Peak Rates:", this);
    lstRates = new QListWidget(this);
    lstRates->setMinimumHeight(150);
    cmdRate = new QPushButton("Insert", this);
    cmdDelete = new QPushButton("Delete", this);
    cmdMoveUp = new QPushButton(QString::fromUtf8("\xE2\x96\xB2"), this);
    cmdMoveDown = new QPushButton(QString::fromUtf8("\xE2\x96\xBC"), this);
    frmRate = new QGroupBox("Rate Settings", this);
    lblStartTime = new QLabel("Start Time:", frmRate);
    lblEndTime = new QLabel("End Time:", frmRate);
    for (QComboBox*& box : cmbTime) {
        box = new QComboBox(frmRate);
        box->setMaxVisibleItems(12);
    }
    lblRate = new QLabel("Rate:", frmRate);
    txtRate = new QLineEdit(frmRate);
    for (std::size_t k = 0; k < chkWeekday.size(); ++k) {
        chkWeekday[k] = new QCheckBox(kWeekdayNames[k], frmRate);
        chkWeekday[k]->setObjectName(QString("chkWeekday%1").arg(k));
    }
    cmdOk = new QPushButton("OK", this);
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton("Cancel", this);

    const std::initializer_list<std::pair<QWidget*, const char*>> names{
        {lblName, "lblName"},           {txtName, "txtName"},
        {lblStartRate, "lblStartRate"}, {txtStartRate, "txtStartRate"},
        {lblBaseRate, "lblBaseRate"},   {txtBaseRate, "txtBaseRate"},
        {lblOffPeak, "lblOffPeak"},     {lstRates, "lstRates"},
        {cmdRate, "cmdRate"},           {cmdDelete, "cmdDelete"},
        {cmdMoveUp, "cmdMoveUp"},       {cmdMoveDown, "cmdMoveDown"},
        {frmRate, "frmRate"},           {lblStartTime, "lblStartTime"},
        {lblEndTime, "lblEndTime"},     {lblRate, "lblRate"},
        {txtRate, "txtRate"},           {cmdOk, "cmdOk"},
        {cmdCancel, "cmdCancel"}};
    for (const auto& [widget, name] : names) {
        widget->setObjectName(name);
    }
    for (std::size_t i = 0; i < cmbTime.size(); ++i) {
        cmbTime[i]->setObjectName(QString("cmbTime%1").arg(i));
    }

    auto* top = new QGridLayout;
    top->addWidget(lblName, 0, 0);
    top->addWidget(txtName, 0, 1, 1, 3);
    top->addWidget(lblStartRate, 1, 0);
    top->addWidget(txtStartRate, 1, 1);
    top->addWidget(lblBaseRate, 1, 2);
    top->addWidget(txtBaseRate, 1, 3);

    auto* listButtons = new QVBoxLayout;
    listButtons->addWidget(cmdRate);
    listButtons->addWidget(cmdDelete);
    listButtons->addWidget(cmdMoveUp);
    listButtons->addWidget(cmdMoveDown);
    listButtons->addStretch();
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(lstRates, 1);
    listRow->addLayout(listButtons);

    auto* rate = new QGridLayout(frmRate);
    auto* colon1 = new QLabel(":", frmRate);
    auto* colon2 = new QLabel(":", frmRate);
    rate->addWidget(lblStartTime, 0, 0);
    rate->addWidget(cmbTime[0], 0, 1);
    rate->addWidget(colon1, 0, 2);
    rate->addWidget(cmbTime[2], 0, 3);
    rate->addWidget(lblEndTime, 1, 0);
    rate->addWidget(cmbTime[1], 1, 1);
    rate->addWidget(colon2, 1, 2);
    rate->addWidget(cmbTime[3], 1, 3);
    rate->addWidget(lblRate, 2, 0);
    rate->addWidget(txtRate, 2, 1, 1, 3);
    auto* days = new QGridLayout;
    for (std::size_t k = 0; k < chkWeekday.size(); ++k) {
        days->addWidget(chkWeekday[k], static_cast<int>(k % 4), static_cast<int>(k / 4));
    }
    rate->addLayout(days, 0, 4, 4, 1);
    rate->setColumnStretch(5, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lblOffPeak);
    layout->addLayout(listRow, 1);
    layout->addWidget(frmRate);
    layout->addLayout(buttons);
}

void frmChargeProf::Translate() {
    TranslateWindowTitle(app_, this, "chargeprofile");
    TranslateCaption(app_, lblName, "name");
    TranslateCaption(app_, lblStartRate, "startrate");
    TranslateCaption(app_, lblBaseRate, "baserate");
    TranslateCaption(app_, lblOffPeak, "offpeakrates");
    TranslateCaption(app_, cmdRate, "insert");
    TranslateCaption(app_, cmdDelete, "delete");
    TranslateCaption(app_, frmRate, "ratesettings");
    TranslateCaption(app_, lblStartTime, "starttime");
    TranslateCaption(app_, lblEndTime, "endtime");
    TranslateCaption(app_, lblRate, "rate");
    for (std::size_t k = 0; k < chkWeekday.size(); ++k) {
        TranslateCaption(app_, chkWeekday[k], kWeekdayKeys[k]);
    }
    TranslateCaption(app_, cmdOk, "ok");
    TranslateCaption(app_, cmdCancel, "cancel");
}

std::string frmChargeProf::Money(const Currency& value) const {
    return FormatCurrency(value, IniRegionalFormat());
}

void frmChargeProf::Fill() {
    txtName->setText(ToQt(edited_.Name));
    txtStartRate->setText(ToQt(Money(edited_.StartRate)));
    txtBaseRate->setText(ToQt(Money(edited_.BaseRate)));
    RebuildList();
    current_ = 0;
    SetRateSettingsEnabled(false);
}

void frmChargeProf::RebuildList() {
    filling_ = true;
    lstRates->clear();
    for (int i = 1; i <= edited_.nItems; ++i) {
        lstRates->addItem(ToQt(Money(edited_.Window(i).Rate)));
    }
    lstRates->setCurrentRow(-1);
    filling_ = false;
}

void frmChargeProf::SetRateSettingsEnabled(bool enabled) {
    frmRate->setEnabled(enabled);
    cmdDelete->setEnabled(enabled);
    cmdMoveUp->setEnabled(enabled && current_ > 1);
    cmdMoveDown->setEnabled(enabled && current_ < edited_.nItems);
}

void frmChargeProf::SelectWindow(int n) {
    if (n < 1 || n > edited_.nItems) {
        return;
    }
    current_ = n;
    const RateWindow& w = edited_.Window(n);
    const DateParts start = SplitDateValue(w.StartTime);
    const DateParts end = SplitDateValue(w.EndTime);
    cmbTime[0]->setCurrentIndex(start.hour);
    cmbTime[2]->setCurrentIndex(start.minute);
    cmbTime[1]->setCurrentIndex(end.hour);
    cmbTime[3]->setCurrentIndex(end.minute);
    txtRate->setText(ToQt(Money(w.Rate)));
    for (std::size_t k = 0; k < chkWeekday.size(); ++k) {
        chkWeekday[k]->setChecked((w.WeekDays >> k & 1) != 0);
    }
    SetRateSettingsEnabled(true);
    if (lstRates->currentRow() != n - 1) {
        filling_ = true;
        lstRates->setCurrentRow(n - 1);
        filling_ = false;
    }
}

void frmChargeProf::TimeChosen(bool start) {
    if (current_ == 0) {
        return;
    }
    QComboBox* hour = cmbTime[start ? 0 : 1];
    QComboBox* minute = cmbTime[start ? 2 : 3];
    const auto time = ParseTimeOfDay(FromQt(hour->currentText() + ":" + minute->currentText()));
    if (!time) {
        return;
    }
    RateWindow& w = edited_.Window(current_);
    (start ? w.StartTime : w.EndTime) = *time;
}

void frmChargeProf::WeekdayToggled() {
    if (current_ == 0) {
        return;
    }
    std::int32_t days = 0;
    for (std::size_t k = 0; k < chkWeekday.size(); ++k) {
        if (chkWeekday[k]->isChecked()) {
            days |= 1 << k;
        }
    }
    edited_.Window(current_).WeekDays = days;
}

void frmChargeProf::RateTyped() {
    if (current_ == 0) {
        return;
    }
    const auto value = ParseCurrency(FromQt(txtRate->text()), IniRegionalFormat());
    if (!value) {
        return;
    }
    edited_.Window(current_).Rate = *value;
    if (QListWidgetItem* line = lstRates->item(current_ - 1)) {
        line->setText(ToQt(Money(*value)));
    }
}

void frmChargeProf::InsertWindow() {
    if (edited_.nItems >= ChargeProfile::kMaxWindows) {
        app_.platform.messages.Information(
            app_.LangText("maxratewindows", "A charge profile holds at most # rate windows.",
                          std::to_string(ChargeProfile::kMaxWindows)),
            "Kestrelon 2000");
        return;
    }
    const int n = ++edited_.nItems;
    RateWindow& w = edited_.Window(n);
    w = RateWindow{};
    w.Rate = edited_.BaseRate;
    if (n > 1) {
        const RateWindow& last = edited_.Window(n - 1);
        w.StartTime = last.StartTime;
        w.EndTime = last.EndTime;
        w.WeekDays = last.WeekDays;
    }
    filling_ = true;
    lstRates->addItem(ToQt(Money(w.Rate)));
    filling_ = false;
    SelectWindow(n);
}

void frmChargeProf::DeleteWindow() {
    if (current_ == 0) {
        return;
    }
    edited_.nItems -= 1;
    for (int i = current_; i <= edited_.nItems; ++i) {
        edited_.Window(i) = edited_.Window(i + 1);
    }
    RebuildList();
    current_ = 0;
    SetRateSettingsEnabled(false);
}

void frmChargeProf::MoveWindow(int by) {
    const int other = current_ + by;
    if (current_ == 0 || other < 1 || other > edited_.nItems) {
        return;
    }
    std::swap(edited_.Window(current_), edited_.Window(other));
    RebuildList();
    SelectWindow(other);
}

bool frmChargeProf::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        if (auto* field = qobject_cast<QLineEdit*>(watched)) {
            field->selectAll();
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool EditChargeProfile(AppCore& app, ChargeState& charges, const std::string& name,
                       QWidget* parent) {
    charges.EditedChargeProfile = charges.cache.GetChargeProfile(name, {}, true);
    frmChargeProf editor(app, charges.EditedChargeProfile, parent);
    editor.Fill();
    editor.exec();
    if (editor.Result()) {
        SaveChargeProfile(charges.EditedChargeProfile);
    }
    return editor.Result();
}

}  // namespace kestrelon

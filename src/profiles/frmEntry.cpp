#include "profiles/frmEntry.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/AppCore.h"
#include "core/IniDocument.h"
#include "dialogs/frmTextFilter.h"
#include "platform/qt/QtUi.h"
#include "profiles/ConProfRules.h"
#include "profiles/PhoneBookEntries.h"

namespace kestrelon {

namespace {

bool IsAnswerCharacter(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ';
}

}  // namespace

frmEntry::frmEntry(AppCore& app, std::string phoneBookPath, std::string entryName, QWidget* parent)
    : QDialog(parent),
      app_(app),
      path_(std::move(phoneBookPath)),
      name_(std::move(entryName)),
      isNew_(name_.empty()) {
    setObjectName("frmEntry");
    setWindowTitle("Phone-Book Entry");
    BuildControls();

    const PhoneBookEntryKeys keys =
        isNew_ ? PhoneBookEntryKeys{} : ReadPhoneBookEntry(path_, name_);
    txtName->setText(ToQt(name_));
    txtName->setEnabled(isNew_);
    txtNumber->setText(ToQt(keys.phoneNumber));
    txtUser->setText(ToQt(keys.userName));
    txtPass->setText(ToQt(keys.password));
    txtAnswer->setText(ToQt(keys.answer));
    txtDeviceMs->setText(ToQt(keys.deviceMs));
    txtAuthMs->setText(ToQt(keys.authMs));
    txtFailMs->setText(ToQt(keys.failMs));
    txtDropAfter->setText(ToQt(keys.dropAfter));
    txtIpAddress->setText(ToQt(keys.ipAddress));
    for (QLineEdit* box : findChildren<QLineEdit*>()) {
        box->selectAll();
    }
    (isNew_ ? txtName : txtNumber)->setFocus();

    Translate();
    InstallHelpKey(app_, this, std::string("cpaccount"));
    InstallKeepInWorkArea(this);
}

void frmEntry::BuildControls() {
    filter_ = new TextFilter(this);
    const auto label = [this](const char* name, const char* caption) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(name);
        return l;
    };
    const auto box = [this](const char* name, int maxLength, auto allowed) {
        auto* b = new QLineEdit(this);
        b->setObjectName(name);
        b->setMaxLength(maxLength);
        filter_->Allow(b, allowed);
        return b;
    };
    lblName = label("lblName", "Entry name:");
    txtName = box("txtName", 256, std::function<bool(char32_t)>(IsSectionNameCharacter));
    lblNumber = label("lblNumber", "Phone number:");
    txtNumber = box("txtNumber", 128, QStringLiteral("0123456789 +-()#*,.WwPpTt"));
    lblUser = label("lblUser", "Username:");
    txtUser = box("txtUser", 256, QString());
    lblPass = label("lblPass", "Password:");
    txtPass = box("txtPass", 256, QString());
    txtPass->setEchoMode(QLineEdit::Password);

    fraSimulation = new QGroupBox("Simulated line", this);
    fraSimulation->setObjectName("fraSimulation");
    lblAnswer = label("lblAnswer", "Answers to the dials:");
    txtAnswer = box("txtAnswer", 255, std::function<bool(char32_t)>(IsAnswerCharacter));
    lblAnswerHint = label("lblAnswerHint",
                          "One word per dial, the last one repeats: connect, busy, noanswer, "
                          "nodialtone, authfail, silent or an error number.");
    lblAnswerHint->setWordWrap(true);
    lblDeviceMs = label("lblDeviceMs", "Milliseconds until the modem connects:");
    txtDeviceMs = box("txtDeviceMs", 9, kDigits);
    lblAuthMs = label("lblAuthMs", "Milliseconds from the modem until online:");
    txtAuthMs = box("txtAuthMs", 9, kDigits);
    lblFailMs = label("lblFailMs", "Milliseconds until a failing dial fails:");
    txtFailMs = box("txtFailMs", 9, kDigits);
    lblDropAfter = label("lblDropAfter", "Seconds online until the line drops (0 = never):");
    txtDropAfter = box("txtDropAfter", 6, kDigits);
    lblIpAddress = label("lblIpAddress", "IP address:");
    txtIpAddress = box("txtIpAddress", 15, QStringLiteral("0123456789."));
    for (QLineEdit* number : {txtDeviceMs, txtAuthMs, txtFailMs, txtDropAfter}) {
        number->setPlaceholderText(QStringLiteral("0"));
    }
    txtDeviceMs->setPlaceholderText(QStringLiteral("2000"));
    txtAuthMs->setPlaceholderText(QStringLiteral("1000"));
    txtFailMs->setPlaceholderText(QStringLiteral("1500"));

    cmdOk = new QPushButton("Ok", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");

    auto* top = new QGridLayout;
    int row = 0;
    for (auto [l, b] : {std::pair{lblName, txtName}, std::pair{lblNumber, txtNumber},
                        std::pair{lblUser, txtUser}, std::pair{lblPass, txtPass}}) {
        top->addWidget(l, row, 0);
        top->addWidget(b, row++, 1);
    }
    top->setColumnStretch(1, 1);
    auto* sim = new QGridLayout(fraSimulation);
    sim->addWidget(lblAnswer, 0, 0);
    sim->addWidget(txtAnswer, 0, 1);
    sim->addWidget(lblAnswerHint, 1, 0, 1, 2);
    row = 2;
    for (auto [l, b] : {std::pair{lblDeviceMs, txtDeviceMs}, std::pair{lblAuthMs, txtAuthMs},
                        std::pair{lblFailMs, txtFailMs}, std::pair{lblDropAfter, txtDropAfter},
                        std::pair{lblIpAddress, txtIpAddress}}) {
        sim->addWidget(l, row, 0);
        sim->addWidget(b, row++, 1);
    }
    sim->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(fraSimulation);
    layout->addStretch();
    layout->addLayout(buttons);
    setMinimumWidth(440);

    connect(cmdOk, &QPushButton::clicked, this, &frmEntry::OkClicked);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmEntry::Translate() {
    TranslateWindowTitle(app_, this, "entrycapt");
    TranslateCaption(app_, lblName, "entryname");
    TranslateCaption(app_, lblNumber, "phonenumber");
    TranslateCaption(app_, lblUser, "username");
    TranslateCaption(app_, lblPass, "password");
    TranslateCaption(app_, fraSimulation, "simulatedline");
    TranslateCaption(app_, lblAnswer, "dialanswers");
    TranslateCaption(app_, lblAnswerHint, "dialanswershint");
    TranslateCaption(app_, lblDeviceMs, "devicems");
    TranslateCaption(app_, lblAuthMs, "authms");
    TranslateCaption(app_, lblFailMs, "failms");
    TranslateCaption(app_, lblDropAfter, "dropafter");
    TranslateCaption(app_, lblIpAddress, "ipaddress");
    TranslateCaption(app_, cmdOk, "ok");
    TranslateCaption(app_, cmdCancel, "cancel");
}

void frmEntry::OkClicked() {
    PhoneBookEntryKeys keys;
    keys.phoneNumber = FromQt(txtNumber->text());
    keys.userName = FromQt(txtUser->text());
    keys.password = FromQt(txtPass->text());
    keys.answer = FromQt(txtAnswer->text());
    keys.deviceMs = FromQt(txtDeviceMs->text());
    keys.authMs = FromQt(txtAuthMs->text());
    keys.failMs = FromQt(txtFailMs->text());
    keys.dropAfter = FromQt(txtDropAfter->text());
    keys.ipAddress = FromQt(txtIpAddress->text());
    if (isNew_) {
        // A name that is empty or taken cannot become an entry: beep and let it be retyped.
        const std::string name = Trim(FromQt(txtName->text()));
        if (!CreatePhoneBookEntry(path_, name, keys)) {
            app_.platform.sound.Beep();
            txtName->setFocus();
            txtName->selectAll();
            return;
        }
        name_ = name;
    } else {
        WritePhoneBookEntry(path_, name_, keys);
    }
    accepted_ = true;
    accept();
}

std::string NewPhoneBookEntry(AppCore& app, const std::string& phoneBookPath, QWidget* parent) {
    frmEntry dialog(app, phoneBookPath, "", parent);
    dialog.exec();
    return dialog.Accepted() ? dialog.EntryName() : std::string();
}

bool EditPhoneBookEntry(AppCore& app, const std::string& phoneBookPath, const std::string& name,
                        QWidget* parent) {
    if (name.empty() || !PhoneBookHasEntry(phoneBookPath, name)) {
        return false;
    }
    frmEntry dialog(app, phoneBookPath, name, parent);
    dialog.exec();
    return dialog.Accepted();
}

}  // namespace kestrelon

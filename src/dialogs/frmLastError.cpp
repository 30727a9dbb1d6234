#include "dialogs/frmLastError.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "core/AppCore.h"
#include "core/INIio.h"
#include "core/IniDocument.h"
#include "dialer/RasErrorTexts.h"
#include "dialogs/frmMsgBox.h"
#include "platform/qt/QtUi.h"
#include "profiles/ConProfMod.h"

namespace kestrelon {

frmLastError::frmLastError(AppCore& app, std::uint32_t lastError, int sessionProfile,
                           std::function<std::string(std::uint32_t)> errorText,
                           ProfileReferences& refs, QWidget* parent)
    : QDialog(parent),
      app_(app),
      sessionProfile_(sessionProfile),
      errorText_(std::move(errorText)),
      refs_(refs) {
    setObjectName("frmLastError");
    setWindowTitle("Last Error");

    Label1 = new QLabel(ToQt(app_.LangText("error", "Error") + " #:"), this);
    Label1->setObjectName("Label1");
    txtErrN = new QLineEdit(this);
    txtErrN->setObjectName("txtErrN");
    // Digits only; editing keys pass as they do.
    txtErrN->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), txtErrN));
    txtErrN->setMaximumWidth(80);
    txtError = new QLineEdit(this);
    txtError->setObjectName("txtError");
    txtError->setReadOnly(true);
    txtError->setMinimumWidth(380);
    chkShowError = new QCheckBox("Don't show dialog on error", this);
    chkShowError->setObjectName("chkShowError");
    cmdAddError = new QPushButton("Add to Ignore List", this);
    cmdAddError->setObjectName("cmdAddError");
    Command1 = new QPushButton("OK", this);
    Command1->setObjectName("Command1");
    Command1->setDefault(true);

    auto* grid = new QGridLayout(this);
    auto* number = new QHBoxLayout;
    number->addWidget(Label1);
    number->addWidget(txtErrN);
    number->addStretch();
    grid->addLayout(number, 0, 0);
    grid->addWidget(txtError, 1, 0);
    grid->addWidget(chkShowError, 2, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAddError);
    buttons->addStretch();
    buttons->addWidget(Command1);
    grid->addLayout(buttons, 3, 0);

    connect(txtErrN, &QLineEdit::textChanged, this, [this] { ErrorNumberChanged(); });
    connect(chkShowError, &QCheckBox::clicked, this, [this] {
        app_.settings.ShowError = chkShowError->isChecked();
        SaveSettings(app_.settings);
    });
    connect(cmdAddError, &QPushButton::clicked, this, [this] { AddErrorClicked(); });
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);

    if (lastError < 1) {
        txtError->setText(ToQt(app_.LangText("noerrors", "No Error Encountered")));
    } else {
        txtErrN->setText(QString::number(lastError));
    }
    chkShowError->setChecked(app_.settings.ShowError);

    TranslateWindowTitle(app_, this, "lasterror");
    TranslateCaption(app_, chkShowError, "dontshowdialogonerror");
    TranslateCaption(app_, cmdAddError, "adderror");
    TranslateCaption(app_, Command1, "ok");
    InstallHelpKey(app_, this, std::string("lasterror"));
    InstallKeepInWorkArea(this);
}

void frmLastError::ErrorNumberChanged() {
    const std::string number = FromQt(txtErrN->text());
    const auto code = static_cast<std::uint32_t>(LeadingNumber(number));
    const std::string text = errorText_ ? errorText_(code) : StandardRasErrorText(code);
    txtError->setText(ToQt(app_.LangText("error", "Error") + " " + number + ": " + text));
}

void frmLastError::AddErrorClicked() {
    const std::string typed = FromQt(txtErrN->text());
    const double n = LeadingNumber(typed);
    if (n > 0) {
        ConnectionProfile* profile = app_.profiles.Find(sessionProfile_);
        if (sessionProfile_ < 1 || profile == nullptr) {
            profile = app_.profiles.Find(app_.SelProfile);
        }
        if (profile != nullptr) {
            profile->IgnErr =
                Trim(Trim(profile->IgnErr) + " " + std::to_string(static_cast<long long>(n)));
        }
        std::string unused;
        MsgBoxEx(app_,
                 app_.LangText("error", "Error") + " " + typed + " " +
                     app_.LangText("erroraddedignore", "has been added to the ignore list"),
                 app_.LangText("erroradded", "Error added"), kMsgBoxInformation, unused, 0, this);
    }
    SaveProfiles(app_.profiles, refs_);
}

}  // namespace kestrelon

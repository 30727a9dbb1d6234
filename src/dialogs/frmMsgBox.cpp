#include "dialogs/frmMsgBox.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/AppCore.h"
#include "platform/qt/QtUi.h"

namespace kestrelon {

namespace {
constexpr int kTwipsPerPixel = 15;
constexpr int kMessageMinHeight = 40;
}  // namespace

frmMsgBox::frmMsgBox(AppCore& app, QWidget* parent) : QDialog(parent) {
    setObjectName("frmMsgBox");
    setWindowTitle("MsgBox");

    lblInfo = new QLabel(this);
    lblInfo->setObjectName("lblInfo");
    lblInfo->setWordWrap(true);
    lblInfo->setMinimumWidth(280);
    lblInfo->setMinimumHeight(kMessageMinHeight);
    lblInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmbMsgBox = new QComboBox(this);
    cmbMsgBox->setObjectName("cmbMsgBox");
    cmbMsgBox->hide();
    txtInput = new QLineEdit(this);
    txtInput->setObjectName("txtInput");
    txtInput->hide();
    cmdOk = new QPushButton("OK", this);
    cmdOk->setObjectName("cmdOk");
    cmdYes = new QPushButton("&Yes", this);
    cmdYes->setObjectName("cmdYes");
    cmdNo = new QPushButton("&No", this);
    cmdNo->setObjectName("cmdNo");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdYes);
    buttons->addWidget(cmdNo);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblInfo, 1);
    layout->addWidget(cmbMsgBox);
    layout->addWidget(txtInput);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    TranslateCaption(app, cmdOk, "ok");
    TranslateCaption(app, cmdYes, "yes");
    TranslateCaption(app, cmdNo, "no");
    txtInput->selectAll();

    connect(cmdOk, &QPushButton::clicked, this, [this] { Answer(1); });
    connect(cmdYes, &QPushButton::clicked, this, [this] { Answer(1); });
    connect(cmdNo, &QPushButton::clicked, this, [this] { Answer(0); });
    InstallKeepInWorkArea(this);
}

void frmMsgBox::GrowMessageArea(int extraHeight) {
    const int pixels = extraHeight / kTwipsPerPixel;
    if (pixels > 0) {
        lblInfo->setMinimumHeight(kMessageMinHeight + pixels);
    }
}

void frmMsgBox::Answer(int result) {
    result_ = result;
    // The dialog's own result stays with the close box and Escape meaning 0.
    done(result == 1 ? QDialog::Accepted : QDialog::Rejected);
}

int MsgBoxEx(AppCore& app, const std::string& text, const std::string& title, int style,
             std::string& input, int extraHeight, QWidget* parent) {
    frmMsgBox box(app, parent);
    box.GrowMessageArea(extraHeight);
    box.setWindowTitle(ToQt(title));
    box.lblInfo->setText(ToQt(text));
    if (style == kMsgBoxQuestion) {
        box.cmdOk->hide();
        box.cmdYes->setDefault(true);
    } else if (style == kMsgBoxInput) {
        box.cmdOk->hide();
        box.txtInput->show();
        box.cmdYes->setText(ToQt(app.LangText("ok", "OK")));
        box.cmdNo->setText(ToQt(app.LangText("cancel", "Cancel")));
        box.cmdYes->setDefault(true);
        box.txtInput->setText(ToQt(input));
        box.txtInput->selectAll();
        box.txtInput->setFocus();
    } else {
        box.cmdYes->hide();
        box.cmdNo->hide();
        box.cmdOk->setDefault(true);
    }
    box.exec();
    input = FromQt(box.txtInput->text());
    return box.Result();
}

int ChooseFromList(AppCore& app, const std::string& label, const std::string& title,
                   const std::vector<std::string>& entries, QWidget* parent) {
    frmMsgBox box(app, parent);
    box.setWindowTitle(ToQt(title));
    box.lblInfo->setText(ToQt(label));
    box.lblInfo->setMinimumHeight(0);
    for (const auto& entry : entries) {
        box.cmbMsgBox->addItem(ToQt(entry));
    }
    box.cmbMsgBox->setCurrentIndex(entries.empty() ? -1 : 0);
    box.cmbMsgBox->show();
    box.cmbMsgBox->setFocus();
    box.cmdYes->hide();
    box.cmdNo->hide();
    box.cmdOk->setDefault(true);
    box.exec();
    if (box.Result() != 1 || box.cmbMsgBox->currentIndex() < 0) {
        return 0;
    }
    return box.cmbMsgBox->currentIndex();
}

}  // namespace kestrelon

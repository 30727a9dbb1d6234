#include "dialogs/frmAbout.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "core/AppCore.h"
#include "platform/qt/QtUi.h"

namespace kestrelon {

frmAbout::frmAbout(AppCore& app, QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    setWindowTitle("About Kestrelon 2000...");

    Picture1 = new QLabel(this);
    Picture1->setObjectName("Picture1");
    Picture1->setPixmap(DrawProgramPicture(48));
    Picture1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    lblAbout = new QLabel(this);
    lblAbout->setObjectName("lblAbout");
    lblAbout->setText(ToQt("Kestrelon 2000\n" + app.LangText("version", "Version ") +
                           ProgramVersionText() + "\nA dial-up connection manager."));
    QFont big = lblAbout->font();
    big.setBold(true);
    lblAbout->setFont(big);

    lblDownload = new QLabel("You can download the latest version of Kestrelon at:", this);
    lblDownload->setObjectName("lblDownload");
    lblDownload->setWordWrap(true);

    lblURL = new QLabel(kDownloadAddress, this);
    lblURL->setObjectName("lblURL");
    lblURL->setCursor(Qt::PointingHandCursor);
    QFont link = lblURL->font();
    link.setUnderline(true);
    lblURL->setFont(link);
    QPalette linkPalette = lblURL->palette();
    linkPalette.setColor(QPalette::WindowText, linkPalette.color(QPalette::Link));
    lblURL->setPalette(linkPalette);
    lblURL->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);

    lblTrans = new QLabel(this);
    lblTrans->setObjectName("lblTrans");
    lblTrans->setWordWrap(true);
    if (!app.lang.LanguageInUse().empty()) {
        lblTrans->setText(ToQt(app.LangText("translation", "")));
    } else {
        lblTrans->setText("Thanks to everyone who sent in translations, tariffs and bug reports.");
    }

    cmdOk = new QPushButton("OK", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(16);
    layout->addWidget(Picture1, 0, 0, 4, 1);
    layout->addWidget(lblAbout, 0, 1);
    layout->addWidget(lblDownload, 1, 1);
    layout->addWidget(lblURL, 2, 1, Qt::AlignLeft);
    layout->addWidget(lblTrans, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    layout->addLayout(buttons, 4, 0, 1, 2);
    layout->setColumnMinimumWidth(1, 300);
    layout->setRowMinimumHeight(2, 24);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    TranslateWindowTitle(app, this, "aboutcapt");
    TranslateCaption(app, lblDownload, "download");
    TranslateCaption(app, cmdOk, "ok");

    // The shell's answer does not matter here: there is nothing to do when no browser opens.
    OnClick(lblURL, [&app, this] { app.platform.shell.Open(FromQt(lblURL->text())); });
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    InstallKeepInWorkArea(this);
}

void ShowAbout(AppCore& app, QWidget* parent) {
    frmAbout about(app, parent);
    about.exec();
}

}  // namespace kestrelon

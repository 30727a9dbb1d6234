#include "dialogs/frmHelp.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "core/AppCore.h"
#include "platform/qt/QtUi.h"

namespace kestrelon {

frmHelp::frmHelp(AppCore& app, QWidget* parent) : QWidget(parent, Qt::Window), app_(app) {
    setObjectName("frmHelp");
    setWindowTitle("Kestrelon 2000 Help");

    cmdBack = new QPushButton("&Back", this);
    cmdBack->setObjectName("cmdBack");
    cmdForward = new QPushButton("&Forward", this);
    cmdForward->setObjectName("cmdForward");
    cmdContents = new QPushButton("&Contents", this);
    cmdContents->setObjectName("cmdContents");
    txtHelp = new QTextBrowser(this);
    txtHelp->setObjectName("txtHelp");
    // Links are followed here: pages in the help folder stay in this window, web addresses go
    // to the desktop's browser.
    txtHelp->setOpenLinks(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdBack);
    buttons->addWidget(cmdForward);
    buttons->addWidget(cmdContents);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(txtHelp, 1);

    TranslateWindowTitle(app_, this, "helpcaption");
    TranslateCaption(app_, cmdBack, "helpback");
    TranslateCaption(app_, cmdForward, "helpforward");
    TranslateCaption(app_, cmdContents, "helpcontents");

    cmdBack->setEnabled(false);
    cmdForward->setEnabled(false);
    connect(txtHelp, &QTextBrowser::backwardAvailable, cmdBack, &QPushButton::setEnabled);
    connect(txtHelp, &QTextBrowser::forwardAvailable, cmdForward, &QPushButton::setEnabled);
    connect(cmdBack, &QPushButton::clicked, txtHelp, &QTextBrowser::backward);
    connect(cmdForward, &QPushButton::clicked, txtHelp, &QTextBrowser::forward);
    connect(cmdContents, &QPushButton::clicked, this, [this] {
        if (QFileInfo::exists(contents_)) {
            txtHelp->setSource(QUrl::fromLocalFile(contents_));
        } else {
            ShowMissingPage(FromQt(contents_));
        }
    });
    connect(txtHelp, &QTextBrowser::anchorClicked, this, &frmHelp::FollowLink);

    resize(640, 480);
    InstallKeepInWorkArea(this);
}

void frmHelp::ShowPage(const std::string& path) {
    const QFileInfo page(ToQt(path));
    contents_ = page.absoluteDir().filePath("index.htm");
    txtHelp->setSource(QUrl::fromLocalFile(page.absoluteFilePath()));
}

void frmHelp::ShowMissingPage(const std::string& path) {
    const QString text =
        ToQt(app_.LangText("helpmissing", "The help page # could not be found.", path))
            .toHtmlEscaped();
    txtHelp->setHtml("<p>" + text + "</p>");
}

void frmHelp::FollowLink(const QUrl& url) {
    const QUrl target = txtHelp->source().resolved(url);
    if (target.isLocalFile() || target.scheme().isEmpty()) {
        if (QFileInfo::exists(target.toLocalFile())) {
            txtHelp->setSource(target);
        } else {
            ShowMissingPage(FromQt(target.toLocalFile()));
        }
        return;
    }
    app_.platform.shell.Open(FromQt(target.toString()));
}

}  // namespace kestrelon

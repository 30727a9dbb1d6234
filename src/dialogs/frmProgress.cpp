#include "dialogs/frmProgress.h"

#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include "core/AppCore.h"
#include "platform/qt/QtUi.h"

namespace kestrelon {

frmProgress::frmProgress(AppCore& app, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("frmProgress");
    setWindowTitle("Working...");

    pbProgress = new QProgressBar(this);
    pbProgress->setObjectName("pbProgress");
    pbProgress->setRange(0, 100);
    pbProgress->setValue(0);
    pbProgress->setMinimumWidth(280);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pbProgress);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    tmrWorking = new QTimer(this);
    tmrWorking->setObjectName("tmrWorking");
    tmrWorking->setInterval(kRefreshMilliseconds);
    connect(tmrWorking, &QTimer::timeout, this, [this] { pbProgress->setValue(progress_); });
    tmrWorking->start();

    TranslateWindowTitle(app, this, "working");
    InstallKeepInWorkArea(this);
}

}  // namespace kestrelon

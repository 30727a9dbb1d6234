#include "dialogs/frmSplash.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "core/AppCore.h"
#include "platform/qt/QtUi.h"

namespace kestrelon {

frmSplash::frmSplash(AppCore& app, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus) {
    setObjectName("frmSplash");
    setAttribute(Qt::WA_ShowWithoutActivating);

    // The border shape covers the whole window; everything else sits inside it.
    Border = new QFrame(this);
    Border->setObjectName("Border");
    Border->setFrameShape(QFrame::Box);
    Border->setLineWidth(2);
    Border->setAutoFillBackground(true);

    Image1 = new QLabel(Border);
    Image1->setObjectName("Image1");
    Image1->setPixmap(DrawProgramPicture(96));

    Label1 = new QLabel("Kestrelon 2000", Border);
    Label1->setObjectName("Label1");
    QFont title = Label1->font();
    title.setPointSizeF(title.pointSizeF() * 2.2);
    title.setBold(true);
    Label1->setFont(title);

    lblVersion =
        new QLabel(ToQt(app.LangText("version", "Version ") + ProgramVersionText()), Border);
    lblVersion->setObjectName("lblVersion");

    auto* texts = new QVBoxLayout;
    texts->addStretch();
    texts->addWidget(Label1);
    texts->addWidget(lblVersion);
    texts->addStretch();
    auto* inside = new QHBoxLayout(Border);
    inside->setContentsMargins(24, 20, 32, 20);
    inside->setSpacing(20);
    inside->addWidget(Image1);
    inside->addLayout(texts);
    auto* outside = new QVBoxLayout(this);
    outside->setContentsMargins(0, 0, 0, 0);
    outside->addWidget(Border);

    Timer = new QTimer(this);
    Timer->setObjectName("Timer");
    Timer->setSingleShot(true);
    Timer->setInterval(kShowMilliseconds);
    connect(Timer, &QTimer::timeout, this, &QWidget::close);
    OnClick(Image1, [this] { close(); });

    adjustSize();
    InstallKeepInWorkArea(this);
}

void frmSplash::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    Timer->start();
}

}  // namespace kestrelon

#include "platform/qt/QtUi.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>
#include <QShortcut>
#include <QWidget>
#include <filesystem>
#include <utility>
#include <vector>

#include "core/AppCore.h"
#include "core/Language.h"
#include "core/ProgramDirectory.h"
#include "core/WorkArea.h"
#include "dialogs/frmHelp.h"

namespace kestrelon {

namespace {

QString Translated(AppCore& app, std::string_view key, const QString& design,
                   std::string_view parameter) {
    return ToQt(app.LangText(key, FromQt(design), parameter));
}

// Pulls its window back into the work area after each resize and when it is first shown.
class KeepInWorkAreaFilter : public QObject {
  public:
    explicit KeepInWorkAreaFilter(QWidget* window) : QObject(window) {
        setObjectName("kestrelonKeepInWorkArea");
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        if ((type == QEvent::Resize || type == QEvent::Show) && !busy_) {
            // Moving the window sends events of its own; do not answer those.
            busy_ = true;
            KeepInWorkArea(static_cast<QWidget*>(watched));
            busy_ = false;
        }
        return false;
    }

  private:
    bool busy_ = false;
};

class ClickFilter : public QObject {
  public:
    ClickFilter(QWidget* widget, std::function<void()> handler)
        : QObject(widget), handler_(std::move(handler)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonRelease) {
            return false;
        }
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* widget = static_cast<QWidget*>(watched);
        if (mouse->button() != Qt::LeftButton ||
            !widget->rect().contains(mouse->position().toPoint())) {
            return false;
        }
        // The handler may close or delete the widget and this filter with it.
        auto handler = handler_;
        handler();
        return true;
    }

  private:
    std::function<void()> handler_;
};

bool IsFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

// The help page of a topic: the folder that the language names, in the program directory or
// beside the executable (where the build puts the pages); the first that has the page wins.
std::string FindHelpPage(AppCore& app, std::string_view topic) {
    const std::string folder = app.LangText("helpfile", "help");
    std::vector<std::string> candidates{HelpPagePath(folder, topic)};
    if (folder.empty() || folder.front() != '/') {
        const auto exeDir = std::filesystem::path(ExecutablePath()).parent_path();
        if (!exeDir.empty()) {
            candidates.push_back(HelpPagePath(AddBackslash(exeDir.string()) + folder, topic));
        }
    }
    for (const auto& page : candidates) {
        if (IsFile(page)) {
            return page;
        }
    }
    return {};
}

frmHelp* FindHelpWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* help = qobject_cast<frmHelp*>(widget)) {
            return help;
        }
    }
    return nullptr;
}

}  // namespace

void TranslateCaption(AppCore& app, QWidget* widget, std::string_view key,
                      std::string_view parameter) {
    if (widget == nullptr) {
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(Translated(app, key, button->text(), parameter));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(Translated(app, key, label->text(), parameter));
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(Translated(app, key, group->title(), parameter));
    } else if (widget->isWindow()) {
        TranslateWindowTitle(app, widget, key, parameter);
    }
}

void TranslateCaption(AppCore& app, QAction* action, std::string_view key,
                      std::string_view parameter) {
    if (action != nullptr) {
        action->setText(Translated(app, key, action->text(), parameter));
    }
}

void TranslateWindowTitle(AppCore& app, QWidget* window, std::string_view key,
                          std::string_view parameter) {
    if (window != nullptr) {
        window->setWindowTitle(Translated(app, key, window->windowTitle(), parameter));
    }
}

void KeepInWorkArea(QWidget* window) {
    if (window == nullptr) {
        return;
    }
    window = window->window();
    const QRect frame = window->frameGeometry();
    QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (screen == nullptr) {
        screen = window->screen();
    }
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const Rect placed = KeepInWorkArea(Rect{frame.x(), frame.y(), frame.width(), frame.height()},
                                       Rect{area.x(), area.y(), area.width(), area.height()});
    if (placed.left != frame.x() || placed.top != frame.y()) {
        window->move(placed.left, placed.top);
    }
}

void InstallKeepInWorkArea(QWidget* window) {
    if (window == nullptr ||
        window->findChild<QObject*>("kestrelonKeepInWorkArea", Qt::FindDirectChildrenOnly)) {
        return;
    }
    window->installEventFilter(new KeepInWorkAreaFilter(window));
}

void ForceForeground(QWidget* window) {
    if (window == nullptr) {
        return;
    }
    if (window->isMinimized()) {
        window->showNormal();
    } else {
        window->show();
    }
    window->raise();
    window->activateWindow();
}

void ShowHelp(AppCore& app, QWidget* owner, std::string_view topic) {
    // The help window belongs to the window that asked for it, so a modal dialog does not
    // block its own help and the window goes when its owner goes.
    QWidget* host = owner != nullptr ? owner->window() : nullptr;
    frmHelp* help = FindHelpWindow();
    if (help == nullptr) {
        help = new frmHelp(app, host);
        help->setAttribute(Qt::WA_DeleteOnClose);
    } else if (host != help && help->parentWidget() != host) {
        const QRect geometry = help->geometry();
        help->setParent(host, Qt::Window);
        help->setGeometry(geometry);
    }
    const std::string page = FindHelpPage(app, topic);
    if (page.empty()) {
        help->ShowMissingPage(HelpPagePath(app.LangText("helpfile", "help"), topic));
    } else {
        help->ShowPage(page);
    }
    ForceForeground(help);
}

void InstallHelpKey(AppCore& app, QWidget* window, std::string topic) {
    InstallHelpKey(app, window, [topic = std::move(topic)] { return topic; });
}

void InstallHelpKey(AppCore& app, QWidget* window, std::function<std::string()> topic) {
    if (window == nullptr) {
        return;
    }
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1), window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window,
                     [&app, window, topic = std::move(topic)] { ShowHelp(app, window, topic()); });
}

void OnClick(QWidget* widget, std::function<void()> handler) {
    if (widget != nullptr) {
        widget->installEventFilter(new ClickFilter(widget, std::move(handler)));
    }
}

QPixmap DrawProgramPicture(int size) {
    const qreal dpr = qApp != nullptr ? qApp->devicePixelRatio() : 1.0;
    QPixmap picture(QSize(size, size) * dpr);
    picture.setDevicePixelRatio(dpr);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    // A blue disc with a falcon's wing over three signal arcs.
    QLinearGradient sky(0, 0, 0, s);
    sky.setColorAt(0, QColor(70, 130, 220));
    sky.setColorAt(1, QColor(20, 50, 120));
    painter.setPen(QPen(QColor(10, 30, 80), s / 32));
    painter.setBrush(sky);
    painter.drawEllipse(QRectF(s * 0.04, s * 0.04, s * 0.92, s * 0.92));

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 210, 60), s / 16, Qt::SolidLine, Qt::RoundCap));
    for (int i = 1; i <= 3; ++i) {
        const qreal r = s * 0.11 * i;
        painter.drawArc(QRectF(s * 0.26 - r, s * 0.74 - r, 2 * r, 2 * r), 0 * 16, 90 * 16);
    }

    QPainterPath wing;
    wing.moveTo(s * 0.22, s * 0.50);
    wing.cubicTo(s * 0.40, s * 0.22, s * 0.62, s * 0.16, s * 0.84, s * 0.22);
    wing.cubicTo(s * 0.70, s * 0.30, s * 0.62, s * 0.40, s * 0.58, s * 0.52);
    wing.cubicTo(s * 0.50, s * 0.42, s * 0.36, s * 0.42, s * 0.22, s * 0.50);
    painter.setPen(QPen(QColor(10, 30, 80), s / 48));
    painter.setBrush(QColor(245, 245, 250));
    painter.drawPath(wing);
    painter.end();
    return picture;
}

}  // namespace kestrelon

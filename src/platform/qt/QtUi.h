#pragma once

#include <QString>
#include <functional>
#include <string>
#include <string_view>

class QAction;
class QAbstractButton;
class QGroupBox;
class QLabel;
class QPixmap;
class QWidget;

namespace kestrelon {

class AppCore;

inline QString ToQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string FromQt(const QString& text) {
    return text.toUtf8().toStdString();
}

// Sets a caption to LangText(key, current caption, parameter): the design caption is the
// English default.
void TranslateCaption(AppCore& app, QWidget* widget, std::string_view key,
                      std::string_view parameter = {});
void TranslateCaption(AppCore& app, QAction* action, std::string_view key,
                      std::string_view parameter = {});
void TranslateWindowTitle(AppCore& app, QWidget* window, std::string_view key,
                          std::string_view parameter = {});

// Moves a top-level window into the work area of its screen.
void KeepInWorkArea(QWidget* window);
// Keeps the window inside the work area whenever it is moved or resized.
void InstallKeepInWorkArea(QWidget* window);

// Brings a window to the front even when another application is active.
void ForceForeground(QWidget* window);

// Opens the help window at a topic ("" = the contents page).
void ShowHelp(AppCore& app, QWidget* owner, std::string_view topic);
// F1 anywhere in the window opens this help topic.
void InstallHelpKey(AppCore& app, QWidget* window, std::string topic);
// F1 opens the topic the function gives at that moment (dialogs whose topic follows a tab).
void InstallHelpKey(AppCore& app, QWidget* window, std::function<std::string()> topic);

// Calls the handler when the widget is clicked with the left button (labels and pictures
// that act like buttons).
void OnClick(QWidget* widget, std::function<void()> handler);

// The program's picture, drawn at the given size (About window, splash).
QPixmap DrawProgramPicture(int size);

}  // namespace kestrelon

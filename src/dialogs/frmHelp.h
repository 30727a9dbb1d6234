#pragma once

#include <QWidget>
#include <string>

class QPushButton;
class QTextBrowser;

namespace kestrelon {

class AppCore;

// The program's help window: shows the HTML help pages and follows their links. ShowHelp
// reuses one instance of it.
class frmHelp : public QWidget {
    Q_OBJECT
  public:
    frmHelp(AppCore& app, QWidget* parent);

    // Shows a help page file; the contents page is the index page of its folder.
    void ShowPage(const std::string& path);
    // Says in the window that a page is missing, so F1 never appears to do nothing.
    void ShowMissingPage(const std::string& path);

    QTextBrowser* txtHelp = nullptr;
    QPushButton* cmdBack = nullptr;
    QPushButton* cmdForward = nullptr;
    QPushButton* cmdContents = nullptr;

  private:
    void FollowLink(const QUrl& url);

    AppCore& app_;
    QString contents_;
};

}  // namespace kestrelon

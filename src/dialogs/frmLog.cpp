#include "dialogs/frmLog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <filesystem>
#include <fstream>

#include "core/AppCore.h"
#include "platform/qt/QtUi.h"

namespace kestrelon {

namespace {

std::int64_t FileSize(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<std::int64_t>(size);
}

}  // namespace

std::string LogTail(const std::string& path, std::int64_t size) {
    const std::int64_t start = std::max<std::int64_t>(size - frmLogView::kTailBytes - 1, 1);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {};
    }
    in.seekg(start - 1);
    std::string text(static_cast<std::size_t>(frmLogView::kTailBytes), '\0');
    in.read(text.data(), frmLogView::kTailBytes);
    text.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    if (start > 1) {
        // The cut fell inside a line: begin with the next whole one.
        const auto lineFeed = text.find('\n');
        text.erase(0, lineFeed == std::string::npos ? text.size() : lineFeed + 1);
    }
    return text;
}

frmLogView::frmLogView(AppCore& app, QWidget* parent) : QDialog(parent), app_(app) {
    setObjectName("frmLogView");
    setWindowTitle("Log");
    static constexpr struct {
        const char* caption;
        const char* key;
    } kChoices[] = {
        {"Program Log", "programlog2"}, {"Dial Log", "diallog2"}, {"Error Log", "errorlog2"}};
    auto* choices = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(kChoices[i].caption, this);
        option->setObjectName(QString("optLogSel%1").arg(i));
        TranslateCaption(app_, option, kChoices[i].key);
        connect(option, &QRadioButton::clicked, this, [this, i] { SelectLog(i); });
        optLogSel[static_cast<std::size_t>(i)] = option;
        choices->addWidget(option);
    }
    choices->addStretch();
    txtLogView = new QPlainTextEdit(this);
    txtLogView->setObjectName("txtLogView");
    txtLogView->setReadOnly(true);
    txtLogView->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed("Monospace");
    fixed.setStyleHint(QFont::TypeWriter);
    txtLogView->setFont(fixed);
    cmdOk = new QPushButton("Close", this);
    cmdOk->setObjectName("cmdOk");
    TranslateCaption(app_, cmdOk, "close");
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(txtLogView, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    layout->addLayout(buttons);
    resize(640, 400);

    tmrLogRefresh = new QTimer(this);
    tmrLogRefresh->setObjectName("tmrLogRefresh");
    tmrLogRefresh->setInterval(1000);
    connect(tmrLogRefresh, &QTimer::timeout, this, [this] { Refresh(); });
    tmrLogRefresh->start();

    TranslateWindowTitle(app_, this, "log");
    InstallHelpKey(app_, this, std::string("log"));
    InstallKeepInWorkArea(this);
}

void frmLogView::SelectLog(int choice) {
    if (choice < 0 || choice > 2) {
        return;
    }
    optLogSel[static_cast<std::size_t>(choice)]->setChecked(true);
    selectedPath_ = app_.logs.LogPath(static_cast<LogKind>(choice));
    Refresh();
}

void frmLogView::Refresh() {
    if (!isVisible()) {
        shownPath_.clear();  // reload once it is visible again
    }
    const std::int64_t size = selectedPath_.empty() ? 0 : FileSize(selectedPath_);
    if (selectedPath_ == shownPath_ && size == shownSize_) {
        return;
    }
    if (size > 0) {
        shownPath_ = selectedPath_;
        shownSize_ = size;
        ++reads_;
        QString text = ToQt(LogTail(selectedPath_, size));
        text.remove('\r');
        txtLogView->setPlainText(text);
        txtLogView->moveCursor(QTextCursor::End);
        txtLogView->ensureCursorVisible();
    } else {
        txtLogView->clear();
        shownSize_ = 0;
    }
}

void frmLogView::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    txtLogView->ensureCursorVisible();
}

}  // namespace kestrelon

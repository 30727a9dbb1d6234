#include "dialogs/frmSndBrowse.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>

#include "core/AppCore.h"
#include "core/ProgramDirectory.h"
#include "platform/qt/QtUi.h"

namespace kestrelon {

namespace {

constexpr int kPathRole = Qt::UserRole;

bool IsRemovableMount(const QString& root) {
    return root.startsWith("/media/") || root.startsWith("/mnt/") || root.startsWith("/run/media/");
}

}  // namespace

frmSndBrowse::frmSndBrowse(AppCore& app, QWidget* parent) : QDialog(parent), app_(app) {
    setObjectName("frmSndBrowse");
    setWindowTitle("Select Sound");

    drvSound = new QComboBox(this);
    drvSound->setObjectName("drvSound");
    lblFolder = new QLabel(this);
    lblFolder->setObjectName("lblFolder");
    lblFolder->setTextFormat(Qt::PlainText);
    lblFolder->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    dirSound = new QListWidget(this);
    dirSound->setObjectName("dirSound");
    flstSound = new QListWidget(this);
    flstSound->setObjectName("flstSound");
    cmdPlay = new QPushButton("&Play", this);
    cmdPlay->setObjectName("cmdPlay");
    cmdOk = new QPushButton("OK", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");

    auto* lists = new QGridLayout;
    lists->addWidget(drvSound, 0, 0);
    lists->addWidget(lblFolder, 1, 0);
    lists->addWidget(dirSound, 2, 0);
    lists->addWidget(flstSound, 0, 1, 3, 1);
    lists->setColumnStretch(0, 1);
    lists->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdPlay);
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);

    TranslateWindowTitle(app_, this, "selectsound");
    TranslateCaption(app_, cmdPlay, "play");
    TranslateCaption(app_, cmdOk, "ok");
    TranslateCaption(app_, cmdCancel, "cancel");

    FillDrives();
    connect(drvSound, &QComboBox::activated, this, [this](int index) {
        SetFolder(FromQt(drvSound->itemData(index, kPathRole).toString()));
    });
    connect(dirSound, &QListWidget::itemActivated, this, &frmSndBrowse::FolderActivated);
    connect(flstSound, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* item) { FileClicked(item); });
    connect(flstSound, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        FileClicked(item);
        cmdOk->click();
    });
    connect(cmdPlay, &QPushButton::clicked, this, [this] {
        if (!selectedPath_.empty()) {
            app_.platform.sound.PlayFile(selectedPath_, false);
        }
    });
    connect(cmdOk, &QPushButton::clicked, this, [this] {
        result_ = true;
        accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    InstallHelpKey(app_, this, "optsound");
    InstallKeepInWorkArea(this);
    resize(520, 340);
}

void frmSndBrowse::FillDrives() {
    // This system has no drive letters: the root, the home folder and mounted media.
    QStringList roots{"/", QDir::homePath()};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && IsRemovableMount(volume.rootPath()) &&
            !roots.contains(volume.rootPath())) {
            roots.push_back(volume.rootPath());
        }
    }
    for (const QString& root : roots) {
        drvSound->addItem(root, root);
    }
}

void frmSndBrowse::SetFolder(const std::string& folder) {
    QDir dir(ToQt(folder));
    if (!dir.exists()) {
        return;
    }
    const QString path = QDir::cleanPath(dir.absolutePath());
    folder_ = FromQt(path);
    lblFolder->setText(path);
    lblFolder->setToolTip(path);

    // The drive is the longest root the folder lies in.
    int drive = 0;
    qsizetype longest = 0;
    for (int i = 0; i < drvSound->count(); ++i) {
        const QString root = drvSound->itemData(i, kPathRole).toString();
        const bool contains =
            path == root || path.startsWith(root.endsWith('/') ? root : root + '/');
        if (contains && root.size() > longest) {
            drive = i;
            longest = root.size();
        }
    }
    drvSound->setCurrentIndex(drive);

    dirSound->clear();
    if (!dir.isRoot()) {
        auto* up = new QListWidgetItem("..", dirSound);
        up->setData(kPathRole, QFileInfo(path).absolutePath());
    }
    for (const QFileInfo& sub :
         dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(sub.fileName(), dirSound);
        item->setData(kPathRole, sub.absoluteFilePath());
    }

    // No CaseSensitive flag: "*.wav" also finds "SOUND.WAV".
    selectedPath_.clear();
    flstSound->clear();
    flstSound->addItems(dir.entryList({"*.wav"}, QDir::Files, QDir::Name | QDir::IgnoreCase));
    flstSound->setCurrentItem(nullptr);
    cmdOk->setEnabled(false);
    cmdPlay->setEnabled(false);
}

void frmSndBrowse::SelectFile(const std::string& name) {
    const auto found = flstSound->findItems(ToQt(name), Qt::MatchExactly);
    if (!found.isEmpty()) {
        flstSound->setCurrentItem(found.front());
    }
}

void frmSndBrowse::FileClicked(QListWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    selectedPath_ = AddBackslash(folder_) + FromQt(item->text());
    cmdOk->setEnabled(true);
    cmdPlay->setEnabled(true);
}

void frmSndBrowse::FolderActivated(QListWidgetItem* item) {
    if (item != nullptr) {
        SetFolder(FromQt(item->data(kPathRole).toString()));
    }
}

bool BrowseSound(AppCore& app, std::string& path, QWidget* parent) {
    frmSndBrowse browser(app, parent);
    const QFileInfo current(ToQt(path));
    if (!path.empty() && current.isDir()) {
        browser.SetFolder(path);
    } else if (!path.empty() && current.dir().exists()) {
        browser.SetFolder(FromQt(current.absolutePath()));
        browser.SelectFile(FromQt(current.fileName()));
    } else if (QDir(ToQt(ProgramDirectory())).exists()) {
        browser.SetFolder(ProgramDirectory());
    } else {
        browser.SetFolder(FromQt(QDir::homePath()));
    }
    browser.exec();
    if (!browser.Result() || browser.SelectedPath().empty()) {
        return false;
    }
    path = browser.SelectedPath();
    return true;
}

}  // namespace kestrelon

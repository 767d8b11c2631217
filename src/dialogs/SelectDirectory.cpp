#include "SelectDirectory.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

#include "BaseUtils.h"
#include "PreferenceUnit.h"

TOutDirDialog::TOutDirDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("OutDirDialog"));
  setWindowTitle(QStringLiteral("Select Output Directory"));
  setModal(true);
  resize(520, 380);

  auto* caption = new QLabel(QStringLiteral("Current Directory:"), this);
  CurrentDirLabel = new QLabel(this);
  CurrentDirLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

  FDirModel = new QFileSystemModel(this);
  FDirModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  FDirModel->setRootPath(QDir::rootPath());
  FFileModel = new QFileSystemModel(this);
  FFileModel->setFilter(QDir::Files);
  FFileModel->setNameFilters({QStringLiteral("*.wav"), QStringLiteral("*.mp3")});
  FFileModel->setNameFilterDisables(false);

  Splitter1 = new QSplitter(Qt::Horizontal, this);
  DirectoryListBox1 = new QTreeView(Splitter1);
  DirectoryListBox1->setModel(FDirModel);
  DirectoryListBox1->setHeaderHidden(true);
  for (int column = 1; column < FDirModel->columnCount(); ++column) {
    DirectoryListBox1->hideColumn(column);
  }
  FileListBox1 = new QListView(Splitter1);
  FileListBox1->setModel(FFileModel);
  FileListBox1->setSelectionMode(QAbstractItemView::NoSelection);
  Splitter1->setStretchFactor(0, 3);
  Splitter1->setStretchFactor(1, 2);

  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);

  auto* top = new QHBoxLayout;
  top->addWidget(caption);
  top->addWidget(CurrentDirLabel, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(Splitter1, 1);
  layout->addLayout(buttons);

  connect(DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& index) {
            if (index.isValid()) {
              OpenFolder(FDirModel->filePath(index));
            }
          });
  // The tree fills in the background: show the opened folder once its
  // branch has been read.
  connect(FDirModel, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
    if (FCurrentFolder.startsWith(loaded)) {
      const QModelIndex index = FDirModel->index(FCurrentFolder);
      if (index.isValid()) {
        DirectoryListBox1->setCurrentIndex(index);
        DirectoryListBox1->scrollTo(index, QAbstractItemView::PositionAtCenter);
      }
    }
  });
  connect(OKBtn, &QPushButton::clicked, this, &TOutDirDialog::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  if (Preferences != nullptr) {
    Preferences->RestoreWindowPlacement(*this);
  }
}

TOutDirDialog::~TOutDirDialog() = default;

QString TOutDirDialog::StartingFolder() {
  return QDir::homePath();
}

void TOutDirDialog::OpenFolder(const QString& path) {
  const QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  if (folder == FCurrentFolder) {
    return;
  }
  FCurrentFolder = folder;
  CurrentDirLabel->setText(folder);
  const QModelIndex index = FDirModel->index(folder);
  if (index.isValid() && DirectoryListBox1->currentIndex() != index) {
    DirectoryListBox1->setCurrentIndex(index);
    DirectoryListBox1->scrollTo(index);
  }
  FileListBox1->setRootIndex(FFileModel->setRootPath(folder));
}

void TOutDirDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  const QString wanted = Preferences != nullptr ? Preferences->OUT_Directory : QString();
  OpenFolder(QFileInfo(wanted.trimmed()).isDir() ? wanted.trimmed() : StartingFolder());
}

void TOutDirDialog::OKBtnClick() {
  if (Preferences != nullptr && !FCurrentFolder.isEmpty()) {
    Preferences->OUT_Directory = FCurrentFolder;
    UtilsClass::Trace(QStringLiteral("Output directory set to ") + FCurrentFolder);
  }
  accept();
}

void TOutDirDialog::done(int result) {
  if (Preferences != nullptr) {
    Preferences->SaveWindowPlacement(*this);
  }
  QDialog::done(result);
}

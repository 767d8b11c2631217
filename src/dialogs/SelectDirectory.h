#pragma once

#include <QDialog>

class QFileSystemModel;
class QLabel;
class QListView;
class QPushButton;
class QSplitter;
class QTreeView;

// "Select Output Directory": a folder tree beside the wave and MP3 files of
// the opened folder. OK stores the opened folder in OUT_Directory.
class TOutDirDialog final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TOutDirDialog)

 public:
  explicit TOutDirDialog(QWidget* parent = nullptr);
  ~TOutDirDialog() override;

  // Opens a folder in the tree: the file list and the label follow.
  void OpenFolder(const QString& path);
  QString CurrentFolder() const { return FCurrentFolder; }
  // The folder the tree starts at when OUT_Directory is no folder.
  static QString StartingFolder();

  QLabel* CurrentDirLabel;
  QTreeView* DirectoryListBox1;
  QListView* FileListBox1;
  QSplitter* Splitter1;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  void OKBtnClick();

  QFileSystemModel* FDirModel;
  QFileSystemModel* FFileModel;
  QString FCurrentFolder;
};

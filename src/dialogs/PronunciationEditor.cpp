#include "PronunciationEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "PronunciationList.h"
#include "UserMessages.h"

namespace {

const QString kCaption = QStringLiteral("Verbalune MP3 Pronunciation");
const QString kAllVoices = QStringLiteral("All voices");

QTableWidgetItem* Cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return item;
}

}  // namespace

TPronunciationEditorForm::TPronunciationEditorForm(QWidget* parent, TPronunciationList& list,
                                                   QString path, const QStringList& engines,
                                                   const QStringList& voices)
    : QDialog(parent), FList(list), FPath(std::move(path)) {
  setObjectName(QStringLiteral("PronunciationEditorForm"));
  setWindowTitle(kCaption);
  setModal(true);

  ListTW = new QTableWidget(0, 5, this);
  ListTW->setObjectName(QStringLiteral("ListTW"));
  ListTW->setHorizontalHeaderLabels({QStringLiteral("Written"), QStringLiteral("Say as"),
                                     QStringLiteral("Where"), QStringLiteral("Letter case"),
                                     QStringLiteral("Voices")});
  ListTW->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListTW->setSelectionMode(QAbstractItemView::SingleSelection);
  ListTW->verticalHeader()->hide();
  ListTW->horizontalHeader()->setStretchLastSection(true);
  ListTW->setMinimumSize(560, 220);

  WrittenEdit = new QLineEdit(this);
  WrittenEdit->setObjectName(QStringLiteral("WrittenEdit"));
  SayAsEdit = new QLineEdit(this);
  SayAsEdit->setObjectName(QStringLiteral("SayAsEdit"));
  WholeWordCB = new QCheckBox(QStringLiteral("Whole word only"), this);
  WholeWordCB->setObjectName(QStringLiteral("WholeWordCB"));
  WholeWordCB->setChecked(true);
  MatchCaseCB = new QCheckBox(QStringLiteral("Letter case counts"), this);
  MatchCaseCB->setObjectName(QStringLiteral("MatchCaseCB"));
  EngineCB = new QComboBox(this);
  EngineCB->setObjectName(QStringLiteral("EngineCB"));
  EngineCB->addItem(kAllVoices);
  EngineCB->addItems(engines);
  VoiceCB = new QComboBox(this);
  VoiceCB->setObjectName(QStringLiteral("VoiceCB"));
  VoiceCB->addItems(voices);

  auto button = [this](const QString& text, const char* name) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
  };
  AddBtn = button(QStringLiteral("&Add"), "AddBtn");
  ChangeBtn = button(QStringLiteral("C&hange"), "ChangeBtn");
  DeleteBtn = button(QStringLiteral("&Delete"), "DeleteBtn");
  TestBtn = button(QStringLiteral("&Test"), "TestBtn");
  ImportBtn = button(QStringLiteral("&Import..."), "ImportBtn");
  ExportBtn = button(QStringLiteral("&Export..."), "ExportBtn");
  CloseBtn = button(QStringLiteral("Close"), "CloseBtn");

  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel(QStringLiteral("Written:"), this), 0, 0);
  fields->addWidget(WrittenEdit, 0, 1);
  fields->addWidget(new QLabel(QStringLiteral("Say as:"), this), 1, 0);
  fields->addWidget(SayAsEdit, 1, 1);
  fields->addWidget(new QLabel(QStringLiteral("For:"), this), 2, 0);
  fields->addWidget(EngineCB, 2, 1);
  auto* checks = new QHBoxLayout;
  checks->addWidget(WholeWordCB);
  checks->addWidget(MatchCaseCB);
  checks->addStretch();
  fields->addLayout(checks, 3, 1);
  fields->addWidget(new QLabel(QStringLiteral("Test with:"), this), 4, 0);
  auto* test = new QHBoxLayout;
  test->addWidget(VoiceCB, 1);
  test->addWidget(TestBtn);
  fields->addLayout(test, 4, 1);

  auto* side = new QVBoxLayout;
  for (QPushButton* b : {AddBtn, ChangeBtn, DeleteBtn}) {
    side->addWidget(b);
  }
  side->addSpacing(12);
  side->addWidget(ImportBtn);
  side->addWidget(ExportBtn);
  side->addStretch();
  side->addWidget(CloseBtn);

  auto* left = new QVBoxLayout;
  left->addWidget(ListTW, 1);
  left->addLayout(fields);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(side);

  AskImportFile = [this] {
    return QFileDialog::getOpenFileName(this, QStringLiteral("Import Pronunciations"), QString(),
                                        QStringLiteral("Text files (*.txt);;All files (*)"));
  };
  AskExportFile = [this] {
    return QFileDialog::getSaveFileName(this, QStringLiteral("Export Pronunciations"),
                                        QStringLiteral("pronunciations.txt"),
                                        QStringLiteral("Text files (*.txt);;All files (*)"));
  };

  connect(AddBtn, &QPushButton::clicked, this, &TPronunciationEditorForm::AddBtnClick);
  connect(ChangeBtn, &QPushButton::clicked, this, &TPronunciationEditorForm::ChangeBtnClick);
  connect(DeleteBtn, &QPushButton::clicked, this, &TPronunciationEditorForm::DeleteBtnClick);
  connect(TestBtn, &QPushButton::clicked, this, &TPronunciationEditorForm::TestBtnClick);
  connect(ImportBtn, &QPushButton::clicked, this, &TPronunciationEditorForm::ImportBtnClick);
  connect(ExportBtn, &QPushButton::clicked, this, &TPronunciationEditorForm::ExportBtnClick);
  connect(CloseBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(ListTW, &QTableWidget::itemSelectionChanged, this,
          &TPronunciationEditorForm::ListSelectionChanged);
  connect(WrittenEdit, &QLineEdit::textChanged, this, &TPronunciationEditorForm::UpdateButtons);
  connect(SayAsEdit, &QLineEdit::textChanged, this, &TPronunciationEditorForm::UpdateButtons);

  FillList(FList.Items.empty() ? -1 : 0);
}

TPronunciationEditorForm::~TPronunciationEditorForm() = default;

void TPronunciationEditorForm::FillList(int select) {
  const QSignalBlocker block(ListTW);
  ListTW->setRowCount(static_cast<int>(FList.Items.size()));
  for (int row = 0; row < ListTW->rowCount(); ++row) {
    const TPronunciation& entry = FList.Items[static_cast<std::size_t>(row)];
    ListTW->setItem(row, 0, Cell(entry.Written));
    ListTW->setItem(row, 1, Cell(entry.SayAs));
    ListTW->setItem(
        row, 2, Cell(entry.WholeWord ? QStringLiteral("Whole word") : QStringLiteral("Anywhere")));
    ListTW->setItem(row, 3,
                    Cell(entry.MatchCase ? QStringLiteral("Counts") : QStringLiteral("Ignored")));
    ListTW->setItem(row, 4, Cell(entry.Engine.isEmpty() ? kAllVoices : entry.Engine));
  }
  ListTW->resizeColumnsToContents();
  ListTW->clearSelection();
  if (select >= 0 && select < ListTW->rowCount()) {
    ListTW->selectRow(select);
  }
  ListSelectionChanged();
}

int TPronunciationEditorForm::SelectedRow() const {
  const QList<QTableWidgetItem*> items = ListTW->selectedItems();
  return items.isEmpty() ? -1 : items.front()->row();
}

void TPronunciationEditorForm::ListSelectionChanged() {
  const int row = SelectedRow();
  if (row >= 0) {
    const TPronunciation& entry = FList.Items[static_cast<std::size_t>(row)];
    WrittenEdit->setText(entry.Written);
    SayAsEdit->setText(entry.SayAs);
    WholeWordCB->setChecked(entry.WholeWord);
    MatchCaseCB->setChecked(entry.MatchCase);
    const int engine = entry.Engine.isEmpty() ? 0 : EngineCB->findText(entry.Engine);
    if (engine < 0) {
      // An entry for an engine that is not installed now keeps its engine.
      EngineCB->addItem(entry.Engine);
      EngineCB->setCurrentIndex(EngineCB->count() - 1);
    } else {
      EngineCB->setCurrentIndex(engine);
    }
  }
  UpdateButtons();
}

void TPronunciationEditorForm::UpdateButtons() {
  const bool selected = SelectedRow() >= 0;
  const bool written = !WrittenEdit->text().isEmpty();
  AddBtn->setEnabled(written);
  ChangeBtn->setEnabled(selected && written);
  DeleteBtn->setEnabled(selected);
  TestBtn->setEnabled(VoiceCB->count() > 0 &&
                      !(SayAsEdit->text().trimmed().isEmpty() && WrittenEdit->text().isEmpty()));
  ExportBtn->setEnabled(!FList.Items.empty());
}

bool TPronunciationEditorForm::EntryFromFields(TPronunciation& entry) const {
  entry.Written = WrittenEdit->text();
  entry.SayAs = SayAsEdit->text();
  entry.WholeWord = WholeWordCB->isChecked();
  entry.MatchCase = MatchCaseCB->isChecked();
  entry.Engine = EngineCB->currentIndex() <= 0 ? QString() : EngineCB->currentText();
  if (entry.Written.isEmpty()) {
    UserMessages().ShowMessage(QStringLiteral("Type the word as it is written first."));
    return false;
  }
  return true;
}

int TPronunciationEditorForm::SameEntry(const TPronunciation& entry, int except) const {
  for (int i = 0; i < static_cast<int>(FList.Items.size()); ++i) {
    const TPronunciation& other = FList.Items[static_cast<std::size_t>(i)];
    if (i != except && other.Written == entry.Written && other.Engine == entry.Engine) {
      return i;
    }
  }
  return -1;
}

void TPronunciationEditorForm::AddBtnClick() {
  TPronunciation entry;
  if (!EntryFromFields(entry)) {
    return;
  }
  // The same word for the same voices again replaces the row it has: two
  // rows could never both apply.
  int row = SameEntry(entry, -1);
  if (row >= 0) {
    FList.Items[static_cast<std::size_t>(row)] = entry;
  } else {
    FList.Items.push_back(entry);
    row = static_cast<int>(FList.Items.size()) - 1;
  }
  Save();
  FillList(row);
}

void TPronunciationEditorForm::ChangeBtnClick() {
  int row = SelectedRow();
  TPronunciation entry;
  if (row < 0 || !EntryFromFields(entry)) {
    return;
  }
  FList.Items[static_cast<std::size_t>(row)] = entry;
  if (const int same = SameEntry(entry, row); same >= 0) {
    FList.Items.erase(FList.Items.begin() + same);
    row = same < row ? row - 1 : row;
  }
  Save();
  FillList(row);
}

void TPronunciationEditorForm::DeleteBtnClick() {
  const int row = SelectedRow();
  if (row < 0) {
    return;
  }
  FList.Items.erase(FList.Items.begin() + row);
  Save();
  FillList(std::min(row, static_cast<int>(FList.Items.size()) - 1));
}

void TPronunciationEditorForm::TestBtnClick() {
  // What the engine will be given; the written form when there is nothing
  // to say instead yet.
  const QString text =
      SayAsEdit->text().trimmed().isEmpty() ? WrittenEdit->text() : SayAsEdit->text();
  if (text.trimmed().isEmpty() || VoiceCB->currentText().isEmpty() || !SpeakText) {
    return;
  }
  SpeakText(text, VoiceCB->currentText());
}

void TPronunciationEditorForm::ImportBtnClick() {
  const QString path = AskImportFile ? AskImportFile() : QString();
  if (path.isEmpty()) {
    return;
  }
  TPronunciationList imported;
  QString error;
  QList<int> badLines;
  if (!QFileInfo(path).isFile() || !imported.Load(path, &error, &badLines)) {
    UserMessages().ShowError(
        QStringLiteral("Could not import the pronunciations from ") + path +
            (error.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + error),
        kCaption);
    return;
  }
  for (const TPronunciation& entry : imported.Items) {
    const int same = SameEntry(entry, -1);
    if (same >= 0) {
      FList.Items[static_cast<std::size_t>(same)] = entry;
    } else {
      FList.Items.push_back(entry);
    }
  }
  if (!imported.Items.empty()) {
    Save();
  }
  FillList(SelectedRow());
  if (!badLines.isEmpty()) {
    QStringList numbers;
    for (const int line : badLines.mid(0, 10)) {
      numbers << QString::number(line);
    }
    const std::size_t count = imported.Items.size();
    const QString imports =
        count == 1 ? QStringLiteral("1 pronunciation was imported from ")
                   : QString::number(count) + QStringLiteral(" pronunciations were imported from ");
    const QString left =
        badLines.size() == 1
            ? QStringLiteral("1 line could not be read and was left out (line ")
            : QString::number(badLines.size()) +
                  QStringLiteral(" lines could not be read and were left out (lines ");
    UserMessages().ShowMessage(
        imports + path + QStringLiteral(".\n") + left + numbers.join(QStringLiteral(", ")) +
        (badLines.size() > 10 ? QStringLiteral(", ...).") : QStringLiteral(").")));
  }
}

void TPronunciationEditorForm::ExportBtnClick() {
  const QString path = AskExportFile ? AskExportFile() : QString();
  if (path.isEmpty()) {
    return;
  }
  QString error;
  if (!FList.Save(path, &error)) {
    UserMessages().ShowError(QStringLiteral("Could not export the pronunciations to ") + path +
                                 QStringLiteral(": ") + error,
                             kCaption);
  }
}

void TPronunciationEditorForm::Save() {
  QString error;
  if (!FList.Save(FPath, &error)) {
    // The change still applies until the program ends; the file keeps the
    // list as it was last saved.
    UserMessages().ShowError(QStringLiteral("Could not save the pronunciation list to ") + FPath +
                                 QStringLiteral(": ") + error,
                             kCaption);
  }
}

#include "TRegistryStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <cerrno>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "RegFileFormat.h"

// One key: its subkeys and values in creation order, with case-folded indexes.
class TRegKeyNode final {
 public:
  explicit TRegKeyNode(QString name) : Name(std::move(name)) {}

  TRegKeyNode* Child(const QString& name) const {
    const auto it = FChildIndex.constFind(name.toCaseFolded());
    return it == FChildIndex.cend() ? nullptr : Children[*it].get();
  }
  TRegKeyNode* AddChild(const QString& name) {
    FChildIndex.insert(name.toCaseFolded(), static_cast<int>(Children.size()));
    Children.push_back(std::make_unique<TRegKeyNode>(name));
    return Children.back().get();
  }
  bool RemoveChild(const QString& name) {
    const auto it = FChildIndex.constFind(name.toCaseFolded());
    if (it == FChildIndex.cend()) {
      return false;
    }
    Children.erase(Children.begin() + *it);
    FChildIndex.clear();
    for (int i = 0; i < static_cast<int>(Children.size()); ++i) {
      FChildIndex.insert(Children[i]->Name.toCaseFolded(), i);
    }
    return true;
  }

  const TRegValue* Value(const QString& name) const {
    const auto it = FValueIndex.constFind(name.toCaseFolded());
    return it == FValueIndex.cend() ? nullptr : &Values[*it].second;
  }
  void SetValue(const QString& name, const TRegValue& value) {
    const QString folded = name.toCaseFolded();
    const auto it = FValueIndex.constFind(folded);
    if (it != FValueIndex.cend()) {
      Values[*it].second = value;
      return;
    }
    FValueIndex.insert(folded, static_cast<int>(Values.size()));
    Values.emplace_back(name, value);
  }
  bool RemoveValue(const QString& name) {
    const auto it = FValueIndex.constFind(name.toCaseFolded());
    if (it == FValueIndex.cend()) {
      return false;
    }
    Values.erase(Values.begin() + *it);
    FValueIndex.clear();
    for (int i = 0; i < static_cast<int>(Values.size()); ++i) {
      FValueIndex.insert(Values[i].first.toCaseFolded(), i);
    }
    return true;
  }

  QString Name;
  std::vector<std::unique_ptr<TRegKeyNode>> Children;
  std::vector<std::pair<QString, TRegValue>> Values;

 private:
  QHash<QString, int> FChildIndex;
  QHash<QString, int> FValueIndex;
};

namespace {

// Splits a key path; nullopt for an empty piece or a line break in a name,
// which no key may have (the file keeps one key per line).
std::optional<QStringList> SplitPath(const QString& path) {
  if (path.isEmpty()) {
    return QStringList();
  }
  QStringList pieces = path.split(u'\\');
  for (const QString& piece : pieces) {
    if (piece.isEmpty() || piece.contains(u'\n') || piece.contains(u'\r') ||
        piece.contains(QChar(u'\0'))) {
      return std::nullopt;
    }
  }
  return pieces;
}

void SerializeKey(const TRegKeyNode& node, const QString& path, QString& out) {
  if (!path.isEmpty() || !node.Values.empty()) {
    out += u'[';
    out += path;
    out += QStringLiteral("]\n");
    for (const auto& [name, value] : node.Values) {
      out += name.isEmpty() ? QStringLiteral("@") : RegFileFormat::Quote(name);
      out += u'=';
      out += RegFileFormat::FormatData(value);
      out += u'\n';
    }
    out += u'\n';
  }
  for (const auto& child : node.Children) {
    SerializeKey(*child, path + u'\\' + child->Name, out);
  }
}

QString Errno() {
  return QString::fromLocal8Bit(std::strerror(errno));
}

// Temporary file in the same folder, fsync, rename, fsync of the folder: a
// crash at any moment leaves the old file or the new one, never a mixture.
bool WriteAtomically(const QString& path, const QByteArray& data, QString& error, QString& reason) {
  const QString dir = QFileInfo(path).absolutePath();
  QDir().mkpath(dir);
  QByteArray pattern = QFile::encodeName(path) + ".tmp-XXXXXX";
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    reason = Errno();
    error = QStringLiteral("Cannot create a temporary file beside ") + path + QStringLiteral(": ") +
            reason;
    return false;
  }
  auto fail = [&](const QString& what) {
    reason = Errno();
    error = what + QStringLiteral(": ") + reason;
    ::close(fd);
    ::unlink(pattern.constData());
    return false;
  };
  if (::fchmod(fd, 0600) != 0) {
    return fail(QStringLiteral("Cannot set the mode of ") + path);
  }
  const char* p = data.constData();
  qint64 left = data.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return fail(QStringLiteral("Cannot write ") + path);
    }
    p += n;
    left -= n;
  }
  if (::fsync(fd) != 0) {
    return fail(QStringLiteral("Cannot flush ") + path);
  }
  if (::close(fd) != 0) {
    reason = Errno();
    error = QStringLiteral("Cannot close ") + path + QStringLiteral(": ") + reason;
    ::unlink(pattern.constData());
    return false;
  }
  if (::rename(pattern.constData(), QFile::encodeName(path).constData()) != 0) {
    reason = Errno();
    error = QStringLiteral("Cannot replace ") + path + QStringLiteral(": ") + reason;
    ::unlink(pattern.constData());
    return false;
  }
  const int dirFd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return true;
}

// Moves a file the store could not use out of the way, keeping every byte.
QString MoveAside(const QString& path) {
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
  QString target = path + QStringLiteral(".damaged-") + stamp;
  for (int n = 2; QFileInfo::exists(target); ++n) {
    target = path + QStringLiteral(".damaged-") + stamp + u'-' + QString::number(n);
  }
  return QFile::rename(path, target) ? target : QString();
}

}  // namespace

TRegistryStore::TRegistryStore() : FRoot(std::make_unique<TRegKeyNode>(QString())) {}

TRegistryStore::~TRegistryStore() = default;

void TRegistryStore::Clear() {
  FRoot = std::make_unique<TRegKeyNode>(QString());
  FDirty = false;
}

void TRegistryStore::Report(const TRegistryProblem& problem) const {
  if (FProblemHandler) {
    FProblemHandler(problem);
  }
}

void TRegistryStore::BindFile(const QString& path) {
  Clear();
  FFilePath = path;
  FPersist = !path.isEmpty();
  FFileWrites = 0;
  if (!FPersist || !QFileInfo::exists(path)) {
    return;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    TRegistryProblem problem{TRegistryProblem::pkUnreadableFile,
                             path,
                             MoveAside(path),
                             0,
                             file.errorString(),
                             QString()};
    // Never overwrite a file we could neither read nor move: it may hold everything.
    FPersist = !problem.KeptAsPath.isEmpty();
    Report(problem);
    return;
  }
  const QByteArray bytes = file.readAll();
  const bool readFailed = file.error() != QFileDevice::NoError;
  file.close();
  int badLines = 0;
  QString firstProblem;
  Parse(bytes, &badLines, &firstProblem);
  if (readFailed) {
    ++badLines;
    firstProblem = file.errorString();
  }
  if (badLines == 0) {
    return;
  }
  TRegistryProblem problem{
      TRegistryProblem::pkDamagedFile, path, MoveAside(path), badLines, firstProblem, QString()};
  FPersist = !problem.KeptAsPath.isEmpty();
  Report(problem);
  if (FPersist) {
    // Put what survived back in place at once, so the next start finds it.
    FDirty = true;
    Flush();
  }
}

TRegKeyNode* TRegistryStore::Find(const QString& path) const {
  const auto pieces = SplitPath(path);
  if (!pieces) {
    return nullptr;
  }
  TRegKeyNode* node = FRoot.get();
  for (const QString& piece : *pieces) {
    node = node->Child(piece);
    if (node == nullptr) {
      return nullptr;
    }
  }
  return node;
}

bool TRegistryStore::KeyExists(const QString& path) const {
  return Find(path) != nullptr;
}

bool TRegistryStore::CreateKey(const QString& path) {
  const auto pieces = SplitPath(path);
  if (!pieces) {
    return false;
  }
  TRegKeyNode* node = FRoot.get();
  bool created = false;
  for (const QString& piece : *pieces) {
    TRegKeyNode* child = node->Child(piece);
    if (child == nullptr) {
      child = node->AddChild(piece);
      created = true;
    }
    node = child;
  }
  if (created) {
    Changed();
  }
  return true;
}

bool TRegistryStore::DeleteKey(const QString& path) {
  const int cut = path.lastIndexOf(u'\\');
  TRegKeyNode* parent = Find(cut < 0 ? QString() : path.left(cut));
  if (path.isEmpty() || parent == nullptr || !parent->RemoveChild(path.mid(cut + 1))) {
    return false;
  }
  Changed();
  return true;
}

QStringList TRegistryStore::SubKeyNames(const QString& path) const {
  QStringList names;
  if (const TRegKeyNode* node = Find(path)) {
    for (const auto& child : node->Children) {
      names << child->Name;
    }
  }
  return names;
}

std::optional<TRegValue> TRegistryStore::Value(const QString& path, const QString& name) const {
  if (const TRegKeyNode* node = Find(path)) {
    if (const TRegValue* value = node->Value(name)) {
      return *value;
    }
  }
  return std::nullopt;
}

bool TRegistryStore::SetValue(const QString& path, const QString& name, const TRegValue& value) {
  TRegKeyNode* node = Find(path);
  if (node == nullptr) {
    return false;
  }
  const TRegValue* old = node->Value(name);
  if (old != nullptr && *old == value) {
    return true;
  }
  node->SetValue(name, value);
  Changed();
  return true;
}

bool TRegistryStore::DeleteValue(const QString& path, const QString& name) {
  TRegKeyNode* node = Find(path);
  if (node == nullptr || !node->RemoveValue(name)) {
    return false;
  }
  Changed();
  return true;
}

QStringList TRegistryStore::ValueNames(const QString& path) const {
  QStringList names;
  if (const TRegKeyNode* node = Find(path)) {
    for (const auto& value : node->Values) {
      names << value.first;
    }
  }
  return names;
}

void TRegistryStore::Changed() {
  FDirty = true;
  if (FBatchDepth == 0) {
    Flush();
  }
}

bool TRegistryStore::EndBatch() {
  if (FBatchDepth > 0) {
    --FBatchDepth;
  }
  return FBatchDepth > 0 || Flush();
}

bool TRegistryStore::Flush() {
  if (!FPersist || !FDirty) {
    return true;
  }
  QString error;
  QString reason;
  if (!WriteAtomically(FFilePath, Serialize(), error, reason)) {
    FSaveFailing = true;
    Report(
        TRegistryProblem{TRegistryProblem::pkSaveFailed, FFilePath, QString(), 0, error, reason});
    return false;
  }
  FDirty = false;
  ++FFileWrites;
  if (std::exchange(FSaveFailing, false)) {
    Report(TRegistryProblem{TRegistryProblem::pkSaveRecovered, FFilePath, QString(), 0, QString(),
                            QString()});
  }
  return true;
}

QByteArray TRegistryStore::Serialize() const {
  QString out = QLatin1String(RegFileFormat::Header) + QStringLiteral("\n\n");
  SerializeKey(*FRoot, FRootName, out);
  return out.toUtf8();
}

void TRegistryStore::Parse(const QByteArray& text, int* badLines, QString* firstProblem) {
  int bad = 0;
  QString first;
  auto damage = [&](int lineNo, const QString& why) {
    if (bad++ == 0) {
      first = QStringLiteral("line %1: %2").arg(lineNo).arg(why);
    }
  };
  if (QString::fromUtf8(text).toUtf8() != text) {
    damage(0, QStringLiteral("not valid UTF-8"));
  }
  const QStringList lines = QString::fromUtf8(text).split(u'\n');
  const QString rootPrefix = FRootName + u'\\';
  TRegKeyNode* current = nullptr;
  bool sawHeader = false;
  for (int i = 0; i < lines.size(); ++i) {
    QString line = lines[i];
    if (line.endsWith(u'\r')) {
      line.chop(1);
    }
    const int lineNo = i + 1;
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(u';')) {
      continue;
    }
    if (!sawHeader) {
      sawHeader = true;
      if (trimmed == QLatin1String(RegFileFormat::Header) ||
          trimmed == QLatin1String(RegFileFormat::HeaderV5)) {
        continue;
      }
      damage(lineNo, QStringLiteral("no header"));
    }
    if (line.startsWith(u'[')) {
      current = nullptr;
      const int close = line.lastIndexOf(u']');
      if (close < 0 || !QStringView(line).mid(close + 1).trimmed().isEmpty()) {
        damage(lineNo, QStringLiteral("broken key line"));
        continue;
      }
      const QString path = line.mid(1, close - 1);
      if (path.startsWith(u'-')) {
        continue;  // a deletion entry: nothing to keep
      }
      QString below;
      if (path.compare(FRootName, Qt::CaseInsensitive) == 0) {
        below.clear();
      } else if (path.startsWith(rootPrefix, Qt::CaseInsensitive)) {
        below = path.mid(rootPrefix.size());
      } else {
        damage(lineNo, QStringLiteral("key outside ") + FRootName);
        continue;
      }
      if (!SplitPath(below) || !CreateKeyQuietly(below)) {
        damage(lineNo, QStringLiteral("invalid key name"));
        continue;
      }
      current = Find(below);
      continue;
    }
    // A value line: "name"=data or @=data.
    int pos = 0;
    QString name;
    if (line.startsWith(u'@')) {
      pos = 1;
    } else if (auto quoted = RegFileFormat::Unquote(line, pos)) {
      name = *quoted;
    } else {
      damage(lineNo, QStringLiteral("unreadable line"));
      continue;
    }
    if (pos >= line.size() || line[pos] != u'=') {
      damage(lineNo, QStringLiteral("no value after the name"));
      continue;
    }
    QString data = line.mid(pos + 1);
    if (data.trimmed().startsWith(QStringLiteral("hex"), Qt::CaseInsensitive)) {
      while (RegFileFormat::ContinuesOnNextLine(data) && i + 1 < lines.size()) {
        data.chop(1);
        QString next = lines[++i];
        if (next.endsWith(u'\r')) {
          next.chop(1);
        }
        data += next.trimmed();
      }
    }
    if (current == nullptr) {
      damage(lineNo, QStringLiteral("value outside a key"));
      continue;
    }
    if (data.trimmed() == QStringLiteral("-")) {
      continue;  // a deletion entry
    }
    const auto value = RegFileFormat::ParseData(data);
    if (!value) {
      damage(lineNo, QStringLiteral("unreadable value data"));
      continue;
    }
    current->SetValue(name, *value);
  }
  if (badLines != nullptr) {
    *badLines = bad;
  }
  if (firstProblem != nullptr) {
    *firstProblem = first;
  }
}

bool TRegistryStore::CreateKeyQuietly(const QString& path) {
  const int depth = FBatchDepth;
  FBatchDepth = 1;  // no write while parsing
  const bool ok = CreateKey(path);
  FBatchDepth = depth;
  return ok;
}

TRegistryStore* RegistryRootStore(HKEY root) {
  static std::map<HKEY, std::unique_ptr<TRegistryStore>> stores;
  const QString name = RegistryRootName(root);
  if (name.isEmpty()) {
    return nullptr;
  }
  auto& store = stores[root];
  if (!store) {
    store = std::make_unique<TRegistryStore>();
    store->SetRootName(name);
  }
  return store.get();
}

QString RegistryRootName(HKEY root) {
  switch (root) {
    case HKEY_CLASSES_ROOT:
      return QStringLiteral("HKEY_CLASSES_ROOT");
    case HKEY_CURRENT_USER:
      return QStringLiteral("HKEY_CURRENT_USER");
    case HKEY_LOCAL_MACHINE:
      return QStringLiteral("HKEY_LOCAL_MACHINE");
    case HKEY_USERS:
      return QStringLiteral("HKEY_USERS");
    case HKEY_PERFORMANCE_DATA:
      return QStringLiteral("HKEY_PERFORMANCE_DATA");
    case HKEY_CURRENT_CONFIG:
      return QStringLiteral("HKEY_CURRENT_CONFIG");
    case HKEY_DYN_DATA:
      return QStringLiteral("HKEY_DYN_DATA");
    default:
      return QString();
  }
}

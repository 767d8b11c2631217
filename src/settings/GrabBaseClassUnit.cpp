#include "GrabBaseClassUnit.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "SettingsErrors.h"
#include "TextDecoding.h"

namespace {

// Sections nested deeper than this are skipped: a hostile file of nothing but
// opening tags would otherwise recurse once per tag and exhaust the stack.
constexpr int MaxSectionDepth = 64;

// A counted list never has more entries than a file window can hold values.
constexpr qint32 MaxListCount = GrabBaseClass::WindowSize;

}  // namespace

void NVListClass::PutValue(const QString& name, const QString& value) {
  for (qsizetype i = 0; i < FNames.size(); ++i) {
    if (FNames[i].compare(name, Qt::CaseInsensitive) == 0) {
      FValues[i] = value;
      return;
    }
  }
  FNames << name;
  FValues << value;
}

QString NVListClass::GetValueText(const QString& name) const {
  for (qsizetype i = 0; i < FNames.size(); ++i) {
    if (FNames[i].compare(name, Qt::CaseInsensitive) == 0) {
      return FValues[i];
    }
  }
  return QString();
}

void NVListClass::Clear() {
  FNames.clear();
  FValues.clear();
}

void GBItemClass::Clear() {
  Sections.clear();
  Values.Clear();
}

void GBItemClass::Parse(QStringView bodyText, const QString& parentPath, int level,
                        GBItemClass* parent, const QString& attribute, const QString& sectionName) {
  SectionName = sectionName;
  Attribute = attribute;
  Parent = parent;
  Level = level;
  if (parentPath.isEmpty() && sectionName.isEmpty()) {
    SectionPath = QStringLiteral("/");
  } else if (parentPath == QStringLiteral("/")) {
    SectionPath = u'/' + sectionName;
  } else {
    SectionPath = parentPath + u'/' + sectionName;
  }

  static const QString openKey = QStringLiteral("<key");
  static const QString closeKey = QStringLiteral("</key");
  QStringView rest = bodyText;
  for (;;) {
    const qsizetype lt = rest.indexOf(u'<');
    if (lt < 0) {
      break;
    }
    const qsizetype gt = rest.indexOf(u'>', lt + 1);
    if (gt < 0) {
      break;
    }
    const QStringView tag = rest.mid(lt + 1, gt - lt - 1);
    qsizetype end = gt;  // last character of the element
    if (tag.startsWith(u"key", Qt::CaseInsensitive)) {
      const qsizetype eq = tag.indexOf(u'=');
      const QString name = (eq < 0 ? tag : tag.mid(eq + 1)).toString();
      const QString attr =
          (eq < 0 ? tag.mid(4) : tag.mid(4, std::max<qsizetype>(eq - 4, 0))).toString();
      // The element ends where the "<key" and "</key" tags balance.
      // Each search resumes where it left off, so a run of unmatched tags
      // costs one pass, not one pass per tag.
      int depth = 0;
      qsizetype closeAt = -1;
      qsizetype open = rest.indexOf(openKey, 0, Qt::CaseInsensitive);
      qsizetype close = rest.indexOf(closeKey, 0, Qt::CaseInsensitive);
      while (open >= 0 || close >= 0) {
        if (open >= 0 && (close < 0 || open < close)) {
          ++depth;
          open = rest.indexOf(openKey, open + openKey.size(), Qt::CaseInsensitive);
        } else {
          if (--depth <= 0) {
            closeAt = close;
            break;
          }
          close = rest.indexOf(closeKey, close + closeKey.size(), Qt::CaseInsensitive);
        }
      }
      end = rest.size() - 1;  // unbalanced: the section runs to the end
      if (closeAt >= 0) {
        const qsizetype closeGt = rest.indexOf(u'>', closeAt);
        if (closeGt >= 0) {
          end = closeGt;
        }
      }
      QStringView childBody = rest.mid(lt, end - lt + 1).mid(1);
      const qsizetype lastClose = childBody.lastIndexOf(closeKey, Qt::CaseInsensitive);
      if (lastClose >= 0) {
        childBody = childBody.left(lastClose);
      }
      if (level + 1 <= MaxSectionDepth) {
        Sections.push_back(std::make_unique<GBItemClass>());
        Sections.back()->Parse(childBody, SectionPath, level + 1, this, attr, name);
      }
    } else {
      const QString closing = QStringLiteral("</") + tag.toString() + u'>';
      const qsizetype valueEnd = rest.indexOf(closing, gt + 1);
      if (valueEnd >= 0) {
        Values.PutValue(tag.toString(), rest.mid(gt + 1, valueEnd - gt - 1).toString());
        end = valueEnd + closing.size() - 1;
      }
    }
    rest = rest.mid(end + 1).left(GrabBaseClass::WindowSize);
  }
}

GBItemClass* GBItemClass::FindSection(const QString& path) {
  if (path == SectionPath) {
    return this;
  }
  for (const auto& child : Sections) {
    if (GBItemClass* hit = child->FindSection(path)) {
      return hit;
    }
  }
  return nullptr;
}

GrabBaseClass::GrabBaseClass() : FRoot(std::make_unique<GBItemClass>()) {}

GrabBaseClass::~GrabBaseClass() = default;

QString GrabBaseClass::JoinLines(const QString& text) {
  // One pass over the characters: each line's inner part is copied once.
  QString joined(text.size(), Qt::Uninitialized);
  QChar* out = joined.data();
  const QChar* p = text.constData();
  const QChar* const end = p + text.size();
  while (p <= end) {
    const QChar* stop = p;
    while (stop < end && *stop != u'\n' && *stop != u'\r') {
      ++stop;
    }
    const QChar* a = p;
    const QChar* b = stop;
    while (a < b && a->unicode() <= u' ') {
      ++a;
    }
    while (b > a && (b - 1)->unicode() <= u' ') {
      --b;
    }
    std::copy(a, b, out);
    out += b - a;
    if (stop >= end) {
      break;
    }
    p = stop + 1;
  }
  joined.truncate(out - joined.constData());
  return joined;
}

void GrabBaseClass::LoadFromText(const QString& text) {
  FRoot = std::make_unique<GBItemClass>();
  FText = JoinLines(text);
  FRoot->Parse(FText, QString(), 0, nullptr, QString(), QString());
}

void GrabBaseClass::LoadFromBytes(const QByteArray& bytes) {
  LoadFromText(DecodeTextFile(bytes));
}

void GrabBaseClass::LoadFromFile(const QString& path, QString& errorText) {
  errorText.clear();
  FRoot = std::make_unique<GBItemClass>();
  FFileName.clear();
  FText.clear();
  if (!QFileInfo::exists(path)) {
    errorText = QStringLiteral("File:") + path + QStringLiteral(" Not Found.");
    return;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    // Reported, not raised: the callers read help and test texts and go on without them.
    errorText = QStringLiteral("File:") + path + QStringLiteral(" could not be read: ") +
                file.errorString();
    return;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    errorText = QStringLiteral("File:") + path + QStringLiteral(" could not be read: ") +
                file.errorString();
    return;
  }
  FFileName = path;
  LoadFromBytes(bytes);
}

QString GrabBaseClass::GetText(const QString& sectionPath, const QString& name) {
  const GBItemClass* section = FRoot->FindSection(sectionPath);
  return section == nullptr ? QString() : section->Values.GetValueText(name);
}

void GrabBaseClass::GetList(const QString& sectionPath, const QString& name, QStringList& list) {
  list.clear();
  const GBItemClass* section = FRoot->FindSection(sectionPath);
  if (section == nullptr) {
    return;
  }
  QString countText = section->Values.GetValueText(name);
  if (countText.isEmpty()) {
    countText = QStringLiteral("0");
  }
  const qint32 count = std::min(StrToInt(countText), MaxListCount);
  for (qint32 i = 0; i < count; ++i) {
    list << section->Values.GetValueText(name + QString::number(i));
  }
}

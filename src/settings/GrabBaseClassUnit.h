#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>
#include <vector>

// Name/value pairs of one section, in insertion order. Names match ignoring
// letter case; a repeated name replaces the value and keeps the first spelling.
class NVListClass final {
 public:
  void PutValue(const QString& name, const QString& value);
  QString GetValueText(const QString& name) const;
  void Clear();
  int Count() const { return FNames.size(); }
  const QStringList& Names() const { return FNames; }
  const QStringList& Values() const { return FValues; }

 private:
  QStringList FNames;
  QStringList FValues;
};

// One section of a tagged text file, with its child sections and values.
class GBItemClass final {
 public:
  GBItemClass() = default;
  GBItemClass(const GBItemClass&) = delete;
  GBItemClass& operator=(const GBItemClass&) = delete;

  void Parse(QStringView bodyText, const QString& parentPath, int level, GBItemClass* parent,
             const QString& attribute, const QString& sectionName);
  // Depth first, file order; exact (case-sensitive) path match.
  GBItemClass* FindSection(const QString& path);
  void Clear();

  QString SectionName;
  QString Attribute;
  QString SectionPath;
  GBItemClass* Parent = nullptr;
  int Level = 0;
  std::vector<std::unique_ptr<GBItemClass>> Sections;
  NVListClass Values;
};

// Reads a tagged ".chl" file into a tree of sections and answers lookups.
// Sections are "<key name=X>...</key>", values "<Name>text</Name>"; line
// breaks carry no meaning. After each element only the next 100000 characters
// of the text are considered, which bounds the usable size of a file.
class GrabBaseClass final {
 public:
  static constexpr int WindowSize = 100000;

  GrabBaseClass();
  ~GrabBaseClass();
  GrabBaseClass(const GrabBaseClass&) = delete;
  GrabBaseClass& operator=(const GrabBaseClass&) = delete;

  // A missing or unreadable file leaves the tree empty and sets errorText.
  void LoadFromFile(const QString& path, QString& errorText);
  // Parses text already in memory (lines joined as a file's would be).
  void LoadFromText(const QString& text);
  void LoadFromBytes(const QByteArray& bytes);

  QString GetText(const QString& sectionPath, const QString& name);
  // Raises EConvertError when the count is not a decimal integer.
  void GetList(const QString& sectionPath, const QString& name, QStringList& list);

  GBItemClass& Root() { return *FRoot; }
  QString FileName() const { return FFileName; }
  const QString& Text() const { return FText; }

  // Trims each line of blanks and control characters and joins them.
  static QString JoinLines(const QString& text);

 private:
  QString FFileName;
  QString FText;
  std::unique_ptr<GBItemClass> FRoot;
};

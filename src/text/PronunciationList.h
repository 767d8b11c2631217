#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <vector>

// One of the user's own pronunciations: wherever Written occurs, the engine
// is given SayAs instead.
struct TPronunciation {
  QString Written;
  QString SayAs;
  // Only where Written stands as a word of its own, not inside another word.
  bool WholeWord = true;
  bool MatchCase = false;
  // Vendor of the engine it is for ("eSpeak NG", "Flite"); empty for every voice.
  QString Engine;

  friend bool operator==(const TPronunciation&, const TPronunciation&) = default;
};

// Where the replacements of one application of the list went, so that a
// position the engine reports in the rewritten text finds the original word.
class TPronunciationMap final {
 public:
  void Clear() { FSpans.clear(); }
  void Add(qint32 outStart, qint32 outEnd, qint32 inStart, qint32 inEnd) {
    FSpans.push_back({outStart, outEnd, inStart, inEnd});
  }
  // Position in the rewritten text -> position in the text it came from: a
  // position inside a replacement lands on the start of the replaced word.
  qint32 MapPosition(qint32 position) const;
  bool IsEmpty() const { return FSpans.empty(); }

 private:
  struct TSpan {
    qint32 OutStart, OutEnd, InStart, InEnd;
  };
  std::vector<TSpan> FSpans;  // in text order
};

// The user's pronunciation list, applied to every text before the speech
// filter, and its plain-text file: one entry per line,
//   written <TAB> say as <TAB> word|anywhere,case|nocase <TAB> engine
// with "\\", "\t" and "\n" escaped inside fields; lines starting with "#"
// and empty lines are ignored.
class TPronunciationList final {
 public:
  std::vector<TPronunciation> Items;

  // Rewrites text for a voice of the given engine vendor; map receives the
  // replacements made. When two entries match at one place the longer
  // written form wins, then the earlier entry.
  QString Apply(const QString& text, const QString& engine, TPronunciationMap& map) const;

  QString ToText() const;
  // Parses a file's text into entries; lines it cannot read are skipped and
  // their 1-based numbers put in badLines.
  static std::vector<TPronunciation> FromText(const QString& text, QList<int>* badLines = nullptr);

  // The file in the config folder. Load leaves the list empty when there is
  // no file; both return false with a reason on failure.
  static QString DefaultPath();
  bool Load(const QString& path, QString* error = nullptr, QList<int>* badLines = nullptr);
  bool Save(const QString& path, QString* error = nullptr) const;
};

#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Key/value pairs looked up by exact key (letter case counts); the first pair
// added wins when a key repeats.
class TLookupTable final {
 public:
  TLookupTable() = default;

  void Add(const QString& key, const QString& value);
  // Empty when no pair has the key.
  QString Lookup(QStringView key) const;
  // The two-letter United States state codes and the names spoken for them.
  void FillStateNames();

  int Count() const { return FCount; }

 private:
  QStringList FKeys;
  QStringList FValues;
  int FCount = 0;
};

// The one state table the filter reads, filled the first time it is needed.
const TLookupTable& StateNamesTable();

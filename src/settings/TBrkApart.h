#pragma once

#include <QString>
#include <QStringList>

// Splits a text at a separator into a string list.
class TBrkApart final {
 public:
  TBrkApart() = default;

  QString BaseString;
  QString BreakString;
  bool AllowEmptyString = false;

  const QStringList& StringList() const { return FStringList; }
  void SetStringList(const QStringList& list) { FStringList = list; }

  void Split();

 private:
  QStringList FStringList;
};

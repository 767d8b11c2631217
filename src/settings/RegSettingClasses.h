#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// Type codes of the settings a collection can hold.
enum TRegItemType : quint8 { regInt = 0, regReal = 1, regBool = 2, regString = 3, regList = 4 };

// Where a setting lives: 0 directly under the root path, 1 under the SubKey
// with a former name under the root path, 2 under the SubKey.
using TRegLocation = quint8;

// One named setting with a value and a default of its type.
class BaseRegClass {
 public:
  BaseRegClass(QString name, TRegLocation location, QString oldName)
      : Name(std::move(name)), Location(location), OldName(std::move(oldName)) {}
  virtual ~BaseRegClass() = default;
  BaseRegClass(const BaseRegClass&) = delete;
  BaseRegClass& operator=(const BaseRegClass&) = delete;

  virtual TRegItemType Type() const = 0;
  // Raises EConvertError when the text does not fit the type.
  virtual void FromString(const QString& text) = 0;
  virtual QString AsString() const = 0;
  virtual QString DefaultAsString() const = 0;
  virtual QVariant GetVariant() const = 0;
  virtual void SetVariant(const QVariant& value) = 0;

  QString Name;
  TRegLocation Location;
  QString OldName;
};

class TRegIntClass final : public BaseRegClass {
 public:
  TRegIntClass(QString name, TRegLocation location, QString oldName, qint32 defaultValue);
  TRegItemType Type() const override { return regInt; }
  void FromString(const QString& text) override;
  QString AsString() const override;
  QString DefaultAsString() const override;
  QVariant GetVariant() const override;
  void SetVariant(const QVariant& value) override;
  qint32 Value = 0;
  qint32 Default;
};

class TRegRealClass final : public BaseRegClass {
 public:
  TRegRealClass(QString name, TRegLocation location, QString oldName, double defaultValue);
  TRegItemType Type() const override { return regReal; }
  void FromString(const QString& text) override;
  QString AsString() const override;
  QString DefaultAsString() const override;
  QVariant GetVariant() const override;
  void SetVariant(const QVariant& value) override;
  double Value = 0.0;
  double Default;
};

class TRegBoolClass final : public BaseRegClass {
 public:
  TRegBoolClass(QString name, TRegLocation location, QString oldName, bool defaultValue);
  TRegItemType Type() const override { return regBool; }
  void FromString(const QString& text) override;
  QString AsString() const override;
  QString DefaultAsString() const override;
  QVariant GetVariant() const override;
  void SetVariant(const QVariant& value) override;
  bool Value = false;
  bool Default;
};

class TRegStringClass final : public BaseRegClass {
 public:
  TRegStringClass(QString name, TRegLocation location, QString oldName, QString defaultValue);
  TRegItemType Type() const override { return regString; }
  void FromString(const QString& text) override;
  QString AsString() const override;
  QString DefaultAsString() const override;
  QVariant GetVariant() const override;
  void SetVariant(const QVariant& value) override;
  QString Value;
  QString Default;
};

// A list setting: its entries live as values "0", "1", ... of their own key.
class TRegListClass final : public BaseRegClass {
 public:
  TRegListClass(QString name, TRegLocation location, QString oldName);
  TRegItemType Type() const override { return regList; }
  void FromString(const QString& text) override;
  QString AsString() const override;
  QString DefaultAsString() const override;
  QVariant GetVariant() const override;
  void SetVariant(const QVariant& value) override;
  QStringList List;
};

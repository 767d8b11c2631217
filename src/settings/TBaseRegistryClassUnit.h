#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "RegSettingClasses.h"

// Screen size used to keep restored windows on the screen. The settings layer
// cannot ask QScreen itself (it links QtCore only), so the GUI installs a
// provider at start-up; without one a common desktop size is assumed.
using TScreenSizeProvider = std::function<QSize()>;
void SetScreenSizeProvider(TScreenSizeProvider provider);
QSize CurrentScreenSize();

// Where RestoreWindowPlacement wants a window: set Top, Left, Width, Height in
// that order, then maximise when Maximized is set.
struct TWindowPlacement {
  int Top = 0;
  int Left = 0;
  int Width = 0;
  int Height = 0;
  bool Maximized = false;
};

// The base of a settings collection: named, typed settings with defaults,
// loaded from and saved to the registry in one pass.
class TBaseRegistryClass {
 public:
  static inline const QString RootPath = QStringLiteral("Software\\KelmorSoft");
  static inline const QString DefaultValueMarker = QStringLiteral("defaultvalue");

  TBaseRegistryClass();
  virtual ~TBaseRegistryClass();
  TBaseRegistryClass(const TBaseRegistryClass&) = delete;
  TBaseRegistryClass& operator=(const TBaseRegistryClass&) = delete;

  virtual QString Version() const { return QStringLiteral("0.0"); }

  // Creates the setting for the type code (any other code creates nothing) and
  // returns it. Duplicate names are accepted; lookups find the first.
  BaseRegClass* AddItem(const QString& name, TRegLocation location, const QString& oldName,
                        const QVariant& defaultValue, quint8 type);
  // Case-insensitive; an unknown name tells the user and gives nullptr.
  BaseRegClass* FindItem(const QString& name) const;
  // Leaves value unchanged for an unknown name.
  void GetValue(const QString& name, QVariant& value) const;
  QVariant GetValue(const QString& name) const;
  void SetValue(const QString& name, const QVariant& value);

  // A stored value that does not convert gives that one setting its default
  // (with a trace line); loading goes on with the rest.
  void LoadAll();
  // Writes every setting; the registry file is written once for the whole pass.
  void SaveAll();

  // Window placement under "Software\KelmorSoft\Windows\<program>\<form>".
  void SaveWindowPlacement(const QString& formName, const QRect& bounds, bool maximized);
  // Nothing when no placement is stored (or it is unreadable): the window keeps
  // its designed bounds. Otherwise the bounds fitted onto the screen.
  std::optional<TWindowPlacement> RestoreWindowPlacement(const QString& formName);

  // The same for anything shaped like a QWidget (objectName, geometry,
  // isMaximized, setGeometry, setWindowState), so the GUI needs no glue code.
  template <class TForm>
  void SaveWindowPlacement(const TForm& form) {
    SaveWindowPlacement(form.objectName(), form.geometry(), form.isMaximized());
  }
  template <class TForm>
  void RestoreWindowPlacement(TForm& form) {
    if (const auto placement = RestoreWindowPlacement(form.objectName())) {
      form.setGeometry(placement->Left, placement->Top, placement->Width, placement->Height);
      if (placement->Maximized) {
        form.setWindowState(form.windowState() | Qt::WindowMaximized);
      }
    }
  }

  const std::vector<std::unique_ptr<BaseRegClass>>& Items() const { return FItems; }
  QString SubKey = QStringLiteral("change this");

 private:
  QString SectionOf(const BaseRegClass& item) const;
  void LoadItem(class TRegistryEnhanced& reg, BaseRegClass& item);
  void SaveItem(class TRegistryEnhanced& reg, const BaseRegClass& item);

  std::vector<std::unique_ptr<BaseRegClass>> FItems;
};

// The window-placement store of TBaseRegistryClass: position, size and
// maximised state of each form, kept per program file and form name.
#include "AppPaths.h"
#include "BaseUtils.h"
#include "RegistryEnhanced.h"
#include "SettingsErrors.h"
#include "TBaseRegistryClassUnit.h"

namespace {

TScreenSizeProvider& ScreenSizeProvider() {
  static TScreenSizeProvider provider;
  return provider;
}

QString PlacementKey(const QString& formName) {
  return QStringLiteral("Software\\KelmorSoft\\Windows\\") + AppPaths::ProgramFileName() + u'\\' +
         formName;
}

}  // namespace

void SetScreenSizeProvider(TScreenSizeProvider provider) {
  ScreenSizeProvider() = std::move(provider);
}

QSize CurrentScreenSize() {
  if (ScreenSizeProvider()) {
    const QSize size = ScreenSizeProvider()();
    if (size.isValid() && !size.isEmpty()) {
      return size;
    }
  }
  return QSize(1920, 1080);
}

void TBaseRegistryClass::SaveWindowPlacement(const QString& formName, const QRect& bounds,
                                             bool maximized) {
  TRegistryEnhanced reg;
  reg.RootKey = hkCurrentUser;
  reg.Access = kAllAccess;
  reg.Key = PlacementKey(formName);
  try {
    if (maximized) {
      // The normal bounds stored before stay, so un-maximising finds them.
      reg.WriteValue(QStringLiteral("Maximized"), QStringLiteral("1"));
      return;
    }
    reg.WriteValue(QStringLiteral("Maximized"), QStringLiteral("0"));
    reg.WriteValue(QStringLiteral("Top"), QString::number(bounds.top()));
    reg.WriteValue(QStringLiteral("Left"), QString::number(bounds.left()));
    reg.WriteValue(QStringLiteral("Width"), QString::number(bounds.width()));
    reg.WriteValue(QStringLiteral("Height"), QString::number(bounds.height()));
  } catch (const Exception& error) {
    UtilsClass::Trace(
        QStringLiteral("Window placement of %1 not saved: %2").arg(formName, error.Message()));
  }
}

std::optional<TWindowPlacement> TBaseRegistryClass::RestoreWindowPlacement(
    const QString& formName) {
  TRegistryEnhanced reg;
  reg.RootKey = hkCurrentUser;
  reg.Access = kAllAccess;
  reg.Key = PlacementKey(formName);
  auto read = [&reg](const char16_t* name) {
    return StrToInt(reg.ReadValueDef(QString::fromUtf16(name), QStringLiteral("0")).toString());
  };
  TWindowPlacement placement;
  int maximized = 0;
  try {
    placement.Top = read(u"Top");
    placement.Left = read(u"Left");
    placement.Height = read(u"Height");
    placement.Width = read(u"Width");
    maximized = read(u"Maximized");
  } catch (const EConvertError& error) {
    // A hand-edited value must not stop the window from opening.
    UtilsClass::Trace(
        QStringLiteral("Window placement of %1 ignored: %2").arg(formName, error.Message()));
    return std::nullopt;
  }
  if (placement.Height == 0) {
    return std::nullopt;
  }
  const QSize screen = CurrentScreenSize();
  if (qint64(placement.Left) + placement.Width > screen.width()) {
    placement.Left = screen.width() - placement.Width;
  }
  if (qint64(placement.Top) + placement.Height > screen.height()) {
    placement.Top = screen.height() - placement.Height;
  }
  placement.Left = std::max(placement.Left, 0);
  placement.Top = std::max(placement.Top, 0);
  placement.Maximized = maximized == 1;
  return placement;
}

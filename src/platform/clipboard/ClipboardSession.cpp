#include "ClipboardSession.h"

#include <QGuiApplication>

TClipboardWatching ClipboardWatchingFor(const QString& platformName) {
  // "wayland", "wayland-egl", "wayland-brcm" ...; XWayland programs run on
  // "xcb" and get the selection bridged by the compositor.
  return platformName.startsWith(u"wayland", Qt::CaseInsensitive)
             ? TClipboardWatching::OnlyWhenFocused
             : TClipboardWatching::Full;
}

TClipboardWatching CurrentClipboardWatching() {
  return ClipboardWatchingFor(QGuiApplication::platformName());
}

QString PreferredPlatform(const QProcessEnvironment& environment) {
  if (!environment.value(QStringLiteral("QT_QPA_PLATFORM")).isEmpty()) {
    return {};  // the user's choice wins
  }
  const bool wayland = !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty() ||
                       environment.value(QStringLiteral("XDG_SESSION_TYPE"))
                               .compare(u"wayland", Qt::CaseInsensitive) == 0;
  if (!wayland || environment.value(QStringLiteral("DISPLAY")).isEmpty()) {
    return {};
  }
  // Qt tries the platforms in order, so a DISPLAY whose server is gone still
  // starts the program, on Wayland, with the notice.
  return QStringLiteral("xcb;wayland");
}

QString ClipboardWatchingNotice() {
  return QStringLiteral(
      "This Wayland session tells Verbalune MP3 about copied text only while its window is "
      "active, because no X server (XWayland) could be reached. Paste text into an article, or "
      "enable XWayland to watch the clipboard in the background.");
}

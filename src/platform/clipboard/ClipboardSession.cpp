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

QString ClipboardWatchingNotice() {
  return QStringLiteral(
      "This Wayland session tells Verbalune MP3 about copied text only while its window is "
      "active. Paste text into an article, or start Verbalune MP3 with "
      "QT_QPA_PLATFORM=xcb to watch the clipboard in the background.");
}

#pragma once

#include <QProcessEnvironment>
#include <QString>

// Whether this desktop session tells a program about clipboard changes while
// another program has the focus. A native Wayland client only hears of a new
// selection when it gets the keyboard focus, so a reader hidden in the
// notification area would never see a copy.
enum class TClipboardWatching { Full, OnlyWhenFocused };

// platformName: QGuiApplication::platformName().
TClipboardWatching ClipboardWatchingFor(const QString& platformName);
// The answer for the running application.
TClipboardWatching CurrentClipboardWatching();

// The Qt platform to start on, decided from the environment before the
// application exists: on a Wayland session with an X server reachable
// (XWayland, DISPLAY set) "xcb", with Wayland as the fallback should the X
// server refuse, so that copies in other programs are seen in the background.
// Empty leaves Qt's own choice: the user set QT_QPA_PLATFORM, the session is
// X11, or there is no X server to go to.
QString PreferredPlatform(const QProcessEnvironment& environment);

// What the user is told, once, when watching cannot work in the background.
QString ClipboardWatchingNotice();

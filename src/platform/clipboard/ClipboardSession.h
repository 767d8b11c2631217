#pragma once

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

// What the user is told, once, when watching cannot work in the background.
QString ClipboardWatchingNotice();

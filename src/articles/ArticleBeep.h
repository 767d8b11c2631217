#pragma once

#include <functional>

// The default beep of refused input and of commands with nothing to act on.
// Tests install a counter instead of the sound.
void ArticleBeep();
// nullptr (an empty function) restores QApplication::beep.
void SetArticleBeepHandler(std::function<void()> handler);

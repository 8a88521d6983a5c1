#pragma once

#include "app/CommandTable.h"

#include <QIcon>

// The icon theme that stands in wherever the desktop's own theme lacks an
// icon, so every command shows the icon of its meaning on any desktop.
inline constexpr const char* kFallbackIconTheme = "breeze";
void UseFallbackIconTheme();

// The freedesktop icon name of a command, empty for none (the Window
// menu's arrangements, the toolbar switch).
QString CommandIconName(CommandId id);

// The command's icon from the desktop theme or the fallback theme; a null
// icon when neither has it (the button then shows its text rather than a
// look-alike picture).
QIcon CommandIcon(CommandId id);

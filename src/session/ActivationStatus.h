#pragma once

#include "session/WindowHost.h"

#include <QString>
#include <optional>

class Ui;

// What the status bar says while child is the active child window; none
// for a window that leaves the status of the one before it.
std::optional<QString> ActivationStatus(ChildKind child);

// child became the active child window: its status, unless a command's
// result is showing (Ui::ShowWindowStatus).
void ShowActivationStatus(Ui& ui, ChildKind child);

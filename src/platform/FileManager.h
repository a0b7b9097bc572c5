// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

// Shows a file in the user's file manager: org.freedesktop.FileManager1.ShowItems over D-Bus
// (selects the file), else xdg-open on its directory. Started without a shell. True when a
// request was sent or a process started.
bool ShowInFileManager(const QString& path);
// Opens a directory (or file) with xdg-open, without a shell.
bool OpenWithDesktop(const QString& path);

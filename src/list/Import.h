// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class SoundList;

// The open-file import: every chosen path becomes a row (missing files too) and the first
// becomes the next dialog's starting file. A cancelled dialog changes nothing.
void ImportByDialog(SoundList& list, QString& lastImportFile);

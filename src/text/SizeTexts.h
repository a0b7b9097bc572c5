// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

// One-unit texts: 1536 bytes give "1.5 KB", 1234 ms give "1.23 秒".
QString FormatByteSize(double bytes);
QString FormatElapsedTime(qint64 milliseconds);

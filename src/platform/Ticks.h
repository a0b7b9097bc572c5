// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QtGlobal>

// Milliseconds of a monotonic clock; differences give elapsed milliseconds.
qint64 TickCount();

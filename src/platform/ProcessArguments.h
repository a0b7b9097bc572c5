// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>

// The process's arguments and working directory as the system gives them, in the encoding of
// NativePath.h, so an argument that is not UTF-8 still names its file. QCoreApplication's own
// arguments() decodes them and loses such bytes.
QStringList NativeArguments(int argc, const char* const* argv);
// The working directory; "" when it cannot be found (removed, or not searchable).
QString CurrentDirectory();

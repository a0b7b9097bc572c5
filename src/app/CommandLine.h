// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>

// What the command line asks for: plinkbox [--config-dir DIR] [FILE...], --help, --version.
struct CommandLine {
  bool help = false;
  bool version = false;
  QString error;      // an unknown option or a missing value, "" when none
  QString helpText;   // the usage and the options, for --help
  QStringList files;  // absolute paths, in the order given
};

// arguments[0] is the program. Relative files are taken against workingDirectory. Help and
// version are found even among arguments that are errors, so they answer whatever else is given.
CommandLine ParseCommandLine(const QStringList& arguments, const QString& workingDirectory);

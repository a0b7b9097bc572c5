// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QDir>

#include "text/PathParts.h"

namespace {

QString Absolute(const QString& path, const QString& workingDirectory) {
  if (path.startsWith(u'/') || workingDirectory.isEmpty()) return path;
  return QDir::cleanPath(JoinPath(workingDirectory, path));
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments, const QString& workingDirectory) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Audition short sound files (WAV, MIDI, MP3) and sort them into folders."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  // Read by ResolveConfigDir; declared here so that it is known and its value is no file.
  parser.addOption({QStringLiteral("config-dir"),
                    QStringLiteral("Keep the settings and the list file in <dir>."),
                    QStringLiteral("dir")});
  parser.addPositionalArgument(
      QStringLiteral("files"),
      QStringLiteral("Sound files to add to the list; a directory is added as a dropped one."),
      QStringLiteral("[FILE...]"));

  CommandLine result;
  if (!parser.parse(arguments)) result.error = parser.errorText();
  // --help-all comes with the help option; the help shown is the same.
  result.help = parser.isSet(help) || parser.isSet(QStringLiteral("help-all"));
  result.version = parser.isSet(version);
  // The usage line names the program by its name, not by the path it was started from (or a
  // placeholder, before the application object exists).
  result.helpText = parser.helpText();
  result.helpText.replace(0, result.helpText.indexOf(QStringLiteral(" [options]")),
                          QStringLiteral("Usage: plinkbox"));
  for (const QString& file : parser.positionalArguments())
    if (!file.isEmpty()) result.files << Absolute(file, workingDirectory);
  return result;
}

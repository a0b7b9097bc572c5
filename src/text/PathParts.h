// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringView>
#include <array>

// The platform's path separator, used wherever paths are cut or built.
inline constexpr QChar kPathSeparator = u'/';
// The platform's line break between entries of a multi-line text (clipboard, list file).
inline const QString& PlatformLineBreak() {
  static const QString lineBreak = QStringLiteral("\n");
  return lineBreak;
}

QString FileNameOf(const QString& path);
QString DirectoryPathOf(const QString& path);
QString DirectoryNameOf(const QString& path);
QString MainNameOf(const QString& path);
QString ExtensionOf(const QString& path);
// ExtensionOf without a copy: a view into path.
QStringView ExtensionView(QStringView path);
// A directory as rows hold it: without trailing separators ("/" becomes "", the root).
QString WithoutTrailingSeparators(QString path);
// directory + separator + name.
QString JoinPath(const QString& directory, const QString& name);
// A name that stays in its directory: not empty, not "." or "..", no path separator and no NUL
// (which would cut the name short on its way to the file system).
bool IsPlainName(const QString& name);
// The numbered name for a clash: main name + "_" + number, then "." + extension when there is
// one ("bell.wav" gives "bell_1.wav", "drum.loop.wav" gives "drum_1.wav").
QString SmartRenameName(const QString& fileName, int number = 1);

// The name tokens, in the order in which they are substituted.
enum class NameToken { kExtension, kMainName, kFileName, kDirectoryName, kDirectoryPath, kNumber };
inline constexpr int kNameTokenCount = 6;
// "#扩展名", "#主名", "#文件名", "#目录名", "#目录路径", "#编号".
const QString& NameTokenText(NameToken token);

class TokenSet {
 public:
  TokenSet() = default;
  // Every token that the expression contains (exact, case-sensitive search).
  static TokenSet FromExpression(const QString& expression);
  bool Contains(NameToken t) const { return flags_[static_cast<int>(t)]; }
  void Set(NameToken t, bool on = true) { flags_[static_cast<int>(t)] = on; }
  bool Empty() const;

 private:
  std::array<bool, kNameTokenCount> flags_{};
};

QString ExpandNameTokens(const QString& path, const QString& expression, const TokenSet& tokens,
                         const QString& numberText);

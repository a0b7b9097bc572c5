// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <optional>
#include <vector>

// An INI file read whole and written whole (UTF-8 without BOM, through a temporary file renamed
// into place). Reading accepts UTF-8 with or without BOM and GBK, "\n" and "\r\n" lines, and a
// DOS end-of-file mark (0x1A) as the last byte.
// Section and key names are compared exactly; the first of a repeated section or key wins.
//
// A value that could not come back as written (leading or trailing blanks, line breaks, control
// characters, a leading quote, a lone surrogate) is written in double quotes with backslash
// escapes; every other value is written as plain text.
//
// A file that cannot be understood (binary data, an undecodable byte, an overlong line, a section
// header without "]", a directory) is unreadable: every read gives nothing and every write is
// refused, so a file the store does not understand is never overwritten (SettingsStore::Open
// moves it aside instead).
class IniFile {
 public:
  enum class State { kMissing, kReadable, kUnreadable };
  static constexpr qsizetype kMaxLineLength = 65536;

  static IniFile Load(const QString& path);
  State GetState() const { return state_; }
  std::optional<QString> Value(const QString& section, const QString& key) const;
  // False when the section, key or value cannot be stored (a line break in a section name, a
  // line longer than kMaxLineLength) or the file is unreadable.
  bool SetValue(const QString& section, const QString& key, const QString& value);
  bool Save(const QString& path) const;

 private:
  struct Line {
    enum class Kind { kOther, kSection, kKey } kind = Kind::kOther;
    QString text;   // the line as it stands in the file
    QString name;   // section or key name
    QString value;  // decoded value of a key line
  };
  static IniFile Unreadable();
  qsizetype FindSection(const QString& section) const;  // -1 when absent

  State state_ = State::kMissing;
  std::vector<Line> lines_;
};

// One value of the file, or nothing when the file, section or key is absent or unreadable.
std::optional<QString> ReadIniValue(const QString& path, const QString& section,
                                    const QString& key);
// Sets one value and writes the whole file; false when nothing was written.
bool WriteIniValue(const QString& path, const QString& section, const QString& key,
                   const QString& value);

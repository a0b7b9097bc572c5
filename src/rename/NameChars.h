// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

// A name cut into the characters it shows, over its bytes (NativePath.h), so the rules count
// characters as the user sees them and keep every byte they do not change. One character is a
// code point (a surrogate pair is one) or a byte that is not UTF-8; a name that is not UTF-8
// but whose bytes are GB18030 counts one character per GB18030 character, as it shows.
class NameChars {
 public:
  explicit NameChars(const QString& text);

  qint64 Count() const { return qint64(ends_.size()); }
  // The first k characters; none for k below 1, all for k at or above Count().
  QByteArrayView Left(qint64 k) const;
  // The last k characters, likewise.
  QByteArrayView Right(qint64 k) const;
  QByteArrayView At(qint64 i) const;
  // The character as shown: its code point, or for a lone byte its escape (U+DC80 + byte).
  char32_t Shown(qint64 i) const { return shown_[size_t(i)]; }

 private:
  qsizetype Start(qint64 i) const { return i == 0 ? 0 : ends_[size_t(i - 1)]; }
  bool CutAsGb18030();
  void CutAsUtf8(const QString& text);

  QByteArray bytes_;
  std::vector<qsizetype> ends_;  // where each character's bytes end
  std::vector<char32_t> shown_;
};

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

// The program's regular-expression component on QRegularExpression, with the wildcard
// translation and the whole-name test. Indexes that callers pass are counted from 1. Patterns
// may write \uXXXX; names carrying bytes that are not UTF-8 (NativePath.h) match and keep those
// bytes; a match that runs too long counts as no match and as given up (GaveUp).
class RegexMatcher {
 public:
  RegexMatcher() = default;

  bool Configure(const QString& pattern, bool ignoreCase = true, bool multiline = true,
                 bool global = true);
  QString GetPattern() const;
  // Replacement syntax as users type it: $1..$99, $&, $`, $', $$.
  QString Replace(const QString& source, const QString& replacement = QString()) const;
  int Execute(const QString& subject);
  int GetMatchCount() const;
  QString GetMatchText(int match) const;
  QString GetSubMatchText(int match, int subMatch) const;
  int GetSubMatchCount() const;
  bool Prepare(const QString& pattern, bool ignoreCase, bool fuzzy,
               const QString& subject = QString(), bool isRegex = false);
  bool Test(const QString& subject);
  bool Test(const QString& subject, bool fuzzy);
  // Whether the last Test, Execute or Replace stopped at the engine's limits and so may have
  // missed a match it reported as none.
  bool GaveUp() const { return gaveUp_; }
  static QString WildcardToPattern(const QString& wildcard);
  static void EscapeChars(const QString& set, QString& text);

 private:
  struct Engine;
  // Configure with the engine's own options; a wildcard adds that "*" spans line breaks.
  bool Compile(const QString& pattern, QRegularExpression::PatternOptions options, bool global);
  // Test looks only at the first match; the full match list of its subject is built when an
  // accessor asks for it.
  void CollectPendingMatches() const;
  void CollectMatches(const QString& subject) const;
  // Each match as Replace and Execute see them, then sets gaveUp_.
  void ForEachMatch(const QString& matchable,
                    const std::function<void(const QRegularExpressionMatch&)>& each) const;

  std::shared_ptr<const Engine> engine_;
  mutable std::shared_ptr<const std::vector<QStringList>> matches_;  // per match: text, groups
  mutable int matchCount_ = 0;
  mutable QString pendingSubject_;
  mutable bool pending_ = false;
  bool fuzzy_ = false;
  mutable bool gaveUp_ = false;
};

// What a closing message adds when names were given up (RegexMatcher::GaveUp); empty for 0.
QString GivenUpNote(qint64 count);

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// The program's regular-expression component on QRegularExpression, with the wildcard
// translation and the whole-name test. Indexes that callers pass are counted from 1. Patterns
// may write \uXXXX; names carrying bytes that are not UTF-8 (NativePath.h) match and keep those
// bytes; a match that runs too long counts as no match.
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

  std::shared_ptr<const Engine> engine_;
  mutable std::shared_ptr<const std::vector<QStringList>> matches_;  // per match: text, groups
  mutable int matchCount_ = 0;
  mutable QString pendingSubject_;
  mutable bool pending_ = false;
  bool fuzzy_ = false;
};

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Wildcards and the matcher: Test agrees with itself, with its fuzzy form, with the match list
// and with Replace; escaped characters stand for themselves.
#include "FuzzInput.h"
#include "match/RegexMatcher.h"

namespace {

// Subjects stay short: a match that runs past the engine's step limit counts as none.
constexpr qsizetype kMaxSubject = 512;

bool HasAny(const QString& text, const char* chars) {
  for (const char* c = chars; *c; ++c)
    if (text.contains(QLatin1Char(*c))) return true;
  return false;
}

void CheckConsistent(const QString& wildcard, const QString& subject, const QString& replacement,
                     bool ignoreCase, bool global) {
  RegexMatcher matcher;
  FUZZ_CHECK(matcher.Prepare(wildcard, ignoreCase, false));
  const bool whole = matcher.Test(subject);
  FUZZ_CHECK(matcher.Test(subject) == whole);
  if (whole) FUZZ_CHECK(matcher.GetMatchText(1) == subject);
  const bool anywhere = matcher.Test(subject, true);
  FUZZ_CHECK(!whole || anywhere);
  FUZZ_CHECK((matcher.GetMatchCount() > 0) == anywhere);

  // The same expression as the rename rule configures it.
  RegexMatcher renamer;
  FUZZ_CHECK(
      renamer.Configure(RegexMatcher::WildcardToPattern(wildcard), ignoreCase, true, global));
  FUZZ_CHECK(renamer.Replace(subject, QStringLiteral("$&")) == subject);
  const QString replaced = renamer.Replace(subject, replacement);
  if (!anywhere) FUZZ_CHECK(replaced == subject);
}

}  // namespace

// Input: a flags byte, then wildcard NUL subject NUL replacement.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const auto flags = in.Number<uint8_t>();
  const bool ignoreCase = flags & 1;
  const bool global = flags & 2;
  const QString wildcard = in.Text();
  const QString subject = in.Text();
  const QString replacement = in.Text();
  if (wildcard.size() > kMaxSubject || subject.size() > kMaxSubject) return 0;
  CheckConsistent(wildcard, subject, replacement, ignoreCase, global);

  // Without "?", "|" and parentheses every character but "*" is literal.
  if (HasAny(wildcard, "?|()")) return 0;
  RegexMatcher matcher;
  if (!wildcard.contains(u'*')) {
    matcher.Prepare(wildcard, ignoreCase, false);
    FUZZ_CHECK(matcher.Test(wildcard));
    FUZZ_CHECK(!matcher.Test(wildcard + u'x'));
  } else if (wildcard.count(u'*') == 1) {
    // One star: whatever stands in for it, line breaks too, the whole name matches.
    QString name = wildcard;
    name.replace(u'*', subject);
    matcher.Prepare(wildcard, ignoreCase, false);
    FUZZ_CHECK(matcher.Test(name));
  }
  return 0;
}

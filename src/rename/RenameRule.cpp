// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/RenameRule.h"

#include <QStringBuilder>
#include <algorithm>

#include "list/SoundList.h"
#include "match/RegexMatcher.h"
#include "platform/NativePath.h"
#include "rename/NameChars.h"

namespace {

QString Letters(qint64 n, bool lowercase) {
  QString text;
  const char16_t a = lowercase ? u'a' : u'A';
  while (n > 0) {
    qint64 r = n % 26;
    if (r == 0) {
      r = 26;
      --n;
    }
    text.prepend(QChar(char16_t(a + r - 1)));
    n /= 26;
  }
  return text;
}

// A name put together from texts that may carry escaped bytes, in the form a name read from
// the disk has (escaped bytes that form UTF-8 when joined become that character).
QString Canonical(const QString& name) {
  return HasEscapedBytes(name) ? FromNativePath(ToNativePath(name)) : name;
}

bool SameChar(char32_t a, char32_t b, bool caseSensitive) {
  if (a == b) return true;
  if (caseSensitive) return false;
  const auto isLetter = [](char32_t c) { return (c | 0x20) >= U'a' && (c | 0x20) <= U'z'; };
  return isLetter(a) && isLetter(b) && (a | 0x20) == (b | 0x20);
}

// Non-overlapping occurrences of find, left to right, the first count of them (all when count
// is below 1); only the letters A-Z and a-z fold case.
QString ReplaceText(const QString& name, const QString& find, const QString& with, int count,
                    bool caseSensitive) {
  if (find.isEmpty()) return name;
  const NameChars chars(name);
  const QList<uint> wanted = find.toUcs4();
  const qint64 m = wanted.size();
  const QByteArray withBytes = ToNativePath(with);
  QByteArray out;
  int replaced = 0;
  for (qint64 i = 0; i < chars.Count();) {
    const bool more = count < 1 || replaced < count;
    bool match = more && i + m <= chars.Count();
    for (qint64 k = 0; match && k < m; ++k)
      match = SameChar(chars.Shown(i + k), wanted[k], caseSensitive);
    if (match) {
      out += withBytes;
      ++replaced;
      i += m;
    } else {
      out += chars.At(i);
      ++i;
    }
  }
  return FromNativePath(out);
}

QString Joined(QByteArrayView left, const QString& middle, QByteArrayView right,
               const QString& suffix) {
  QByteArray out;
  out += left;
  out += ToNativePath(middle);
  out += right;
  out += ToNativePath(suffix);
  return FromNativePath(out);
}

QString InsertText(const QString& name, const QString& main, const QString& suffix,
                   const RenameRule& rule, const QString& x) {
  const NameChars chars(main);
  const qint64 length = chars.Count();
  qint64 p = rule.insertPosition;
  // Just after the last character counts as out of range here too.
  if (rule.skipOutOfRange && (p < 1 || p > length)) return name;
  p = std::clamp<qint64>(p, 1, length + 1);
  if (rule.insertFromEnd) return Joined(chars.Left(length - p + 1), x, chars.Right(p - 1), suffix);
  return Joined(chars.Left(p - 1), x, chars.Right(length - p + 1), suffix);
}

QString DeleteText(const QString& main, const QString& suffix, const RenameRule& rule,
                   const QString& x) {
  const NameChars chars(main);
  const qint64 length = chars.Count();
  const qint64 p = rule.deletePosition;
  const qint64 c = rule.deleteCount;
  // Neither is clamped: a negative count makes the two kept pieces overlap.
  const qint64 before = rule.deleteFromEnd ? length - (p + c - 1) : p - 1;
  const qint64 after = rule.deleteFromEnd ? p - 1 : length - (p + c - 1);
  return Joined(chars.Left(before), x, chars.Right(after), suffix);
}

int RunWidth(const RenameRule& rule, qint64 rowCount) {
  if (!rule.format.zeroFill || rule.format.letters || rowCount < 1) return 0;
  // The last number's characters, a "-" included; an earlier, longer number of a descending
  // run keeps all its digits (FormatNumber never cuts).
  return int(QString::number(rule.start + (rowCount - 1) * qint64(rule.interval)).size());
}

}  // namespace

QString FormatNumber(qint64 n, const NumberFormat& format, int width) {
  if (format.letters) return Letters(n, format.lowercase);
  if (width <= 1) return QString::number(n);
  // The magnitude as unsigned, so the smallest qint64 has one too.
  const quint64 magnitude = n < 0 ? 0 - quint64(n) : quint64(n);
  QString text = QString::number(magnitude).rightJustified(width, u'0');
  if (n < 0) text.prepend(u'-');
  return text;
}

const QString& ActiveExpression(const RenameRule& rule) {
  switch (rule.kind) {
    case RuleKind::NumberRule:
      return rule.expression;
    case RuleKind::ReplaceRule:
      return rule.replaceWith;
    case RuleKind::InsertRule:
      return rule.insertText;
    case RuleKind::DeleteRule:
      return rule.deleteReplacement;
    case RuleKind::RegexRule:
      return rule.regexReplacement;
  }
  return rule.expression;
}

RenameCounter StartCounter(const RenameRule& rule, qint64 rowCount) {
  return {rule.start, rule.interval, RunWidth(rule, rowCount)};
}

QString ComputeNewName(const SoundRow& row, const RenameRule& rule, const RenameCounter& counter,
                       const TokenSet& tokens, const RegexMatcher& renameMatcher) {
  const QString& name = row.fileName;
  const QStringView extension = ExtensionView(name);
  const QString number = FormatNumber(counter.current, rule.format, counter.width);
  // The most common rule in one allocation.
  if (rule.kind == RuleKind::NumberRule && !rule.useExpression)
    return extension.isEmpty() ? number : QString(number % u'.' % extension);
  const QString suffix = extension.isEmpty() ? QString() : u'.' + extension.toString();
  const QString main = MainNameOf(name);
  const QString x = tokens.Empty() ? ActiveExpression(rule)
                                   : ExpandNameTokens(JoinPath(row.directory, name),
                                                      ActiveExpression(rule), tokens, number);
  switch (rule.kind) {
    case RuleKind::NumberRule:
      return Canonical(x);
    case RuleKind::ReplaceRule:
      return ReplaceText(name, rule.findText, x, rule.replaceCount, rule.caseSensitive);
    case RuleKind::InsertRule:
      return InsertText(name, main, suffix, rule, x);
    case RuleKind::DeleteRule:
      return DeleteText(main, suffix, rule, x);
    case RuleKind::RegexRule:
      return Canonical(renameMatcher.Replace(main, x) + suffix);
  }
  return name;
}

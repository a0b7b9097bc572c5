// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// New names of the batch rename: no rule puts a "/" into a name unless its own text has one,
// and a rule that changes nothing keeps every byte of the main name and extension.
#include "FuzzInput.h"
#include "list/SoundList.h"
#include "match/RegexMatcher.h"
#include "rename/RenameRule.h"

namespace {

struct Header {
  uint8_t kind;
  uint8_t switches;       // bits: letters, lowercase, zeroFill, useExpression, caseSensitive,
                          // insertFromEnd, skipOutOfRange, deleteFromEnd
  uint8_t matchSwitches;  // bits: ignoreCase, global
  int32_t start;
  int32_t interval;
  int32_t position;
  int32_t count;
  int16_t rows;
};

RenameRule RuleOf(const Header& h, const QString& text, const QString& find,
                  const QString& pattern) {
  RenameRule rule;
  rule.kind = static_cast<RuleKind>(h.kind % 5);
  const auto bit = [&h](int i) { return bool(h.switches & (1 << i)); };
  rule.format = {bit(0), bit(1), bit(2)};
  rule.useExpression = bit(3);
  rule.caseSensitive = bit(4);
  rule.insertFromEnd = bit(5);
  rule.skipOutOfRange = bit(6);
  rule.deleteFromEnd = bit(7);
  rule.ignoreCase = h.matchSwitches & 1;
  rule.global = h.matchSwitches & 2;
  rule.start = h.start;
  rule.interval = h.interval;
  rule.insertPosition = rule.deletePosition = h.position;
  rule.deleteCount = rule.replaceCount = h.count;
  rule.expression = rule.replaceWith = rule.insertText = rule.deleteReplacement =
      rule.regexReplacement = text;
  rule.findText = find;
  rule.pattern = pattern;
  return rule;
}

QString NewName(const SoundRow& row, const RenameRule& rule, qint64 rowCount) {
  TokenSet tokens = TokenSet::FromExpression(ActiveExpression(rule));
  tokens.Set(NameToken::kDirectoryPath, false);  // as the batch rename runs it
  RegexMatcher matcher;
  matcher.Configure(rule.pattern, rule.ignoreCase, true, rule.global);
  return ComputeNewName(row, rule, StartCounter(rule, rowCount), tokens, matcher);
}

}  // namespace

// Input: the header, then name NUL directory NUL text NUL find NUL pattern. The name is one
// the disk can hold: no "/" (NUL cannot occur).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const auto h = in.Number<Header>();
  SoundRow row;
  row.fileName = in.Text();
  row.directory = in.Text();
  const QString text = in.Text();
  const QString find = in.Text();
  const QString pattern = in.Text();
  if (row.fileName.contains(u'/') || text.size() > 256 || pattern.size() > 256) return 0;

  RenameRule rule = RuleOf(h, text, find, pattern);
  const QString name = NewName(row, rule, h.rows);
  FUZZ_CHECK(!name.contains(QChar(u'\0')));
  if (!text.contains(u'/')) FUZZ_CHECK(!name.contains(u'/'));

  // Rules that change nothing: the main name and the extension come back byte for byte.
  const QString extension = ExtensionOf(row.fileName);
  const QString kept =
      MainNameOf(row.fileName) + (extension.isEmpty() ? QString() : u'.' + extension);
  rule.deleteCount = 0;
  rule.skipOutOfRange = false;  // else a position out of range keeps the whole name
  rule.insertText = rule.deleteReplacement = QString();
  rule.regexReplacement = QStringLiteral("$&");
  for (RuleKind kind : {RuleKind::InsertRule, RuleKind::DeleteRule, RuleKind::RegexRule}) {
    rule.kind = kind;
    FUZZ_CHECK(NewName(row, rule, h.rows) == kept);
  }
  // Each occurrence replaced by itself; only a name that is UTF-8 is matched by its bytes.
  if (!HasEscapedBytes(row.fileName) && !find.contains(u'#')) {
    rule.kind = RuleKind::ReplaceRule;
    rule.caseSensitive = true;
    rule.replaceWith = find;
    FUZZ_CHECK(NewName(row, rule, h.rows) == row.fileName);
  }
  return 0;
}

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

#include "text/PathParts.h"

class RegexMatcher;
struct SoundRow;

// The five rules, one per tab of the batch-rename window (编号, 替换, 插入, 删除, 正则).
enum class RuleKind { NumberRule, ReplaceRule, InsertRule, DeleteRule, RegexRule };

// How a counter value is written: "#编号" of every rule and the names of the number rule.
struct NumberFormat {
  bool letters = false;    // 字母 (off: 数字)
  bool lowercase = false;  // 小写; letters only
  bool zeroFill = true;    // 补零; digits only
};

// One rule and its parameters, as the window reads them from its controls.
struct RenameRule {
  RuleKind kind = RuleKind::NumberRule;
  int start = 1;     // 起始值
  int interval = 1;  // 间隔值
  NumberFormat format{};

  bool useExpression = false;                                  // 高级组合
  QString expression = QStringLiteral("#主名_#编号.#扩展名");  // 组合表达式

  QString findText{};     // 欲替换的
  QString replaceWith{};  // 替换为的
  int replaceCount = -1;  // 替换次数; below 1 means all
  bool caseSensitive = false;

  int insertPosition = 1;  // 1-based character position
  QString insertText{};
  bool insertFromEnd = false;
  bool skipOutOfRange = false;  // 超出范围不插入

  int deletePosition = 1;
  int deleteCount = 2;
  QString deleteReplacement{};
  bool deleteFromEnd = false;

  QString pattern{};  // 匹配表达式
  QString regexReplacement{};
  bool ignoreCase = false;
  bool global = false;
};

// The running number of one run. 64 bits, so no run of 32-bit start and interval overflows.
struct RenameCounter {
  qint64 current = 1;
  qint64 interval = 1;
  int width = 0;  // digits are filled to this many characters; 0 means no fill
};

// Digits filled with zeros to width (all digits kept when there are more), or the bijective
// base-26 letters (1 A, 26 Z, 27 AA; empty below 1).
QString FormatNumber(qint64 n, const NumberFormat& format, int width);
// The rule's token expression (the combination expression for the number rule, whether or
// not it is in use).
const QString& ActiveExpression(const RenameRule& rule);
// The counter of a run over rowCount rows: digits are filled to the width of the run's last
// number, a "-" counted.
RenameCounter StartCounter(const RenameRule& rule, qint64 rowCount);

// The new file name of one row. The regex rule uses renameMatcher as configured for the run.
// Bytes of a name that is not UTF-8 stay as they are unless the rule changes them.
QString ComputeNewName(const SoundRow& row, const RenameRule& rule, const RenameCounter& counter,
                       const TokenSet& tokens, const RegexMatcher& renameMatcher);

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/PathParts.h"

#include <vector>

namespace {

QStringView FileNameView(QStringView path) {
  const qsizetype slash = path.lastIndexOf(kPathSeparator);
  return slash < 0 ? path : path.mid(slash + 1);
}

QStringView DirectoryPathView(QStringView path) {
  const qsizetype slash = path.lastIndexOf(kPathSeparator);
  return slash < 0 ? QStringView() : path.left(slash);
}

QStringView DirectoryNameView(QStringView path) {
  const qsizetype last = path.lastIndexOf(kPathSeparator);
  if (last < 0) return QStringView();
  const QStringView directory = path.left(last);
  const qsizetype previous = directory.lastIndexOf(kPathSeparator);
  return previous < 0 ? directory : directory.mid(previous + 1);
}

QStringView MainNameView(QStringView path) {
  const QStringView name = FileNameView(path);
  const qsizetype dot = name.indexOf(u'.');
  return dot < 0 ? name : name.left(dot);
}

}  // namespace

QStringView ExtensionView(QStringView path) {
  const QStringView name = FileNameView(path);
  const qsizetype dot = name.lastIndexOf(u'.');
  return dot < 0 ? QStringView() : name.mid(dot + 1);
}

namespace {

QStringView TokenValue(NameToken token, QStringView path, QStringView numberText) {
  switch (token) {
    case NameToken::kExtension:
      return ExtensionView(path);
    case NameToken::kMainName:
      return MainNameView(path);
    case NameToken::kFileName:
      return FileNameView(path);
    case NameToken::kDirectoryName:
      return DirectoryNameView(path);
    case NameToken::kDirectoryPath:
      return DirectoryPathView(path);
    case NameToken::kNumber:
      return numberText;
  }
  return QStringView();
}

// Every occurrence, left to right, not overlapping; text is rebuilt only when the token occurs.
void ReplaceAll(QString& text, QStringView token, QStringView value) {
  qsizetype at = text.indexOf(token);
  if (at < 0) return;
  QString result;
  result.reserve(text.size() + 2 * value.size());
  qsizetype from = 0;
  while (at >= 0) {
    result += QStringView(text).mid(from, at - from);
    result += value;
    from = at + token.size();
    at = text.indexOf(token, from);
  }
  result += QStringView(text).mid(from);
  text = std::move(result);
}

}  // namespace

QString FileNameOf(const QString& path) { return FileNameView(path).toString(); }
QString DirectoryPathOf(const QString& path) { return DirectoryPathView(path).toString(); }
QString DirectoryNameOf(const QString& path) { return DirectoryNameView(path).toString(); }
QString MainNameOf(const QString& path) { return MainNameView(path).toString(); }
QString ExtensionOf(const QString& path) { return ExtensionView(path).toString(); }

QString WithoutTrailingSeparators(QString path) {
  while (path.endsWith(kPathSeparator)) path.chop(1);
  return path;
}

QString JoinPath(const QString& directory, const QString& name) {
  QString path;
  path.reserve(directory.size() + 1 + name.size());
  path += directory;
  path += kPathSeparator;
  path += name;
  return path;
}

const QString& NameTokenText(NameToken token) {
  static const QString kTexts[kNameTokenCount] = {
      QStringLiteral("#扩展名"), QStringLiteral("#主名"),     QStringLiteral("#文件名"),
      QStringLiteral("#目录名"), QStringLiteral("#目录路径"), QStringLiteral("#编号")};
  return kTexts[static_cast<int>(token)];
}

TokenSet TokenSet::FromExpression(const QString& expression) {
  TokenSet set;
  for (int i = 0; i < kNameTokenCount; ++i) {
    const auto token = static_cast<NameToken>(i);
    set.Set(token, expression.contains(NameTokenText(token)));
  }
  return set;
}

bool TokenSet::Empty() const {
  for (bool on : flags_)
    if (on) return false;
  return true;
}

namespace {

// An expression cut once into its literal pieces and tokens, for the one-pass substitution.
// onePass is false when one pass could differ from substituting token after token: a '#' of the
// expression that starts no token of the set might form a token with a value.
struct ParsedExpression {
  struct Piece {
    qsizetype start;
    qsizetype size;
    int token;  // -1 for literal text
  };
  QString expression;
  std::array<bool, kNameTokenCount> tokens{};
  std::vector<Piece> pieces;
  bool onePass = true;
};

// A run expands one expression for every row: it is parsed for the first and kept.
const ParsedExpression& Parsed(const QString& expression, const TokenSet& tokens) {
  thread_local ParsedExpression parsed;
  thread_local bool made = false;
  std::array<bool, kNameTokenCount> wanted{};
  for (int i = 0; i < kNameTokenCount; ++i) wanted[i] = tokens.Contains(static_cast<NameToken>(i));
  if (made && parsed.tokens == wanted && parsed.expression == expression) return parsed;
  parsed = ParsedExpression{expression, wanted, {}, true};
  made = true;
  const QStringView text(expression);
  qsizetype from = 0;
  for (qsizetype at = text.indexOf(u'#'); at >= 0; at = text.indexOf(u'#', from)) {
    int found = -1;
    for (int i = 0; i < kNameTokenCount && found < 0; ++i) {
      if (wanted[i] && text.mid(at).startsWith(NameTokenText(static_cast<NameToken>(i)))) found = i;
    }
    if (found < 0) {
      parsed.onePass = false;
      return parsed;
    }
    if (at > from) parsed.pieces.push_back({from, at - from, -1});
    from = at + NameTokenText(static_cast<NameToken>(found)).size();
    parsed.pieces.push_back({0, 0, found});
  }
  if (from < text.size()) parsed.pieces.push_back({from, text.size() - from, -1});
  return parsed;
}

// The substitution in one pass, or a null string when one pass could differ from substituting
// token after token (see ParsedExpression, and a value bringing a '#' of its own).
QString ExpandInOnePass(QStringView path, const ParsedExpression& parsed, QStringView numberText) {
  if (!parsed.onePass) return QString();
  // The path is cut once; each value is a view into it.
  const qsizetype slash = path.lastIndexOf(kPathSeparator);
  const QStringView name = slash < 0 ? path : path.mid(slash + 1);
  const QStringView directory = slash < 0 ? QStringView() : path.left(slash);
  std::array<QStringView, kNameTokenCount> values;
  const auto want = [&parsed](NameToken t) { return parsed.tokens[static_cast<int>(t)]; };
  if (want(NameToken::kExtension) || want(NameToken::kMainName)) {
    const qsizetype lastDot = name.lastIndexOf(u'.');
    values[0] = lastDot < 0 ? QStringView() : name.mid(lastDot + 1);
    const qsizetype firstDot = name.indexOf(u'.');
    values[1] = firstDot < 0 ? name : name.left(firstDot);
  }
  values[2] = name;
  if (want(NameToken::kDirectoryName)) {
    values[3] =
        slash < 0 ? QStringView() : directory.mid(directory.lastIndexOf(kPathSeparator) + 1);
  }
  values[4] = directory;
  values[5] = numberText;
  qsizetype size = 0;
  for (const ParsedExpression::Piece& piece : parsed.pieces) {
    if (piece.token < 0) {
      size += piece.size;
    } else {
      if (values[piece.token].contains(u'#')) return QString();
      size += values[piece.token].size();
    }
  }
  QString text;
  text.reserve(size);
  const QStringView expression(parsed.expression);
  for (const ParsedExpression::Piece& piece : parsed.pieces) {
    text += piece.token < 0 ? expression.mid(piece.start, piece.size) : values[piece.token];
  }
  // Never null: a null result means "one pass does not apply".
  if (text.isNull()) text = QLatin1String("");
  return text;
}

}  // namespace

QString ExpandNameTokens(const QString& path, const QString& expression, const TokenSet& tokens,
                         const QString& numberText) {
  QString onePass = ExpandInOnePass(path, Parsed(expression, tokens), numberText);
  if (!onePass.isNull()) return onePass;
  QString text = expression;
  for (int i = 0; i < kNameTokenCount; ++i) {
    const auto token = static_cast<NameToken>(i);
    if (!tokens.Contains(token)) continue;
    const QString& tokenText = NameTokenText(token);
    ReplaceAll(text, tokenText, TokenValue(token, path, numberText));
  }
  return text;
}

bool IsPlainName(const QString& name) {
  return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") &&
         !name.contains(kPathSeparator) && !name.contains(QChar(u'\0'));
}

QString SmartRenameName(const QString& fileName, int number) {
  QString result = MainNameOf(fileName) + u'_' + QString::number(number);
  const QString extension = ExtensionOf(fileName);
  if (!extension.isEmpty()) result += u'.' + extension;
  return result;
}

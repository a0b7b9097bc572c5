// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Name tokens: the expansion equals substituting the tokens one after another, in their order,
// each value taken from the path.
#include "FuzzInput.h"
#include "text/PathParts.h"

namespace {

QString TokenValue(NameToken token, const QString& path, const QString& number) {
  switch (token) {
    case NameToken::kExtension:
      return ExtensionOf(path);
    case NameToken::kMainName:
      return MainNameOf(path);
    case NameToken::kFileName:
      return FileNameOf(path);
    case NameToken::kDirectoryName:
      return DirectoryNameOf(path);
    case NameToken::kDirectoryPath:
      return DirectoryPathOf(path);
    case NameToken::kNumber:
      return number;
  }
  return QString();
}

QString TokenAfterToken(const QString& path, QString text, const TokenSet& tokens,
                        const QString& number) {
  for (int i = 0; i < kNameTokenCount; ++i) {
    const auto token = static_cast<NameToken>(i);
    if (tokens.Contains(token)) text.replace(NameTokenText(token), TokenValue(token, path, number));
  }
  return text;
}

}  // namespace

// Input: a token byte (bit 6 set: the tokens of the expression, else bits 0-5 name them), then
// path NUL expression NUL number.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const auto bits = in.Number<uint8_t>();
  const QString path = in.Text();
  const QString expression = in.Text();
  const QString number = in.Text();
  TokenSet tokens;
  if (bits & 0x40) {
    tokens = TokenSet::FromExpression(expression);
  } else {
    for (int i = 0; i < kNameTokenCount; ++i)
      tokens.Set(static_cast<NameToken>(i), bits & (1 << i));
  }
  const QString expanded = ExpandNameTokens(path, expression, tokens, number);
  FUZZ_CHECK(expanded == TokenAfterToken(path, expression, tokens, number));
  return 0;
}

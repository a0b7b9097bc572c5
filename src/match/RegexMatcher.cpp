// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "match/RegexMatcher.h"

#include <QRegularExpressionMatchIterator>
#include <algorithm>
#include <functional>

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

namespace {

// The whole-name test runs once per row over a million rows: it goes to the engine beneath
// QRegularExpression directly, compiled from the same pattern with the same options, with its
// match data made once instead of per match.
class NameTest {
 public:
  NameTest(const QString& pattern, QRegularExpression::PatternOptions options) {
    uint32_t flags = PCRE2_UTF;
    if (options & QRegularExpression::CaseInsensitiveOption) flags |= PCRE2_CASELESS;
    if (options & QRegularExpression::MultilineOption) flags |= PCRE2_MULTILINE;
    if (options & QRegularExpression::DotMatchesEverythingOption) flags |= PCRE2_DOTALL;
    int error = 0;
    PCRE2_SIZE offset = 0;
    code_.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.utf16()),
                              static_cast<PCRE2_SIZE>(pattern.size()), flags, &error, &offset,
                              nullptr));
    if (!code_) return;
    jit_ = pcre2_jit_compile(code_.get(), PCRE2_JIT_COMPLETE) == 0;
    data_.reset(pcre2_match_data_create_from_pattern(code_.get(), nullptr));
    // The stack QRegularExpression gives the compiled matcher, so deep patterns end alike.
    stack_.reset(pcre2_jit_stack_create(32 * 1024, 512 * 1024, nullptr));
    context_.reset(pcre2_match_context_create(nullptr));
    if (stack_ && context_) pcre2_jit_stack_assign(context_.get(), nullptr, stack_.get());
  }

  enum Result { kMatch, kNoMatch, kGivenUp };
  // The first match at or after offset and its span. kGivenUp: the engine stopped at one of
  // its limits before it knew. The subject must be valid UTF-16.
  Result FirstMatch(QStringView subject, qsizetype offset, qsizetype& start, qsizetype& end) const {
    if (!code_ || !data_) return kNoMatch;
    const auto* text = reinterpret_cast<PCRE2_SPTR>(subject.utf16());
    const auto length = static_cast<PCRE2_SIZE>(subject.size());
    const auto from = static_cast<PCRE2_SIZE>(offset);
    const int rc =
        jit_ ? pcre2_jit_match(code_.get(), text, length, from, 0, data_.get(), context_.get())
             : pcre2_match(code_.get(), text, length, from, PCRE2_NO_UTF_CHECK, data_.get(),
                           context_.get());
    if (rc == PCRE2_ERROR_NOMATCH) return kNoMatch;
    if (rc < 0) return kGivenUp;
    const PCRE2_SIZE* span = pcre2_get_ovector_pointer(data_.get());
    start = static_cast<qsizetype>(span[0]);
    end = static_cast<qsizetype>(span[1]);
    return kMatch;
  }

 private:
  template <auto Free>
  struct Deleter {
    template <typename T>
    void operator()(T* p) const {
      Free(p);
    }
  };
  std::unique_ptr<pcre2_code, Deleter<pcre2_code_free>> code_;
  std::unique_ptr<pcre2_match_data, Deleter<pcre2_match_data_free>> data_;
  std::unique_ptr<pcre2_jit_stack, Deleter<pcre2_jit_stack_free>> stack_;
  std::unique_ptr<pcre2_match_context, Deleter<pcre2_match_context_free>> context_;
  bool jit_ = false;
};

}  // namespace

struct RegexMatcher::Engine {
  QRegularExpression expression;
  QString pattern;
  bool global = true;
  mutable std::unique_ptr<NameTest> test;  // made on first use; one thread at a time

  const NameTest& Test() const {
    if (!test) test = std::make_unique<NameTest>(expression.pattern(), expression.patternOptions());
    return *test;
  }
};

namespace {

// Every match stops after this many steps of the engine, and the name counts as given up
// (GaveUp), not as matched or unmatched. A pattern that backtracks without end then costs
// about 5 ms a name at most (bench_match), while one that backtracks a lot but ends, such as
// (\w+_?)+-end\.wav on a_b_c_d_e_f_g_h-x-end.wav (between 250,000 and 500,000 steps),
// still finds its match.
constexpr int kMatchLimit = 2'000'000;

// The engine refuses lone surrogates, which is how NativePath.h carries bytes that are not
// UTF-8. They are matched as private-use characters of the same length, so every offset into
// the matched text is an offset into the original, which all texts are taken from.
constexpr char16_t kLoneSurrogateShift = 0xE000 - 0xD800;

bool IsLoneSurrogate(QStringView text, qsizetype i) {
  const QChar c = text[i];
  if (c.isHighSurrogate()) return i + 1 == text.size() || !text[i + 1].isLowSurrogate();
  return c.isLowSurrogate() && (i == 0 || !text[i - 1].isHighSurrogate());
}

QString Matchable(const QString& text) {
  // Names without surrogates, nearly all of them, are taken as they are at a glance.
  if (std::none_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); })) return text;
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (!IsLoneSurrogate(text, i)) continue;
    if (out.isNull()) out = text;
    out[i] = QChar(char16_t(text[i].unicode() + kLoneSurrogateShift));
  }
  return out.isNull() ? text : out;
}

// Exactly four hex digits, or -1.
int HexValue(QStringView digits) {
  if (digits.size() != 4) return -1;
  int value = 0;
  for (const QChar d : digits) {
    const char16_t lower = d.unicode() | 0x20;
    const int digit = d >= u'0' && d <= u'9'           ? d.unicode() - u'0'
                      : lower >= u'a' && lower <= u'f' ? lower - u'a' + 10
                                                       : -1;
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

// The value of the \uXXXX escape at i, or -1 when there is none.
int UnicodeEscape(QStringView pattern, qsizetype i) {
  if (i + 1 >= pattern.size() || pattern[i] != u'\\' || pattern[i + 1] != u'u') return -1;
  return HexValue(pattern.mid(i + 2, 4));
}

// The pattern as the engine takes it: the match limit first; \uXXXX, which the engine lacks,
// as \x{...} (a pair of surrogate escapes as one character, a lone one as its stand-in, a \u
// without four hex digits as "u"); lone surrogates as their stand-ins. Every other escape pair
// is kept whole, so "\\u" stays a backslash and a "u".
QString EnginePattern(const QString& pattern) {
  QString out = QStringLiteral("(*LIMIT_MATCH=%1)").arg(kMatchLimit);
  out.reserve(out.size() + pattern.size());
  const qsizetype n = pattern.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = pattern[i];
    if (IsLoneSurrogate(pattern, i)) {
      out += QChar(char16_t(c.unicode() + kLoneSurrogateShift));
    } else if (c != u'\\' || i + 1 == n) {
      out += c;
    } else if (pattern[i + 1] != u'u') {
      // Kept whole, unless what follows is a lone surrogate, which gets its stand-in above.
      out += c;
      if (!IsLoneSurrogate(pattern, i + 1)) out += pattern[++i];
    } else if (int code = UnicodeEscape(pattern, i); code < 0) {
      out += u'u';
      ++i;
    } else {
      i += 5;
      const int low = UnicodeEscape(pattern, i + 1);
      if (QChar::isHighSurrogate(code) && QChar::isLowSurrogate(low)) {
        code = QChar::surrogateToUcs4(char16_t(code), char16_t(low));
        i += 6;
      } else if (QChar::isSurrogate(code)) {
        code += kLoneSurrogateShift;
      }
      out += QStringLiteral("\\x{%1}").arg(code, 0, 16);
    }
  }
  return out;
}

// A group's text taken from the original subject; null for a group that took no part.
QStringView Captured(const QString& subject, const QRegularExpressionMatch& match, int group) {
  const qsizetype start = match.capturedStart(group);
  return start < 0 ? QStringView() : QStringView(subject).mid(start, match.capturedLength(group));
}

// Appends the replacement for one match, expanding $1..$99, $&, $`, $' and $$. A "$" that
// starts none of these, or names a group the pattern lacks, stays as it is.
void AppendReplacement(QString& out, const QString& replacement, const QString& source,
                       const QRegularExpressionMatch& match, int groupCount) {
  const qsizetype n = replacement.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = replacement[i];
    if (c != u'$' || i + 1 == n) {
      out += c;
      continue;
    }
    const QChar next = replacement[i + 1];
    if (next == u'$') {
      out += u'$';
      ++i;
    } else if (next == u'&') {
      out += Captured(source, match, 0);
      ++i;
    } else if (next == u'`') {
      out += QStringView(source).left(match.capturedStart(0));
      ++i;
    } else if (next == u'\'') {
      out += QStringView(source).mid(match.capturedEnd(0));
      ++i;
    } else if (next >= u'0' && next <= u'9') {
      const int first = next.digitValue();
      const bool hasSecond = i + 2 < n && replacement[i + 2] >= u'0' && replacement[i + 2] <= u'9';
      const int two = hasSecond ? first * 10 + replacement[i + 2].digitValue() : 0;
      if (hasSecond && two >= 1 && two <= groupCount) {
        out += Captured(source, match, two);
        i += 2;
      } else if (first >= 1 && first <= groupCount) {
        out += Captured(source, match, first);
        i += 1;
      } else {
        out += c;
      }
    } else {
      out += c;
    }
  }
}

QStringList MatchTexts(const QString& subject, const QRegularExpressionMatch& match,
                       int groupCount) {
  QStringList texts;
  texts.reserve(groupCount + 1);
  for (int g = 0; g <= groupCount; ++g) texts << Captured(subject, match, g).toString();
  return texts;
}

}  // namespace

bool RegexMatcher::Configure(const QString& pattern, bool ignoreCase, bool multiline, bool global) {
  QRegularExpression::PatternOptions options = QRegularExpression::NoPatternOption;
  if (ignoreCase) options |= QRegularExpression::CaseInsensitiveOption;
  if (multiline) options |= QRegularExpression::MultilineOption;
  return Compile(pattern, options, global);
}

bool RegexMatcher::Compile(const QString& pattern, QRegularExpression::PatternOptions options,
                           bool global) {
  matches_.reset();
  pending_ = false;
  pendingSubject_.clear();
  auto engine = std::make_shared<Engine>();
  engine->expression = QRegularExpression(EnginePattern(pattern), options);
  engine->expression.optimize();
  engine->pattern = pattern;
  engine->global = global;
  engine_ = std::move(engine);
  matchCount_ = 0;
  return true;
}

QString GivenUpNote(qint64 count) {
  if (count <= 0) return QString();
  return QStringLiteral("（%1 个文件名匹配过于复杂，已放弃）").arg(count);
}

QString RegexMatcher::GetPattern() const { return engine_ ? engine_->pattern : QString(); }

QString RegexMatcher::Replace(const QString& source, const QString& replacement) const {
  gaveUp_ = false;
  if (!engine_ || !engine_->expression.isValid()) return source;
  const QRegularExpression& re = engine_->expression;
  const int groupCount = re.captureCount();
  QString out;
  qsizetype copied = 0;
  bool replaced = false;
  auto replaceOne = [&](const QRegularExpressionMatch& match) {
    out += QStringView(source).mid(copied, match.capturedStart(0) - copied);
    AppendReplacement(out, replacement, source, match, groupCount);
    copied = match.capturedEnd(0);
    replaced = true;
  };
  ForEachMatch(Matchable(source), replaceOne);
  if (!replaced) return source;
  out += QStringView(source).mid(copied);
  return out;
}

int RegexMatcher::Execute(const QString& subject) {
  pending_ = false;
  pendingSubject_.clear();
  CollectMatches(subject);
  return matchCount_;
}

void RegexMatcher::CollectMatches(const QString& subject) const {
  auto matches = std::make_shared<std::vector<QStringList>>();
  gaveUp_ = false;
  if (engine_ && engine_->expression.isValid()) {
    const int groupCount = engine_->expression.captureCount();
    ForEachMatch(Matchable(subject), [&](const QRegularExpressionMatch& match) {
      matches->push_back(MatchTexts(subject, match, groupCount));
    });
  }
  matchCount_ = static_cast<int>(matches->size());
  matches_ = std::move(matches);
}

void RegexMatcher::ForEachMatch(
    const QString& matchable,
    const std::function<void(const QRegularExpressionMatch&)>& each) const {
  const QRegularExpression& re = engine_->expression;
  // Where the search that found nothing more began: after the last match, one character on
  // when that match was empty.
  qsizetype searched = 0;
  const auto take = [&](const QRegularExpressionMatch& match) {
    each(match);
    searched = match.capturedEnd(0);
    if (match.capturedLength(0) == 0 && searched < matchable.size())
      searched += QChar::isHighSurrogate(matchable[searched].unicode()) ? 2 : 1;
  };
  if (engine_->global) {
    QRegularExpressionMatchIterator it = re.globalMatch(matchable);
    while (it.hasNext()) take(it.next());
  } else if (const QRegularExpressionMatch match = re.match(matchable); match.hasMatch()) {
    take(match);
    gaveUp_ = false;
    return;
  }
  // The matches do not say why none came after them; asked again, the engine does.
  qsizetype start = 0;
  qsizetype end = 0;
  gaveUp_ = searched <= matchable.size() &&
            engine_->Test().FirstMatch(matchable, searched, start, end) == NameTest::kGivenUp;
}

void RegexMatcher::CollectPendingMatches() const {
  if (!pending_) return;
  pending_ = false;
  CollectMatches(pendingSubject_);
  pendingSubject_.clear();
}

int RegexMatcher::GetMatchCount() const {
  CollectPendingMatches();
  return matchCount_;
}

QString RegexMatcher::GetMatchText(int match) const {
  CollectPendingMatches();
  if (!matches_ || match < 1 || match > static_cast<int>(matches_->size())) return QString();
  return (*matches_)[match - 1].front();
}

QString RegexMatcher::GetSubMatchText(int match, int subMatch) const {
  CollectPendingMatches();
  if (!matches_ || match < 1 || match > static_cast<int>(matches_->size())) return QString();
  const QStringList& texts = (*matches_)[match - 1];
  return subMatch >= 1 && subMatch < texts.size() ? texts[subMatch] : QString();
}

int RegexMatcher::GetSubMatchCount() const {
  CollectPendingMatches();
  if (matchCount_ == 0 || !matches_ || matches_->empty()) return 0;
  return static_cast<int>(matches_->front().size()) - 1;
}

bool RegexMatcher::Prepare(const QString& pattern, bool ignoreCase, bool fuzzy,
                           const QString& subject, bool isRegex) {
  fuzzy_ = fuzzy;
  QRegularExpression::PatternOptions options = QRegularExpression::MultilineOption;
  if (ignoreCase) options |= QRegularExpression::CaseInsensitiveOption;
  // A wildcard's "*" stands for any characters, line breaks too (file names may hold them);
  // every other dot of a wildcard is escaped, so only "*" is affected.
  if (!isRegex) options |= QRegularExpression::DotMatchesEverythingOption;
  if (!Compile(isRegex ? pattern : WildcardToPattern(pattern), options, true)) return false;
  if (subject.isEmpty()) return true;
  return Test(subject);
}

bool RegexMatcher::Test(const QString& subject, bool fuzzy) {
  fuzzy_ = fuzzy;
  return Test(subject);
}

bool RegexMatcher::Test(const QString& subject) {
  // Only the first match decides; a stop at the engine's limits reports no match, and GaveUp.
  matches_.reset();
  pendingSubject_ = subject;
  pending_ = true;
  matchCount_ = 0;
  gaveUp_ = false;
  if (!engine_ || !engine_->expression.isValid()) return false;
  qsizetype start = 0;
  qsizetype end = 0;
  const NameTest::Result result = engine_->Test().FirstMatch(Matchable(subject), 0, start, end);
  gaveUp_ = result == NameTest::kGivenUp;
  if (result != NameTest::kMatch) return false;
  return fuzzy_ || (start == 0 && end == subject.size());
}

QString RegexMatcher::WildcardToPattern(const QString& wildcard) {
  QString pattern = wildcard;
  EscapeChars(QStringLiteral("\\^$+.{}[]"), pattern);
  pattern.replace(u'*', QStringLiteral(".*"));
  return pattern;
}

void RegexMatcher::EscapeChars(const QString& set, QString& text) {
  for (qsizetype i = 0; i < set.size(); ++i) {
    // A surrogate pair of the set is one character.
    const qsizetype length =
        set[i].isHighSurrogate() && i + 1 < set.size() && set[i + 1].isLowSurrogate() ? 2 : 1;
    const QString character = set.mid(i, length);
    text.replace(character, u'\\' + character);
    i += length - 1;
  }
}

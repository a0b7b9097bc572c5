#include "match/RegexMatcher.h"

#include <QRegularExpressionMatchIterator>

struct RegexMatcher::Engine {
  QRegularExpression expression;
  QString pattern;
  bool global = true;
};

namespace {

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
      out += match.capturedView(0);
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
        out += match.capturedView(two);
        i += 2;
      } else if (first >= 1 && first <= groupCount) {
        out += match.capturedView(first);
        i += 1;
      } else {
        out += c;
      }
    } else {
      out += c;
    }
  }
}

QStringList MatchTexts(const QRegularExpressionMatch& match, int groupCount) {
  QStringList texts;
  texts.reserve(groupCount + 1);
  for (int g = 0; g <= groupCount; ++g) texts << match.captured(g);
  return texts;
}

}  // namespace

bool RegexMatcher::Configure(const QString& pattern, bool ignoreCase, bool multiline, bool global) {
  matches_.reset();
  pending_ = false;
  pendingSubject_.clear();
  auto engine = std::make_shared<Engine>();
  QRegularExpression::PatternOptions options = QRegularExpression::NoPatternOption;
  if (ignoreCase) options |= QRegularExpression::CaseInsensitiveOption;
  if (multiline) options |= QRegularExpression::MultilineOption;
  engine->expression = QRegularExpression(pattern, options);
  engine->expression.optimize();
  engine->pattern = pattern;
  engine->global = global;
  engine_ = std::move(engine);
  matchCount_ = 0;
  return true;
}

QString RegexMatcher::GetPattern() const { return engine_ ? engine_->pattern : QString(); }

QString RegexMatcher::Replace(const QString& source, const QString& replacement) const {
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
  if (engine_->global) {
    QRegularExpressionMatchIterator it = re.globalMatch(source);
    while (it.hasNext()) replaceOne(it.next());
  } else {
    const QRegularExpressionMatch match = re.match(source);
    if (match.hasMatch()) replaceOne(match);
  }
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
  if (engine_ && engine_->expression.isValid()) {
    const QRegularExpression& re = engine_->expression;
    const int groupCount = re.captureCount();
    if (engine_->global) {
      QRegularExpressionMatchIterator it = re.globalMatch(subject);
      while (it.hasNext()) matches->push_back(MatchTexts(it.next(), groupCount));
    } else {
      const QRegularExpressionMatch match = re.match(subject);
      if (match.hasMatch()) matches->push_back(MatchTexts(match, groupCount));
    }
  }
  matchCount_ = static_cast<int>(matches->size());
  matches_ = std::move(matches);
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
  if (!Configure(isRegex ? pattern : WildcardToPattern(pattern), ignoreCase)) return false;
  if (subject.isEmpty()) return true;
  return Test(subject);
}

bool RegexMatcher::Test(const QString& subject, bool fuzzy) {
  fuzzy_ = fuzzy;
  return Test(subject);
}

bool RegexMatcher::Test(const QString& subject) {
  // Only the first match decides; a match-limit stop reports no match, as an error does.
  matches_.reset();
  pendingSubject_ = subject;
  pending_ = true;
  matchCount_ = 0;
  if (!engine_ || !engine_->expression.isValid()) return false;
  const QRegularExpressionMatch match = engine_->expression.match(subject);
  if (!match.hasMatch()) return false;
  if (fuzzy_) return true;
  return match.capturedStart(0) == 0 && match.capturedLength(0) == subject.size();
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

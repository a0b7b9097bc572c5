// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <QStringList>

#include "match/RegexMatcher.h"
#include "text/PathParts.h"

namespace {

constexpr int kCount = 100000;

// Names like those of a sound collection: Chinese and Latin stems, numbers, mixed extensions.
QStringList GeneratedNames() {
  static const char16_t* kStems[] = {u"鼓点",      u"Kick", u"snare_roll", u"钢琴和弦",
                                     u"FX-whoosh", u"铃声", u"bell",       u"环境音 雨声"};
  static const char16_t* kExtensions[] = {u".wav", u".WAV", u".mid",     u".mp3",
                                          u".ogg", u".txt", u".wav.bak", u""};
  QStringList names;
  names.reserve(kCount);
  for (int i = 0; i < kCount; ++i)
    names << QString::fromUtf16(kStems[i % 8]) + QString::number(i) +
                 QString::fromUtf16(kExtensions[(i / 8) % 8]);
  return names;
}

void BM_TestWildcardFilter(benchmark::State& state) {
  const QStringList names = GeneratedNames();
  RegexMatcher matcher;
  matcher.Prepare(QStringLiteral("*.wav|*.mid|*.mp3"), true, false);
  int accepted = 0;
  for (auto _ : state) {
    accepted = 0;
    for (const QString& name : names) accepted += matcher.Test(name) ? 1 : 0;
    benchmark::DoNotOptimize(accepted);
  }
  state.counters["accepted"] = accepted;
}
BENCHMARK(BM_TestWildcardFilter)->Unit(benchmark::kMillisecond);

// One name against a pattern that backtracks: 0 a match that needs about 400,000 steps, 1 and 2
// patterns that backtrack without end on names of 250 bytes, which stop at the match limit
// (gave_up 1). Their time per name is what the limit costs.
void BM_BacktrackingName(benchmark::State& state) {
  const struct {
    const char* pattern;
    QString name;
  } cases[] = {
      {"(\\w+_?)+-end\\.wav", QStringLiteral("a_b_c_d_e_f_g_h-x-end.wav")},
      {"(\\w+_?)+-end\\.wav", QString(244, u'a') + QStringLiteral("-x.wav")},
      {"^(\\w+\\s?)*$", QString(249, u'a') + u'!'},
  };
  const auto& c = cases[state.range(0)];
  RegexMatcher matcher;
  matcher.Prepare(QString::fromLatin1(c.pattern), true, true, QString(), true);
  bool matched = false;
  for (auto _ : state) benchmark::DoNotOptimize(matched = matcher.Test(c.name));
  state.counters["matched"] = matched;
  state.counters["gave_up"] = matcher.GaveUp();
}
BENCHMARK(BM_BacktrackingName)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_ExpandNameTokens(benchmark::State& state) {
  const QStringList names = GeneratedNames();
  QStringList paths;
  paths.reserve(kCount);
  for (const QString& name : names)
    paths << JoinPath(QStringLiteral("/home/user/声音/短音资源"), name);
  const QString expression = QStringLiteral("#主名_#编号.#扩展名");
  const TokenSet tokens = TokenSet::FromExpression(expression);
  const QString number = QStringLiteral("0042");
  for (auto _ : state) {
    qsizetype total = 0;
    for (const QString& path : paths)
      total += ExpandNameTokens(path, expression, tokens, number).size();
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_ExpandNameTokens)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

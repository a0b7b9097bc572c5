// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "match/RegexMatcher.h"

class TestMatch : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void wildcardToPattern_data();
  void wildcardToPattern();
  void escapeChars();
  void wildcardTest_data();
  void wildcardTest();
  void regexTest_data();
  void regexTest();
  void prepareWithSubject();
  void executeAndAccessors();
  void accessorsAfterTest();
  void nonGlobalExecute();
  void options_data();
  void options();
  void replace_data();
  void replace();
  void rejectedPattern();
  void noEngine();
  void runawayBacktrackingIsNoMatch();
  void bytesThatAreNotUtf8();
  void copiesShareState();
};

void TestMatch::wildcardToPattern_data() {
  QTest::addColumn<QString>("wildcard");
  QTest::addColumn<QString>("pattern");
  QTest::newRow("star") << "*.wav"
                        << ".*\\.wav";
  QTest::newRow("alternatives") << "*.wav|*.mid|*.mp3"
                                << ".*\\.wav|.*\\.mid|.*\\.mp3";
  QTest::newRow("star dot star") << "*.*"
                                 << ".*\\..*";
  QTest::newRow("question mark") << "a?b.mid"
                                 << "a?b\\.mid";
  QTest::newRow("groups") << "(x|y)*.mp3"
                          << "(x|y).*\\.mp3";
  QTest::newRow("backslashes") << "C:\\snd\\*"
                               << "C:\\\\snd\\\\.*";
  QTest::newRow("every special") << "^$+.{}[]"
                                 << "\\^\\$\\+\\.\\{\\}\\[\\]";
  QTest::newRow("chinese") << "鼓*.wav"
                           << "鼓.*\\.wav";
}

void TestMatch::wildcardToPattern() {
  QFETCH(QString, wildcard);
  QFETCH(QString, pattern);
  QCOMPARE(RegexMatcher::WildcardToPattern(wildcard), pattern);
}

void TestMatch::escapeChars() {
  QString text = "a.b.c";
  RegexMatcher::EscapeChars(".", text);
  QCOMPARE(text, QString("a\\.b\\.c"));
  text = "x\\y";
  RegexMatcher::EscapeChars("y\\", text);  // the backslash added for y is escaped again
  QCOMPARE(text, QString("x\\\\\\\\y"));
  text = "aA";
  RegexMatcher::EscapeChars("a", text);
  QCOMPARE(text, QString("\\aA"));
}

void TestMatch::wildcardTest_data() {
  QTest::addColumn<QString>("wildcard");
  QTest::addColumn<bool>("ignoreCase");
  QTest::addColumn<bool>("fuzzy");
  QTest::addColumn<QString>("subject");
  QTest::addColumn<bool>("result");
  QTest::newRow("case ignored") << "*.wav" << true << false << "Bell.WAV" << true;
  QTest::newRow("case kept") << "*.wav" << false << false << "Bell.WAV" << false;
  QTest::newRow("dot literal") << "*.wav" << true << false << "bellwav" << false;
  QTest::newRow("first match not whole") << "*.wav" << true << false << "a.wav.bak" << false;
  QTest::newRow("fuzzy accepts part") << "*.wav" << true << true << "a.wav.bak" << true;
  QTest::newRow("plain name whole") << "kick.wav" << true << false << "KICK.wav" << true;
  QTest::newRow("plain name part") << "kick.wav" << true << false << "kick.wav2" << false;
  QTest::newRow("alternatives mid") << "*.wav|*.mid|*.mp3" << true << false << "鼓.MID" << true;
  QTest::newRow("alternatives none") << "*.wav|*.mid|*.mp3" << true << false << "x.ogg" << false;
  QTest::newRow("question zero") << "a?b.mid" << true << false << "b.mid" << true;
  QTest::newRow("question one") << "a?b.mid" << true << false << "ab.mid" << true;
  QTest::newRow("leading question rejected") << "?.wav" << true << true << "a.wav" << false;
  QTest::newRow("ascii word class") << "\\w" << true << true << "声音" << false;
  QTest::newRow("name not UTF-8") << "*.wav" << true << false
                                  << QString::fromUtf16(u"\xdcff\x9f13\xdc80.wav") << true;
}

void TestMatch::wildcardTest() {
  QFETCH(QString, wildcard);
  QFETCH(bool, ignoreCase);
  QFETCH(bool, fuzzy);
  QFETCH(QString, subject);
  QFETCH(bool, result);
  RegexMatcher matcher;
  QVERIFY(matcher.Prepare(wildcard, ignoreCase, fuzzy, QString(), wildcard.startsWith('\\')));
  QCOMPARE(matcher.Test(subject), result);
}

void TestMatch::regexTest_data() {
  QTest::addColumn<QString>("pattern");
  QTest::addColumn<bool>("fuzzy");
  QTest::addColumn<QString>("subject");
  QTest::addColumn<bool>("result");
  QTest::newRow("first alternative decides") << "a|ab" << false << "ab" << false;
  QTest::newRow("fuzzy any match") << "a|ab" << true << "ab" << true;
  QTest::newRow("ascii digit") << "\\d+" << false << "１２" << false;
  QTest::newRow("ascii space") << "a\\sb" << false << "a\u3000b" << false;
  QTest::newRow("digits") << "\\d+" << false << "123" << true;
  // Real name patterns stay far below the match limit, even on 255 characters.
  const QString longName = QString("Ab_").repeated(80) + "take_12.wav";
  QTest::newRow("long name, nested repeat") << "(\\w+_?)+\\.wav" << false << longName << true;
  QTest::newRow("backtracking that ends")
      << "(\\w+_?)+-end\\.wav" << true << "a_b_c_d_e_f_g_h-x-end.wav" << true;
  QTest::newRow("\\u range") << "[\\u4e00-\\u9fa5]+" << false << "鼓声" << true;
  QTest::newRow("\\u upper-case hex") << "\\u9F13\\.wav" << false << "鼓.wav" << true;
  QTest::newRow("\\u pair") << "\\uD83C\\uDFB5" << false << "\U0001F3B5" << true;
  QTest::newRow("\\u escaped byte")
      << "a\\uDCFF" << false << QString::fromUtf16(u"a\xdcff") << true;
  QTest::newRow("\\u short is u") << "\\u12" << false << "u12" << true;
  QTest::newRow("escaped backslash, u") << "\\\\u4e00" << false << "\\u4e00" << true;
}

void TestMatch::regexTest() {
  QFETCH(QString, pattern);
  QFETCH(bool, fuzzy);
  QFETCH(QString, subject);
  QFETCH(bool, result);
  RegexMatcher matcher;
  QVERIFY(matcher.Prepare(pattern, true, !fuzzy, QString(), true));
  QCOMPARE(matcher.Test(subject, fuzzy), result);  // the explicit flag is stored
  QCOMPARE(matcher.Test(subject), result);
}

void TestMatch::prepareWithSubject() {
  RegexMatcher matcher;
  QVERIFY(matcher.Prepare("*.wav", true, false));
  QCOMPARE(matcher.GetMatchCount(), 0);  // nothing was run
  QVERIFY(matcher.Prepare("*.wav", true, false, "a.wav"));
  QVERIFY(!matcher.Prepare("*.wav", true, false, "a.mid"));
}

void TestMatch::executeAndAccessors() {
  RegexMatcher matcher;
  QVERIFY(matcher.Configure("(\\w)(\\d)?", true));
  QCOMPARE(matcher.GetPattern(), QString("(\\w)(\\d)?"));
  QCOMPARE(matcher.Execute("a1 b"), 2);
  QCOMPARE(matcher.GetMatchCount(), 2);
  QCOMPARE(matcher.GetMatchText(1), QString("a1"));
  QCOMPARE(matcher.GetMatchText(2), QString("b"));
  QCOMPARE(matcher.GetSubMatchCount(), 2);
  QCOMPARE(matcher.GetSubMatchText(1, 2), QString("1"));
  QCOMPARE(matcher.GetSubMatchText(2, 1), QString("b"));
  QCOMPARE(matcher.GetSubMatchText(2, 2), QString());  // group that took no part
  QCOMPARE(matcher.GetMatchText(3), QString());        // out of range: empty, no crash
  QCOMPARE(matcher.Execute("!!"), 0);
  QCOMPARE(matcher.GetSubMatchCount(), 0);
  QCOMPARE(matcher.GetMatchText(1), QString());
}

void TestMatch::accessorsAfterTest() {
  RegexMatcher matcher;
  matcher.Prepare("(b)", true, true, QString(), true);
  QVERIFY(matcher.Test("abcb"));
  QCOMPARE(matcher.GetMatchCount(), 2);
  QCOMPARE(matcher.GetSubMatchText(2, 1), QString("b"));
}

void TestMatch::nonGlobalExecute() {
  RegexMatcher matcher;
  matcher.Configure("a", true, true, false);
  QCOMPARE(matcher.Execute("aaa"), 1);
}

void TestMatch::options_data() {
  QTest::addColumn<bool>("ignoreCase");
  QTest::addColumn<bool>("multiline");
  QTest::addColumn<QString>("pattern");
  QTest::addColumn<int>("count");
  QTest::newRow("multiline anchors") << true << true << "^x" << 2;
  QTest::newRow("single-line anchors") << true << false << "^x" << 1;
  QTest::newRow("case kept") << false << true << "X" << 1;
  QTest::newRow("case ignored") << true << true << "X" << 3;
}

void TestMatch::options() {
  QFETCH(bool, ignoreCase);
  QFETCH(bool, multiline);
  QFETCH(QString, pattern);
  QFETCH(int, count);
  RegexMatcher matcher;
  matcher.Configure(pattern, ignoreCase, multiline);
  QCOMPARE(matcher.Execute("xX\nx"), count);
}

void TestMatch::replace_data() {
  QTest::addColumn<QString>("pattern");
  QTest::addColumn<bool>("global");
  QTest::addColumn<QString>("source");
  QTest::addColumn<QString>("replacement");
  QTest::addColumn<QString>("result");
  QTest::newRow("groups swapped") << "(\\w+)-(\\w+)" << true << "ab-cd"
                                  << "$2_$1"
                                  << "cd_ab";
  QTest::newRow("global") << "o" << true << "foo"
                          << "0"
                          << "f00";
  QTest::newRow("first only") << "o" << false << "foo"
                              << "0"
                              << "f0o";
  QTest::newRow("whole match") << "\\d+" << true << "a12b"
                               << "[$&]"
                               << "a[12]b";
  QTest::newRow("before and after") << "b" << true << "abc"
                                    << "$`|$'"
                                    << "aa|cc";
  QTest::newRow("dollar") << "b" << true << "abc"
                          << "$$"
                          << "a$c";
  QTest::newRow("lone dollar at end") << "b" << true << "abc"
                                      << "x$"
                                      << "ax$c";
  QTest::newRow("dollar other") << "b" << true << "abc"
                                << "$x"
                                << "a$xc";
  QTest::newRow("missing group literal") << "(b)" << true << "abc"
                                         << "$2"
                                         << "a$2c";
  QTest::newRow("dollar zero literal") << "(b)" << true << "abc"
                                       << "$0"
                                       << "a$0c";
  QTest::newRow("two digits fall back") << "(b)" << true << "abc"
                                        << "$10"
                                        << "ab0c";
  QTest::newRow("leading zero") << "(b)" << true << "abc"
                                << "$01"
                                << "abc";
  QTest::newRow("group ten") << "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)" << true << "abcdefghij"
                             << "$10$1"
                             << "ja";
  QTest::newRow("backslash ordinary") << "(b)" << true << "abc"
                                      << "\\1\\$1"
                                      << "a\\1\\bc";
  QTest::newRow("empty replacement") << "\\.wav$" << true << "x.wav"
                                     << ""
                                     << "x";
  QTest::newRow("no match") << "z" << true << "abc"
                            << "y"
                            << "abc";
  QTest::newRow("empty match at start") << "^" << true << "abc"
                                        << "x"
                                        << "xabc";
  QTest::newRow("empty matches") << "x*" << true << "ab"
                                 << "-"
                                 << "-a-b-";
  QTest::newRow("chinese") << "鼓" << true << "大鼓鼓"
                           << "钹"
                           << "大钹钹";
  // The bytes that are not UTF-8 (U+DC80..U+DCFF) stay where the match did not take them.
  const QString bytes = QString::fromUtf16(u"\xdcff鼓\xdc80.wav");
  QTest::newRow("escaped bytes kept")
      << "鼓" << true << bytes << "钹" << QString::fromUtf16(u"\xdcff钹\xdc80.wav");
  QTest::newRow("escaped bytes in $` $& $'")
      << "鼓" << true << bytes << "[$'$&$`]"
      << QString::fromUtf16(u"\xdcff[\xdc80.wav鼓\xdcff]\xdc80.wav");
  QTest::newRow("escaped byte replaced")
      << "\\uDC80" << true << bytes << "x" << QString::fromUtf16(u"\xdcff鼓x.wav");
}

void TestMatch::replace() {
  QFETCH(QString, pattern);
  QFETCH(bool, global);
  QFETCH(QString, source);
  QFETCH(QString, replacement);
  QFETCH(QString, result);
  RegexMatcher matcher;
  matcher.Configure(pattern, true, true, global);
  QCOMPARE(matcher.Replace(source, replacement), result);
}

void TestMatch::rejectedPattern() {
  RegexMatcher matcher;
  QVERIFY(matcher.Configure("(", true));  // not checked here
  QCOMPARE(matcher.Execute("(("), 0);
  QVERIFY(!matcher.Test("(("));
  QCOMPARE(matcher.Replace("((", "x"), QString("(("));
  QCOMPARE(matcher.GetSubMatchCount(), 0);
}

void TestMatch::noEngine() {
  RegexMatcher matcher;
  QCOMPARE(matcher.GetPattern(), QString());
  QCOMPARE(matcher.Execute("a"), 0);
  QVERIFY(!matcher.Test("a"));
  QCOMPARE(matcher.Replace("a", "b"), QString("a"));
}

void TestMatch::runawayBacktrackingIsNoMatch() {
  const QString name = QString(5000, u'a') + u'!';
  for (const QString& pattern : {QStringLiteral("(a+)+$"), QStringLiteral("^(\\w+\\s?)*$")}) {
    RegexMatcher matcher;
    matcher.Prepare(pattern, true, true, QString(), true);
    QVERIFY(!matcher.Test(name));
    QVERIFY(matcher.GaveUp());
    QCOMPARE(matcher.Execute(name), 0);
    QVERIFY(matcher.GaveUp());
    QCOMPARE(matcher.Replace(name, "x"), name);
    QVERIFY(matcher.GaveUp());
    QVERIFY(!matcher.Test("a!"));
    QVERIFY(!matcher.GaveUp());
  }
}

// A name with bytes that are not UTF-8 works as a pattern; match texts give the bytes back.
void TestMatch::bytesThatAreNotUtf8() {
  const QString name = QString::fromUtf16(u"\xdcc9\xdcf9_\xdcff.wav");
  RegexMatcher matcher;
  QVERIFY(matcher.Prepare(name, true, false, name));
  QVERIFY(!matcher.Test(QString::fromUtf16(u"\xdcc9\xdcf9_\xdcfe.wav")));
  matcher.Configure("(\\W+)_", true);
  QCOMPARE(matcher.Execute(name), 1);
  QCOMPARE(matcher.GetSubMatchText(1, 1), name.left(2));
}

void TestMatch::copiesShareState() {
  RegexMatcher matcher;
  matcher.Configure("(a)", true);
  matcher.Execute("aa");
  const RegexMatcher copy = matcher;
  matcher.Configure("b", true);
  QCOMPARE(copy.GetPattern(), QString("(a)"));
  QCOMPARE(copy.GetMatchCount(), 2);
  QCOMPARE(copy.GetSubMatchText(2, 1), QString("a"));
}

QTEST_GUILESS_MAIN(TestMatch)
#include "tst_match.moc"

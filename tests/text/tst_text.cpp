// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "Iconv.h"
#include "platform/Encoding.h"
#include "platform/NativePath.h"
#include "text/PathParts.h"
#include "text/SizeTexts.h"

namespace {

// Reference encoding for the sort-order checks.
QByteArray ToGb18030(const QString& text) { return EncodeAs("GB18030", text); }
QByteArray ToGbk(const QString& text) { return EncodeAs("GBK", text); }

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

class TestText : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void byteSize_data();
  void byteSize();
  void elapsedTime_data();
  void elapsedTime();
  void pathParts_data();
  void pathParts();
  void tokenSet();
  void expand_data();
  void expand();
  void validUtf8_data();
  void validUtf8();
  void decodeTextFile();
  void gb18030OrderMatchesBytes();
  void loneSurrogatesSortLast();
  void textAgainstBytes();
  void displayName_data();
  void displayName();
  void smartRenameName_data();
  void smartRenameName();
};

void TestText::byteSize_data() {
  QTest::addColumn<double>("bytes");
  QTest::addColumn<QString>("text");
  QTest::newRow("0") << 0.0 << "0 B";
  QTest::newRow("1023") << 1023.0 << "1023 B";
  QTest::newRow("1024") << 1024.0 << "1 KB";
  QTest::newRow("1536") << 1536.0 << "1.5 KB";
  QTest::newRow("1048575 rounds up in KB") << 1048575.0 << "1024 KB";
  QTest::newRow("1048576") << 1048576.0 << "1 MB";
  QTest::newRow("5000000") << 5000000.0 << "4.77 MB";
  QTest::newRow("2147483647") << 2147483647.0 << "2 GB";
  QTest::newRow("over 2 GiB") << 3221225472.0 << "3 GB";
  QTest::newRow("1 TB") << 1099511627776.0 << "1 TB";
  QTest::newRow("1 PB") << 1125899906842624.0 << "1 PB";
  QTest::newRow("2048 PB stays PB") << 2048.0 * 1125899906842624.0 << "2048 PB";
  QTest::newRow("negative") << -1.0 << "-1 B";
  QTest::newRow("byte branch unrounded") << 0.125 << "0.125 B";
  QTest::newRow("tie away from zero") << 1152.0 << "1.13 KB";  // 1.125 KB
  QTest::newRow("no exponent") << 1e6 * 1125899906842624.0 << "1000000 PB";
}

void TestText::byteSize() {
  QFETCH(double, bytes);
  QFETCH(QString, text);
  QCOMPARE(FormatByteSize(bytes), text);
}

void TestText::elapsedTime_data() {
  QTest::addColumn<qint64>("ms");
  QTest::addColumn<QString>("text");
  QTest::newRow("0") << qint64(0) << "0 毫秒";
  QTest::newRow("999") << qint64(999) << "999 毫秒";
  QTest::newRow("1000") << qint64(1000) << "1 秒";
  QTest::newRow("1234") << qint64(1234) << "1.23 秒";
  QTest::newRow("59999") << qint64(59999) << "60 秒";
  QTest::newRow("60000") << qint64(60000) << "1 分";
  QTest::newRow("90000") << qint64(90000) << "1.5 分";
  QTest::newRow("3599999") << qint64(3599999) << "60 分";
  QTest::newRow("3600000") << qint64(3600000) << "1 时";
  QTest::newRow("86400000") << qint64(86400000) << "1 天";
  QTest::newRow("2592000000") << qint64(2592000000) << "1 月";
  QTest::newRow("31104000000") << qint64(31104000000) << "1 年";
  QTest::newRow("31536000000") << qint64(31536000000) << "1.01 年";
  QTest::newRow("3 x 360 days") << qint64(3) * 31104000000 << "3 年";
  QTest::newRow("negative") << qint64(-5) << "-5 毫秒";
  QTest::newRow("tie away from zero") << qint64(1125) << "1.13 秒";
}

void TestText::elapsedTime() {
  QFETCH(qint64, ms);
  QFETCH(QString, text);
  QCOMPARE(FormatElapsedTime(ms), text);
}

void TestText::pathParts_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("fileName");
  QTest::addColumn<QString>("directoryPath");
  QTest::addColumn<QString>("directoryName");
  QTest::addColumn<QString>("mainName");
  QTest::addColumn<QString>("extension");
  QTest::newRow("deep") << "/音频/鼓/kick.01.wav"
                        << "kick.01.wav"
                        << "/音频/鼓"
                        << "鼓"
                        << "kick"
                        << "wav";
  QTest::newRow("one separator") << "C:/kick.wav"
                                 << "kick.wav"
                                 << "C:"
                                 << "C:"
                                 << "kick"
                                 << "wav";
  QTest::newRow("root") << "/kick.wav"
                        << "kick.wav"
                        << ""
                        << ""
                        << "kick"
                        << "wav";
  QTest::newRow("bare name") << "kick.wav"
                             << "kick.wav"
                             << ""
                             << ""
                             << "kick"
                             << "wav";
  QTest::newRow("dot in directory") << "/a.b/kick"
                                    << "kick"
                                    << "/a.b"
                                    << "a.b"
                                    << "kick"
                                    << "";
  QTest::newRow("trailing separator") << "/x/dir/"
                                      << ""
                                      << "/x/dir"
                                      << "dir"
                                      << ""
                                      << "";
  QTest::newRow("leading dot") << ".wav"
                               << ".wav"
                               << ""
                               << ""
                               << ""
                               << "wav";
  QTest::newRow("trailing dot") << "kick."
                                << "kick."
                                << ""
                                << ""
                                << "kick"
                                << "";
  QTest::newRow("backslash is ordinary") << "/d/a\\b.mid"
                                         << "a\\b.mid"
                                         << "/d"
                                         << "d"
                                         << "a\\b"
                                         << "mid";
  QTest::newRow("empty") << ""
                         << ""
                         << ""
                         << ""
                         << ""
                         << "";
}

void TestText::pathParts() {
  QFETCH(QString, path);
  QFETCH(QString, fileName);
  QFETCH(QString, directoryPath);
  QFETCH(QString, directoryName);
  QFETCH(QString, mainName);
  QFETCH(QString, extension);
  QCOMPARE(FileNameOf(path), fileName);
  QCOMPARE(DirectoryPathOf(path), directoryPath);
  QCOMPARE(DirectoryNameOf(path), directoryName);
  QCOMPARE(MainNameOf(path), mainName);
  QCOMPARE(ExtensionOf(path), extension);
}

void TestText::tokenSet() {
  const TokenSet set = TokenSet::FromExpression("#目录路径/#主名称_#编号值");
  QVERIFY(set.Contains(NameToken::kDirectoryPath));
  QVERIFY(set.Contains(NameToken::kMainName));
  QVERIFY(set.Contains(NameToken::kNumber));
  QVERIFY(!set.Contains(NameToken::kDirectoryName));  // "#目录路径" does not hold "#目录名"
  QVERIFY(!set.Contains(NameToken::kExtension));
  QVERIFY(!set.Contains(NameToken::kFileName));
  QVERIFY(TokenSet::FromExpression("#EXTENSION #扩展").Empty());
  QCOMPARE(NameTokenText(NameToken::kFileName), QString("#文件名"));
}

void TestText::expand_data() {
  QTest::addColumn<QString>("expression");
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("number");
  QTest::addColumn<QString>("tokens");  // digits: positions in the substitution order
  QTest::addColumn<QString>("result");
  QTest::newRow("main, number, extension") << "#主名_#编号.#扩展名"
                                           << "/x/kick.01.wav"
                                           << "7"
                                           << "015"
                                           << "kick_7.wav";
  QTest::newRow("classification") << "#目录路径/#扩展名 文件"
                                  << "/d/a/b.mp3"
                                  << ""
                                  << "04"
                                  << "/d/a/mp3 文件";
  QTest::newRow("token outside the set stays") << "#目录路径_#编号"
                                               << "/d/a/b.mp3"
                                               << "7"
                                               << "5"
                                               << "#目录路径_7";
  QTest::newRow("later token scans earlier value") << "#文件名"
                                                   << "/d/#编号.wav"
                                                   << "9"
                                                   << "25"
                                                   << "9.wav";
  QTest::newRow("earlier token never scans later value") << "#文件名"
                                                         << "/d/#扩展名.wav"
                                                         << ""
                                                         << "02"
                                                         << "#扩展名.wav";
  QTest::newRow("directory name then path") << "#目录名|#目录路径"
                                            << "/d/a/b.mp3"
                                            << ""
                                            << "34"
                                            << "a|/d/a";
  QTest::newRow("no delimiter needed") << "#主名称#编号值"
                                       << "/k.wav"
                                       << "3"
                                       << "15"
                                       << "k称3值";
  QTest::newRow("empty expression") << ""
                                    << "/k.wav"
                                    << "3"
                                    << "012345"
                                    << "";
  QTest::newRow("case-sensitive, repeated") << "#扩展名#扩展名"
                                            << "/k.WAV"
                                            << ""
                                            << "0"
                                            << "WAVWAV";
}

void TestText::expand() {
  QFETCH(QString, expression);
  QFETCH(QString, path);
  QFETCH(QString, number);
  QFETCH(QString, tokens);
  QFETCH(QString, result);
  TokenSet set;
  for (QChar c : tokens) set.Set(static_cast<NameToken>(c.digitValue()));
  QCOMPARE(ExpandNameTokens(path, expression, set, number), result);
}

void TestText::validUtf8_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<bool>("valid");
  QTest::newRow("empty") << QByteArray() << true;
  QTest::newRow("ascii") << QByteArray("abc") << true;
  QTest::newRow("chinese") << QString("声音").toUtf8() << true;
  QTest::newRow("four bytes") << QByteArray("\xF0\x9F\x98\x80") << true;
  QTest::newRow("gbk") << QByteArray("\xC9\xF9\xD2\xF4") << false;
  QTest::newRow("overlong") << QByteArray("\xC0\xAF") << false;
  QTest::newRow("overlong three") << QByteArray("\xE0\x80\xAF") << false;
  QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
  QTest::newRow("above 10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
  QTest::newRow("truncated") << QByteArray("a\xE5\xA3") << false;
  QTest::newRow("lone continuation") << QByteArray("\x80") << false;
}

void TestText::validUtf8() {
  QFETCH(QByteArray, bytes);
  QFETCH(bool, valid);
  QCOMPARE(IsValidUtf8(bytes), valid);
}

void TestText::decodeTextFile() {
  const QString text = "[播放]\n仅播放一次=真\n";
  QCOMPARE(DecodeTextFile(text.toUtf8()), text);
  QCOMPARE(DecodeTextFile("\xEF\xBB\xBF" + text.toUtf8()), text);
  QCOMPARE(DecodeTextFile(ToGb18030(text)), text);
  // A byte that is not GBK is replaced and the rest still decodes.
  QCOMPARE(DecodeTextFile(ToGb18030("声") + "\xFF" + ToGb18030("音")), QString("声\uFFFD音"));
  QCOMPARE(DecodeTextFile(ToGb18030("声") + "\x81"), QString("声\uFFFD"));
}

void TestText::gb18030OrderMatchesBytes() {
  const QStringList samples = {
      "",           "0",          "A",          "a",      "~",       "\u00E9", "\u00B7",
      "\u20AC",     "\u3000",     "啊",         "阿",     "中",      "鼓",     "\u4DB5",
      "\u9FA5",     "\u9FA6",     "\uE000",     "\uE5E5", "\uFFFD",  "\uFFFF", "\U00010000",
      "\U0001F600", "\U00020000", "\U0010FFFF", "ab",     "a\u00E9", "鼓a",    "鼓\U0001F600"};
  for (const QString& a : samples)
    for (const QString& b : samples) {
      const QByteArray ea = ToGb18030(a);
      const QByteArray eb = ToGb18030(b);
      const int bytes = ea < eb ? -1 : (ea == eb ? 0 : 1);
      QVERIFY2(Sign(CompareGb18030(a, b)) == bytes, qPrintable(a + " vs " + b));
    }
}

void TestText::loneSurrogatesSortLast() {
  const QString lone(QChar(0xDC81));
  QCOMPARE(Sign(CompareGb18030(lone, QString("\U0010FFFF"))), 1);
  QCOMPARE(Sign(CompareGb18030(lone, QString("\uFFFF"))), 1);
  QCOMPARE(Sign(CompareGb18030(lone, QString(QChar(0xDC82)))), -1);
  QCOMPARE(CompareGb18030(lone, lone), 0);
  // A private-use character that GB18030 cannot encode sorts after every encoded one.
  const QString unencodable(QChar(0xE78D));
  QCOMPARE(Sign(CompareGb18030(unencodable, QString("\U0010FFFF"))), 1);
  QCOMPARE(Sign(CompareGb18030(lone, unencodable)), 1);
  QCOMPARE(Sign(CompareGb18030(QString("a" + lone), QString("ab"))), 1);
}

void TestText::textAgainstBytes() {
  const QStringList texts = {"", "a", "ab", "\u00E9", "鼓", "鼓a", "啊", "\U0001F600", "\uFFFF"};
  const QList<QByteArray> bytes = {"",
                                   "a",
                                   "a\xff",
                                   QByteArray(1, '\0'),
                                   "\xb9",
                                   "\xb9\xc4",
                                   "\xb9\xc4"
                                   "a",
                                   "\xb0\xa1",
                                   "\x81\x30",
                                   "\xff"};
  for (const QString& text : texts) {
    const QByteArray encoded = ToGb18030(text);
    QCOMPARE(EncodeGb18030(text), encoded);
    for (const QByteArray& b : bytes) {
      const int expected = encoded < b ? -1 : (encoded == b ? 0 : 1);
      QVERIFY2(Sign(CompareGb18030(text, b)) == expected, qPrintable(text + " vs " + b.toHex()));
    }
  }
}

void TestText::displayName_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("shown");
  QTest::newRow("utf-8") << QString("声音.wav").toUtf8() << "声音.wav";
  QTest::newRow("gbk") << ToGbk("声音.wav") << "声音.wav";
  // "说" in GBK is also valid UTF-8: the name is decoded whole, not escape by escape.
  QTest::newRow("gbk pair that is also utf-8") << ToGbk("说话.wav") << "说话.wav";
  QTest::newRow("gbk part under utf-8 parts") << "/音/" + ToGbk("鼓组") + "/x"
                                              << "/音/鼓组/x";
  QTest::newRow("not gbk") << QByteArray("caf\xe9.mid") << "caf\uFFFD.mid";
  QTest::newRow("broken gbk shows no guess") << ToGbk("鼓") + "\xff"
                                             << "\uFFFD\uFFFD\uFFFD";
}

void TestText::displayName() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, shown);
  QCOMPARE(DisplayName(FromNativePath(bytes)), shown);
}

void TestText::smartRenameName_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<int>("number");
  QTest::addColumn<QString>("expected");
  QTest::newRow("plain") << "bell.wav" << 1 << "bell_1.wav";
  QTest::newRow("no extension") << "bell" << 1 << "bell_1";
  QTest::newRow("numbered again") << "bell_1.wav" << 1 << "bell_1_1.wav";
  QTest::newRow("middle dropped") << "drum.loop.wav" << 1 << "drum_1.wav";
  QTest::newRow("only extension") << ".wav" << 1 << "_1.wav";
  QTest::newRow("trailing dot") << "bell." << 1 << "bell_1";
  QTest::newRow("third") << "鼓声.mp3" << 3 << "鼓声_3.mp3";
}

void TestText::smartRenameName() {
  QFETCH(QString, name);
  QFETCH(int, number);
  QFETCH(QString, expected);
  QCOMPARE(SmartRenameName(name, number), expected);
}

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"

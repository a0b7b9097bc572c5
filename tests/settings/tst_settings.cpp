// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "Iconv.h"
#include "TestFiles.h"
#include "platform/Encoding.h"
#include "settings/ConfigDir.h"
#include "settings/IniFile.h"
#include "settings/SettingsStore.h"
#include "settings/gui/OptionBinder.h"
#include "settings/gui/WindowPlacement.h"

namespace {

QByteArray ToGbk(const QString& text) { return EncodeAs("GBK", text); }

QStringList ItemTexts(const QListWidget& list) {
  QStringList texts;
  for (int i = 0; i < list.count(); ++i)
    texts << QStringLiteral("%1|%2|%3")
                 .arg(list.item(i)->text())
                 .arg(list.item(i)->checkState() == Qt::Checked ? 1 : 0)
                 .arg(list.item(i)->data(Qt::UserRole).toInt());
  return texts;
}

}  // namespace

class TestSettings : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init();
  void valuesRoundTrip_data();
  void valuesRoundTrip();
  void plainValuesStayPlain();
  void awkwardKeysAndSections();
  void updateKeepsOtherLines();
  void firstOccurrenceWins();
  void batchWritesOnceAtTheEnd();
  void nestedBatchesWriteOnce();
  void readsCrLfAndGbk();
  void badFiles_data();
  void badFiles();
  void missingDirectory();
  void readOnlyPlaces();
  void overlongValueRefused();
  void booleans();
  void numbers();
  void dateTime();
  void checkControls();
  void textControls();
  void checkList();
  void comboText();
  void windowPlacement();
  void configDir();

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  QString path_;
  SettingsStore store_;
};

void TestSettings::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  QVERIFY(dir_->isValid());
  path_ = dir_->filePath("Plinkbox.ini");
  store_ = SettingsStore();
  store_.Open(path_, "播放", true);
}

void TestSettings::valuesRoundTrip_data() {
  QTest::addColumn<QString>("value");
  QTest::newRow("empty") << "";
  QTest::newRow("chinese") << "仅播放一次";
  QTest::newRow("equals") << "a=b==c";
  QTest::newRow("brackets") << "[播放]";
  QTest::newRow("semicolon") << ";注释";
  QTest::newRow("hash") << "#x";
  QTest::newRow("leading blanks") << "  前";
  QTest::newRow("trailing blanks") << "后 \t";
  QTest::newRow("ideographic space") << "\u3000中\u3000";
  QTest::newRow("line breaks") << "a\nb\r\nc\r";
  QTest::newRow("mark") << "D:/音效【==】真【==】0【→↓】E:/游戏";
  QTest::newRow("backslashes") << "C:\\snd\\";
  QTest::newRow("escape lookalike") << "\\n\\x41\\\"";
  QTest::newRow("quoted") << "\"quoted\"";
  QTest::newRow("inner quotes") << "say \"hi\"";
  QTest::newRow("lone quote") << "\"";
  QTest::newRow("control") << QString("a") + QChar(1) + QChar(0x7F) + QChar(0) + "b";
  QTest::newRow("lone surrogate") << QString(QChar(0xDC81)) + "名";
  QTest::newRow("byte order mark") << "\uFEFFx";
  QTest::newRow("supplementary") << "\U0001F600";
}

void TestSettings::valuesRoundTrip() {
  QFETCH(QString, value);
  QVERIFY(store_.WriteText("键", value));
  QVERIFY(store_.WriteText("后", "x"));
  QCOMPARE(store_.ReadText("键", "默认"), value);
  QCOMPARE(store_.ReadText("后"), QString("x"));
  const QByteArray bytes = ReadFile(path_);
  QVERIFY(IsValidUtf8(bytes));
  QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
  QCOMPARE(bytes.count('\n'), 3);  // header and two keys, one line each
}

void TestSettings::plainValuesStayPlain() {
  store_.WriteText("目录", "C:\\snd\\鼓 a=b;[c]");
  store_.WriteText("列表", "a【→↓】b");
  store_.WriteText("空", "");
  QCOMPARE(QString::fromUtf8(ReadFile(path_)),
           QString("[播放]\n目录=C:\\snd\\鼓 a=b;[c]\n列表=a【→↓】b\n空=\n"));
  const QDir dir(dir_->path());
  // No temporary file is left behind.
  QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden), QStringList{"Plinkbox.ini"});
}

void TestSettings::awkwardKeysAndSections() {
  const QStringList keys = {"a=b", " k", "k ", "[k]", ";k", "#k", "\"k\"", "", "键\n2"};
  for (const QString& key : keys) QVERIFY(store_.WriteText(key, "值" + key));
  for (const QString& key : keys) QCOMPARE(store_.ReadText(key), "值" + key);
  store_.SetSection("a]b [c");
  QVERIFY(store_.WriteText("x", "1"));
  QCOMPARE(store_.ReadText("x"), QString("1"));
  store_.SetSection("");
  QVERIFY(store_.WriteText("x", "2"));
  QCOMPARE(store_.ReadText("x"), QString("2"));
  store_.SetSection("两\n行");
  QVERIFY(!store_.WriteText("x", "3"));
  store_.SetSection("a]b [c");
  QCOMPARE(store_.ReadText("x"), QString("1"));
}

void TestSettings::updateKeepsOtherLines() {
  WriteFile(path_, "; 注释\n[播放]\n仅播放一次 = 真\n\n[导入]\nx=1\n");
  QCOMPARE(store_.ReadText("仅播放一次"), QString("真"));  // blanks around "=" are not part of it
  QVERIFY(store_.WriteText("新", "n"));
  QVERIFY(store_.WriteText("仅播放一次", "假"));
  store_.SetSection("查找参数");
  QVERIFY(store_.WriteText("欲查找", "鼓"));
  QCOMPARE(
      QString::fromUtf8(ReadFile(path_)),
      QString("; 注释\n[播放]\n仅播放一次=假\n新=n\n\n[导入]\nx=1\n\n[查找参数]\n欲查找=鼓\n"));
}

void TestSettings::firstOccurrenceWins() {
  WriteFile(path_, "[播放]\na=1\na=2\n[其他]\nb=0\n[播放]\na=3\nc=4\n");
  QCOMPARE(store_.ReadText("a"), QString("1"));
  QCOMPARE(store_.ReadText("c", "无"), QString("无"));  // only the first section counts
  QVERIFY(store_.WriteText("a", "9"));
  QCOMPARE(QString::fromUtf8(ReadFile(path_)),
           QString("[播放]\na=9\na=2\n[其他]\nb=0\n[播放]\na=3\nc=4\n"));
}

void TestSettings::batchWritesOnceAtTheEnd() {
  QVERIFY(store_.WriteText("旧", "1"));
  {
    const SettingsStore::Batch batch(store_);
    QVERIFY(store_.WriteText("甲", "a=b"));
    store_.SetSection("导入");
    QVERIFY(store_.WriteBool("乙", true));
    QCOMPARE(store_.ReadText("乙"), QStringLiteral("真"));        // reads see the batch
    QVERIFY(!QString::fromUtf8(ReadFile(path_)).contains("甲"));  // nothing written yet
  }
  store_.SetSection("播放");
  QCOMPARE(store_.ReadText("旧"), QStringLiteral("1"));
  QCOMPARE(store_.ReadText("甲"), QStringLiteral("a=b"));
  store_.SetSection("导入");
  QVERIFY(store_.ReadBool("乙", false));
  QVERIFY(store_.WriteText("丙", "after"));  // after the batch every write reaches the file
  QVERIFY(QString::fromUtf8(ReadFile(path_)).contains("丙=after"));
}

void TestSettings::nestedBatchesWriteOnce() {
  {
    const SettingsStore::Batch outer(store_);
    QVERIFY(store_.WriteText("外", "1"));
    {
      const SettingsStore::Batch inner(store_);
      QCOMPARE(store_.ReadText("外"), QStringLiteral("1"));  // the outer copy, not the file
      QVERIFY(store_.WriteText("内", "2"));
    }
    QVERIFY(store_.WriteText("末", "3"));
    QCOMPARE(store_.ReadText("内"), QStringLiteral("2"));
    QVERIFY(!QFile::exists(path_));
  }
  QCOMPARE(QString::fromUtf8(ReadFile(path_)), QStringLiteral("[播放]\n外=1\n内=2\n末=3\n"));
  QVERIFY(store_.WriteText("后", "4"));
  QVERIFY(QString::fromUtf8(ReadFile(path_)).contains("后=4"));
}

void TestSettings::readsCrLfAndGbk() {
  WriteFile(path_, ToGbk("[播放]\r\n仅播放一次=真\r\n目录=声音\\短音\r\n"));
  QCOMPARE(store_.ReadText("仅播放一次"), QString("真"));
  QCOMPARE(store_.ReadText("目录"), QString("声音\\短音"));
  // A write turns the whole file into UTF-8 and keeps the other values.
  QVERIFY(store_.WriteText("新", "值"));
  QCOMPARE(QString::fromUtf8(ReadFile(path_)),
           QString("[播放]\n仅播放一次=真\n目录=声音\\短音\n新=值\n"));
  WriteFile(path_, "\xEF\xBB\xBF[播放]\r\na=1\r\n");
  QCOMPARE(store_.ReadText("a"), QString("1"));
  // A DOS end-of-file mark ends the text.
  WriteFile(path_, "[播放]\r\na=1\r\n\x1A");
  QVERIFY(store_.WriteText("b", "2"));
  QCOMPARE(ReadFile(path_), QByteArray("[播放]\na=1\nb=2\n"));
}

void TestSettings::badFiles_data() {
  QTest::addColumn<QByteArray>("bytes");
  QByteArray garbage;
  for (int i = 0; i < 4096; ++i) garbage += char((i * 7919 + 13) % 256);
  QTest::newRow("binary garbage") << garbage;
  QTest::newRow("nul byte") << QByteArray("[播放]\na=1\n\0\n", 14);
  QTest::newRow("1 MB line") << "[播放]\na=1\n" + QByteArray(1 << 20, 'x') + "\n";
  QTest::newRow("missing bracket") << QByteArray("[播放\na=1\n");
  QTest::newRow("undecodable") << QByteArray("[播放]\na=1\n\xFF\xFF\n");
  QTest::newRow("invalid after BOM") << QByteArray("\xEF\xBB\xBF[播放]\na=1\n\xC9\xF9\n");
  QTest::newRow("end-of-file mark before the end") << QByteArray("[播放]\na=1\n\x1A\n");
}

void TestSettings::badFiles() {
  QFETCH(QByteArray, bytes);
  WriteFile(path_, bytes);
  QCOMPARE(store_.ReadText("a", "默认"), QString("默认"));
  QCOMPARE(store_.ReadNumber("a", 5), 5.0);
  QVERIFY(!store_.WriteText("a", "2"));
  QCOMPARE(ReadFile(path_), bytes);
}

void TestSettings::missingDirectory() {
  store_.Open(dir_->filePath("无/Plinkbox.ini"), "播放", true);
  QVERIFY(!store_.WriteText("a", "1"));
  QCOMPARE(store_.ReadText("a", "默认"), QString("默认"));
  QVERIFY(!QDir(dir_->filePath("无")).exists());
}

void TestSettings::readOnlyPlaces() {
  QVERIFY(store_.WriteText("a", "1"));
  QFile::setPermissions(path_, QFile::ReadOwner);
  QFile::setPermissions(dir_->path(), QFile::ReadOwner | QFile::ExeOwner);
  const bool enforced = !QFileInfo(dir_->path()).isWritable();
  if (enforced) {
    QVERIFY(!store_.WriteText("a", "2"));
    QCOMPARE(store_.ReadText("a"), QString("1"));
  }
  QFile::setPermissions(dir_->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner);
  if (!enforced) QSKIP("permissions are not enforced for this user");
}

void TestSettings::overlongValueRefused() {
  QVERIFY(store_.WriteText("a", "1"));
  const QString longest(IniFile::kMaxLineLength - 2, u'鼓');
  QVERIFY(store_.WriteText("b", longest));
  QCOMPARE(store_.ReadText("b"), longest);
  QVERIFY(!store_.WriteText("c", longest + "xx"));
  QCOMPARE(store_.ReadText("a"), QString("1"));
}

void TestSettings::booleans() {
  QVERIFY(store_.WriteBool("开", true));
  QVERIFY(store_.WriteBool("关", false));
  QVERIFY(store_.ReadBool("开", false));
  QVERIFY(!store_.ReadBool("关", true));
  QVERIFY(store_.ReadBool("无", true));
  QVERIFY(!store_.ReadBool("无", false));
  store_.WriteText("英", "true");
  store_.WriteText("一", "1");
  QVERIFY(!store_.ReadBool("英", true));
  QVERIFY(!store_.ReadBool("一", true));
  QVERIFY(store_.ReadBoolUnlessFalse("英", false));
  QVERIFY(!store_.ReadBoolUnlessFalse("关", true));
  QVERIFY(!store_.ReadBoolUnlessFalse("无", false));
}

void TestSettings::numbers() {
  QVERIFY(store_.WriteNumber("宽度", 835));
  QVERIFY(store_.WriteNumber("位置", -1));
  QVERIFY(store_.WriteNumber("大", 4294967296.0));
  QCOMPARE(store_.ReadText("宽度"), QString("835"));
  QCOMPARE(store_.ReadText("位置"), QString("-1"));
  QCOMPARE(store_.ReadText("大"), QString("4294967296"));
  QCOMPARE(store_.ReadNumber("宽度", 0), 835.0);
  QVERIFY(store_.WriteNumber("半", 1.5));
  QCOMPARE(store_.ReadNumber("半", 0), 1.5);
  store_.WriteText("文", "abc");
  QCOMPARE(store_.ReadNumber("文", 7), 7.0);
  store_.WriteText("无穷", "inf");
  QCOMPARE(store_.ReadNumber("无穷", 7), 7.0);
  QCOMPARE(store_.ReadNumber("无", -2), -2.0);
  QVERIFY(!store_.WriteNumber("非数", qQNaN()));
}

void TestSettings::dateTime() {
  const QDateTime utc(QDate(2026, 3, 4), QTime(5, 6, 7, 89), Qt::UTC);
  const QDateTime local(QDate(2025, 12, 31), QTime(23, 59, 59, 999));
  QVERIFY(store_.WriteDateTime("时", utc));
  QVERIFY(store_.WriteDateTime("本地", local));
  QCOMPARE(store_.ReadText("时"), QString("2026-03-04T05:06:07.089Z"));
  QCOMPARE(store_.ReadDateTime("时", QDateTime()), utc);
  QCOMPARE(store_.ReadDateTime("本地", QDateTime()), local);
  store_.WriteText("坏", "昨天");
  QCOMPARE(store_.ReadDateTime("坏", local), local);
  QCOMPARE(store_.ReadDateTime("无", utc), utc);
}

void TestSettings::checkControls() {
  QAction checked("仅播放一次");
  checked.setCheckable(true);
  QAction unchecked("移过时发音");
  unchecked.setCheckable(true);
  Option<bool> once{"播放", "仅播放一次", true}, hover{"播放", "移过时发音", false};
  const std::vector<OptionBinding> items{Bind(once, &checked), Bind(hover, &unchecked)};
  LoadSettings(store_, items);
  QVERIFY(checked.isChecked());  // no key: unchanged
  QVERIFY(!unchecked.isChecked());
  QVERIFY(once.Save(store_));
  QCOMPARE(store_.ReadText("仅播放一次"), QString("真"));
  checked.setChecked(false);
  LoadSettings(store_, items);
  QVERIFY(checked.isChecked());

  QCheckBox box("遍历子目录");
  Option<bool> recurse{"播放", "遍历子目录", false};
  const std::vector<OptionBinding> boxes{Bind(recurse, &box)};
  QVERIFY(recurse.Save(store_));
  box.setChecked(true);
  LoadSettings(store_, boxes);
  QVERIFY(!box.isChecked());
  QCOMPARE(store_.ReadText("遍历子目录"), QString("假"));

  QRadioButton radio("复制");
  Option<bool> copy{"播放", "复制", true};
  const std::vector<OptionBinding> radios{Bind(copy, &radio)};
  QVERIFY(copy.Save(store_));
  radio.setChecked(false);
  LoadSettings(store_, radios);
  QVERIFY(radio.isChecked());
}

void TestSettings::textControls() {
  QPlainTextEdit edit;
  Option<MultiLineText> lines{"播放", "多行", {"a\nb"}};
  const std::vector<OptionBinding> multi{Bind(lines, &edit)};
  QVERIFY(lines.Save(store_));
  QCOMPARE(store_.ReadText("多行"), QString("a【→↓】b"));
  edit.clear();
  LoadSettings(store_, multi);
  QCOMPARE(lines.Value().text, QString("a\nb"));
  QCOMPARE(edit.toPlainText(), QString("a\nb"));
  edit.setPlainText("原样");
  Option<MultiLineText> absent{"播放", "无", {"原样"}};
  LoadSettings(store_, {Bind(absent, &edit)});
  QCOMPARE(edit.toPlainText(), QString("原样"));

  edit.setPlainText("a\nb");
  QVERIFY(WriteSetting(store_, "原文", edit.toPlainText()));
  QCOMPARE(store_.ReadText("原文"), QString("a\nb"));  // raw line break, read back unchanged
  edit.clear();
  QCOMPARE(ReadSetting(store_, "原文", QString()), QString("a\nb"));

  QLineEdit line;
  Option<QString> single{"播放", "单行", " 前后 "}, missing{"播放", "无", " 前后 "};
  const std::vector<OptionBinding> fields{Bind(single, &line)};
  QVERIFY(single.Save(store_));
  line.setText("x");
  LoadSettings(store_, fields);
  QCOMPARE(line.text(), QString(" 前后 "));
  LoadSettings(store_, {Bind(missing, &line)});
  QCOMPARE(line.text(), QString(" 前后 "));
  QCOMPARE(EscapeLineBreaks("a\r\nb\nc"), QString("a【→↓】b【→↓】c"));
  QCOMPARE(UnescapeLineBreaks("a【→↓】b"), QString("a\nb"));
}

void TestSettings::checkList() {
  QListWidget list;
  Option<CheckList> dirs{"播放", "目录", {}};
  const std::vector<OptionBinding> bound{Bind(dirs, &list)};
  auto add = [&list](const QString& text, bool checked, int data) {
    auto* item = new QListWidgetItem(text, &list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    item->setData(Qt::UserRole, data);
  };
  add("D:/音效", true, 0);
  add("E:/游戏", false, -7);
  QVERIFY(dirs.Save(store_));
  QCOMPARE(store_.ReadText("目录"), QString("D:/音效【==】真【==】0【→↓】E:/游戏【==】假【==】-7"));
  list.clear();
  LoadSettings(store_, bound);
  QCOMPARE(ItemTexts(list), (QStringList{"D:/音效|1|0", "E:/游戏|0|-7"}));
  QVERIFY(list.item(0)->flags() & Qt::ItemIsUserCheckable);

  Option<CheckList> absent{"播放", "无", CheckListOf(&list)};
  LoadSettings(store_, {Bind(absent, &list)});  // absent: unchanged, nothing doubled
  QCOMPARE(list.count(), 2);

  store_.WriteText("短", "X【==】真【→↓】Y【==】假【==】12.9【==】多【==】余【→↓】Z");
  FillCheckList(&list, CheckListOf(&list) + ReadSetting(store_, "短", CheckList()));
  QCOMPARE(ItemTexts(list),
           (QStringList{"D:/音效|1|0", "E:/游戏|0|-7", "X|1|0", "Y|0|12", "Z|0|0"}));

  QListWidget empty;
  QVERIFY(WriteSetting(store_, "空", CheckListOf(&empty)));
  QCOMPARE(store_.ReadText("空", "无"), QString());
  FillCheckList(&list, ReadSetting(store_, "空", CheckList()));
  QCOMPARE(list.count(), 0);
}

void TestSettings::comboText() {
  QComboBox combo;
  combo.setEditable(true);
  Option<QString> filter{"播放", "过滤", "*.wav|*.mid"}, absent{"播放", "无", "*.wav|*.mid"};
  const std::vector<OptionBinding> bound{Bind(filter, &combo)}, none{Bind(absent, &combo)};
  QVERIFY(filter.Save(store_));
  combo.setEditText("x");
  LoadSettings(store_, bound);
  QCOMPARE(combo.currentText(), QString("*.wav|*.mid"));
  LoadSettings(store_, none);
  QCOMPARE(combo.currentText(), QString("*.wav|*.mid"));
}

void TestSettings::windowPlacement() {
  QWidget window;
  window.setGeometry(40, 50, 300, 200);
  SaveWindowPlacement(store_, &window, "主窗口尺寸");
  QCOMPARE(store_.Section(), QString("主窗口尺寸"));
  QCOMPARE(store_.ReadText("位置"), QString("0"));
  QCOMPARE(store_.ReadText("宽度"), QString("300"));

  QWidget other;
  other.setGeometry(0, 0, 100, 100);
  LoadWindowPlacement(store_, &other, "主窗口尺寸");
  QCOMPARE(other.geometry(), QRect(40, 50, 300, 200));

  window.setWindowState(Qt::WindowMaximized);
  SaveWindowPlacement(store_, &window, QString());
  QCOMPARE(store_.ReadText("位置"), QString("3"));
  QCOMPARE(store_.ReadText("左边"), QString("40"));  // bounds of the normal state kept
  QWidget third;
  LoadWindowPlacement(store_, &third, "主窗口尺寸");
  QVERIFY(third.isMaximized());

  store_.WriteNumber("位置", 1);
  QWidget centred;
  LoadWindowPlacement(store_, &centred, "主窗口尺寸");
  QVERIFY(!centred.isMaximized());
  QCOMPARE(centred.size(), QSize(300, 200));
  QCOMPARE(centred.geometry().center(), centred.screen()->availableGeometry().center());
  SaveWindowPlacement(store_, &centred, "主窗口尺寸");
  QCOMPARE(store_.ReadText("位置"), QString("1"));

  store_.WriteNumber("位置", 2);
  QWidget minimised;
  LoadWindowPlacement(store_, &minimised, "主窗口尺寸");
  QVERIFY(minimised.isMinimized());
}

void TestSettings::configDir() {
  const QString exeDir = dir_->filePath("bin");
  QVERIFY(QDir().mkpath(exeDir));
  qputenv("XDG_CONFIG_HOME", dir_->filePath("xdg").toUtf8());
  qunsetenv("PLINKBOX_CONFIG_DIR");
  QCOMPARE(ResolveConfigDir({"plinkbox"}, exeDir), dir_->filePath("xdg/plinkbox"));
  QVERIFY(QDir(dir_->filePath("xdg/plinkbox")).exists());

  WriteFile(exeDir + "/Plinkbox.ini", "");
  QCOMPARE(ResolveConfigDir({"plinkbox"}, exeDir), exeDir);

  qputenv("PLINKBOX_CONFIG_DIR", dir_->filePath("环境").toUtf8());
  QCOMPARE(ResolveConfigDir({"plinkbox"}, exeDir), dir_->filePath("环境"));

  QCOMPARE(ResolveConfigDir({"plinkbox", "--config-dir", dir_->filePath("a/b/c")}, exeDir),
           dir_->filePath("a/b/c"));
  QVERIFY(QDir(dir_->filePath("a/b/c")).exists());
  QCOMPARE(ResolveConfigDir({"plinkbox", "--config-dir=" + dir_->filePath("d")}, exeDir),
           dir_->filePath("d"));
  qunsetenv("PLINKBOX_CONFIG_DIR");
  qunsetenv("XDG_CONFIG_HOME");

  QCOMPARE(SettingsFilePath("/c"), QString("/c/Plinkbox.ini"));
  QCOMPARE(ListFilePath("/c"), QString("/c/Plinkbox·音频列表.ini"));
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"

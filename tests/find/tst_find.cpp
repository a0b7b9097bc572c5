// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <climits>
#include <memory>

#include "Iconv.h"
#include "ListContext.h"
#include "core/StatusTexts.h"
#include "find/Finder.h"
#include "find/gui/FindWindow.h"
#include "list/SoundList.h"
#include "match/RegexMatcher.h"
#include "platform/EventPump.h"
#include "platform/LongJob.h"
#include "platform/NativePath.h"
#include "platform/ScriptedDialogs.h"
#include "player/Player.h"
#include "ui/ToolWindow.h"

namespace {

// A list of rows in a temporary directory, the find logic around it and scripted dialogs.
struct Harness : ListContext {
  explicit Harness(const QStringList& names) {
    for (const QString& name : names) list.AddRow(name, dir.path());
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs = scripted.get();
    previous = InstallDialogs(std::move(scripted));
  }
  ~Harness() { InstallDialogs(std::move(previous)); }

  QStringList Messages() const {
    QStringList texts;
    for (const auto& prompt : dialogs->prompts) texts << prompt.text;
    return texts;
  }

  QTemporaryDir dir;
  FindOptions& find = options.find;
  Finder finder{list, status, find, player};
  ScriptedDialogs* dialogs = nullptr;
  std::unique_ptr<Dialogs> previous;
};

QString Gbk(const QString& text) { return FromNativePath(EncodeAs("GBK", text)); }

const QStringList kFive = {"a.mp3", "b.wav", "c.mp3", "d.wav", "e.mp3"};
const QString kNotFound = QStringLiteral(" 完全找不到！");

}  // namespace

class TestFind : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void findStep_data();
  void findStep();
  void playWhenFoundOff();
  void busyJobFindsNothing();
  void findAll_data();
  void findAll();
  void setFindPoint();
  void windowStartsAsDesigned();
  void windowChangesReachParameters();
  void windowButtonsAct();
  void windowOpensOnce();
  void windowStopsItsSearch_data();
  void windowStopsItsSearch();
  void windowLeavesOtherJobs();
};

using Ints = QList<int>;

void TestFind::findStep_data() {
  QTest::addColumn<QStringList>("names");
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("regex");
  QTest::addColumn<bool>("fuzzy");
  QTest::addColumn<bool>("ignoreCase");
  QTest::addColumn<int>("findPoint");
  QTest::addColumn<QString>("steps");  // D downward, U upward
  QTest::addColumn<Ints>("found");     // row found by each step, -1 none
  QTest::addColumn<int>("endPoint");

  QTest::newRow("two matches, repeated wraps")
      << kFive << "*.wav" << false << true << true << -1 << "DDDDD" << Ints{1, 3, 1, 3, 1} << 1;
  QTest::newRow("upward from -1 tests row 0, then wraps to the last")
      << kFive << "*.wav" << false << true << true << -1 << "UUU" << Ints{3, 1, 3} << 3;
  QTest::newRow("upward from -1, row 0 matches")
      << kFive << "*.mp3" << false << true << true << -1 << "U" << Ints{0} << 0;
  QTest::newRow("last row is not wrapped past downward")
      << QStringList{"a.mp3", "b.wav"} << "*.wav" << false << true << true << 1 << "DD"
      << Ints{1, 1} << 1;
  QTest::newRow("row 0 is not wrapped past upward")
      << QStringList{"a.wav", "b.mp3"} << "*.wav" << false << true << true << 0 << "UU"
      << Ints{0, 0} << 0;
  QTest::newRow("find point beyond the list starts at the last row")
      << QStringList{"a.wav", "b.mp3", "c.wav"} << "*.wav" << false << true << true << 100 << "D"
      << Ints{2} << 2;
  QTest::newRow("largest find point does not overflow")
      << QStringList{"a.wav", "b.mp3", "c.wav"} << "*.wav" << false << true << true << INT_MAX
      << "D" << Ints{2} << 2;
  QTest::newRow("smallest find point does not overflow")
      << QStringList{"a.wav", "b.mp3", "c.wav"} << "*.wav" << false << true << true << INT_MIN
      << "U" << Ints{0} << 0;
  QTest::newRow("nothing downward ends at the first row")
      << kFive << "*.mid" << false << true << true << 3 << "D" << Ints{-1} << 0;
  QTest::newRow("nothing upward ends at the last row")
      << kFive << "*.mid" << false << true << true << 1 << "U" << Ints{-1} << 4;
  QTest::newRow("empty list downward")
      << QStringList{} << "*.wav" << false << true << true << -1 << "D" << Ints{-1} << -1;
  QTest::newRow("empty list upward")
      << QStringList{} << "*.wav" << false << true << true << 5 << "U" << Ints{-1} << -1;
  QTest::newRow("fuzzy off needs the whole name")
      << QStringList{"bell.wav.bak", "bell.wav"} << "*.wav" << false << false << true << -1 << "DD"
      << Ints{1, 1} << 1;
  QTest::newRow("fuzzy on accepts a match inside")
      << QStringList{"bell.wav.bak", "bell.wav"} << "*.wav" << false << true << true << -1 << "DD"
      << Ints{0, 1} << 1;
  QTest::newRow("ignore case on") << QStringList{"BELL.WAV"} << "*.wav" << false << false << true
                                  << -1 << "D" << Ints{0} << 0;
  QTest::newRow("ignore case off") << QStringList{"BELL.WAV"} << "*.wav" << false << false << false
                                   << -1 << "D" << Ints{-1} << 0;
  QTest::newRow("regex ^b, fuzzy on") << QStringList{"a.wav", "bell.wav", "b"} << "^b" << true
                                      << true << true << -1 << "DD" << Ints{1, 2} << 2;
  QTest::newRow("regex ^b, fuzzy off") << QStringList{"a.wav", "bell.wav", "b"} << "^b" << true
                                       << false << true << -1 << "DD" << Ints{2, 2} << 2;
  QTest::newRow("rejected regex") << kFive << "(" << true << true << true << -1 << "D" << Ints{-1}
                                  << 0;
  QTest::newRow("rejected wildcard")
      << kFive << "?.wav" << false << true << true << -1 << "D" << Ints{-1} << 0;
}

void TestFind::findStep() {
  QFETCH(QStringList, names);
  QFETCH(QString, text);
  QFETCH(int, findPoint);
  QFETCH(QString, steps);
  QFETCH(Ints, found);
  QFETCH(int, endPoint);
  Harness h(names);
  FindOptions& find = h.find;
  find.text.Set(text);
  QFETCH(bool, regex);
  QFETCH(bool, fuzzy);
  QFETCH(bool, ignoreCase);
  find.regex.Set(regex);
  find.fuzzy.Set(fuzzy);
  find.ignoreCase.Set(ignoreCase);
  find.findPoint.Set(findPoint);

  QStringList expectedMessages;
  for (int i = 0; i < steps.size(); ++i) {
    const bool upward = steps[i] == u'U';
    const std::vector<int> before = h.list.Selection().SelectedRows();
    h.sound.log.clear();
    QCOMPARE(h.finder.FindStep(upward), found[i] >= 0);
    QCOMPARE(h.finder.Upward(), upward);
    if (found[i] >= 0) {
      QCOMPARE(h.list.Selection().SelectedRows(), std::vector<int>{found[i]});
      QVERIFY(
          h.sound.log.contains(QStringLiteral("play:%1/%2:1").arg(h.dir.path(), names[found[i]])));
      QCOMPARE(h.status.Message(), QStringLiteral("播放 ") + names[found[i]]);
    } else {
      expectedMessages << text + kNotFound;
      QCOMPARE(h.list.Selection().SelectedRows(), before);
      QVERIFY(h.sound.log.isEmpty());
    }
    QCOMPARE(h.Messages(), expectedMessages);
  }
  QCOMPARE(find.findPoint.Value(), endPoint);
}

void TestFind::playWhenFoundOff() {
  Harness h(kFive);
  h.find.text.Set("*.wav");
  h.find.playWhenFound.Set(false);
  QVERIFY(h.finder.FindStep(false));
  QCOMPARE(h.list.Selection().SelectedRows(), std::vector<int>{1});
  QCOMPARE(h.status.Count(), QStringLiteral("2/5"));
  QVERIFY(h.sound.log.isEmpty());
}

void TestFind::busyJobFindsNothing() {
  Harness h(kFive);
  h.find.text.Set("*.wav");
  LongJobGuard running;
  QVERIFY(!h.finder.FindStep(false));
  h.finder.FindAll();
  QCOMPARE(h.find.findPoint.Value(), -1);
  QCOMPARE(h.list.Selection().SelectedCount(), 0);
  QVERIFY(h.Messages().isEmpty());
}

void TestFind::findAll_data() {
  QTest::addColumn<QStringList>("names");
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("regex");
  QTest::addColumn<std::vector<int>>("selected");
  const QStringList mixed = {"a.wav", "b.mid", "c.mp3", "d.WAV", "e.mp3", "f.mid", "g.mid"};
  QTest::newRow("runs of matches")
      << mixed << "*.wav|*.mid" << false << std::vector<int>{0, 1, 3, 5, 6};
  QTest::newRow("no match") << mixed << "*.ogg" << false << std::vector<int>{};
  QTest::newRow("rejected pattern") << mixed << "(" << true << std::vector<int>{};
  QTest::newRow("empty list") << QStringList{} << "*.*" << false << std::vector<int>{};
  // Names that are not UTF-8 match through the text they show.
  const QStringList odd = {Gbk("鼓.wav"), "a.mp3", Gbk("鼓组.mid"), FromNativePath("\xff.wav")};
  QTest::newRow("gbk by characters") << odd << "鼓*" << false << std::vector<int>{0, 2};
  QTest::newRow("gbk by pattern") << odd << "^鼓组" << true << std::vector<int>{2};
  QTest::newRow("not gbk by extension") << odd << "*.wav" << false << std::vector<int>{0, 3};
  QTest::newRow("backtracking that ends") << QStringList{"a_b_c_d_e_f_g_h-x-end.wav"}
                                          << "(\\w+_?)+-end\\.wav" << true << std::vector<int>{0};
  QTest::newRow("given up") << QStringList{"a.wav", QString(240, u'a') + u'!'} << "^(\\w+\\s?)*$"
                            << true << std::vector<int>{};
}

void TestFind::findAll() {
  QFETCH(QStringList, names);
  QFETCH(QString, text);
  QFETCH(bool, regex);
  QFETCH(std::vector<int>, selected);
  Harness h(names);
  h.find.text.Set(text);
  h.find.regex.Set(regex);
  h.find.findPoint.Set(4);
  h.list.Selection().SelectOnly(2);
  h.status.SetCount("x");
  h.status.SetMessage("y");
  h.sound.log.clear();

  h.finder.FindAll();
  QCOMPARE(h.list.Selection().SelectedRows(), selected);
  QCOMPARE(h.find.findPoint.Value(), 4);
  // The count part follows the new selection; the message part stays.
  QCOMPARE(h.status.Count(),
           h.list.Selection().CountText(selected.empty() ? -1 : selected.front()));
  // Names given up are all that a find all reports.
  QCOMPARE(h.status.Message(), QTest::currentDataTag() == QByteArray("given up")
                                   ? QStringLiteral("查找全部") + GivenUpNote(1)
                                   : QStringLiteral("y"));
  QVERIFY(h.sound.log.isEmpty());
  QVERIFY(h.Messages().isEmpty());
}

void TestFind::setFindPoint() {
  Harness h(kFive);
  h.list.Selection().SelectOnly(2);
  h.finder.SetFindPoint(false);
  QCOMPARE(h.find.findPoint.Value(), 2);
  QVERIFY(h.status.Message().isEmpty());
  h.list.Selection().SelectOnly(-1);
  h.finder.SetFindPoint(true);
  QCOMPARE(h.find.findPoint.Value(), -1);
  QCOMPARE(h.status.Message(), QStringLiteral("已设置当前位置为查找点！"));
}

void TestFind::windowStartsAsDesigned() {
  Harness h(kFive);
  h.find.regex.Set(true);
  h.find.playWhenFound.Set(false);
  FindWindow window(h.finder, nullptr);
  QCOMPARE(window.windowTitle(), QStringLiteral("查找表项"));
  auto* combo = window.findChild<QComboBox*>("组合框欲查找");
  QVERIFY(combo && combo->isEditable());
  QCOMPARE(combo->currentText(), QStringLiteral("*.wav|*.mid"));
  QCOMPARE(h.find.text.Value(), QStringLiteral("*.wav|*.mid"));
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  QCOMPARE(items, (QStringList{"*.wav|*.mid|*.mp3", "*.wav|*.mid", "*.wav|*.mp3", "*.mid|*.mp3",
                               "*.mp3", "*.wav", "*.mid", "*.*"}));
  QVERIFY(window.findChild<QCheckBox*>("选择框启用正则")->isChecked());
  QVERIFY(window.findChild<QCheckBox*>("选择框模糊匹配")->isChecked());
  QVERIFY(window.findChild<QCheckBox*>("选择框忽略大小写")->isChecked());
  QVERIFY(!window.findChild<QCheckBox*>("选择框找到时播放")->isChecked());

  h.find.text.Set("^x");
  FindWindow second(h.finder, nullptr);
  QCOMPARE(second.findChild<QComboBox*>("组合框欲查找")->currentText(), QStringLiteral("^x"));
  QCOMPARE(h.find.text.Value(), QStringLiteral("^x"));
}

void TestFind::windowChangesReachParameters() {
  Harness h(kFive);
  FindWindow window(h.finder, nullptr);
  auto* combo = window.findChild<QComboBox*>("组合框欲查找");
  combo->lineEdit()->clear();
  QTest::keyClicks(combo->lineEdit(), "*.w");
  QCOMPARE(h.find.text.Value(), QStringLiteral("*.w"));  // not completed into an item
  combo->setCurrentIndex(7);
  QCOMPARE(h.find.text.Value(), QStringLiteral("*.*"));
  QCOMPARE(combo->count(), 8);

  window.findChild<QCheckBox*>("选择框启用正则")->click();
  window.findChild<QCheckBox*>("选择框模糊匹配")->click();
  window.findChild<QCheckBox*>("选择框忽略大小写")->click();
  window.findChild<QCheckBox*>("选择框找到时播放")->click();
  QVERIFY(h.find.regex.Value());
  QVERIFY(!h.find.fuzzy.Value());
  QVERIFY(!h.find.ignoreCase.Value());
  QVERIFY(!h.find.playWhenFound.Value());
}

void TestFind::windowButtonsAct() {
  Harness h(kFive);
  h.find.text.Set("*.wav");
  FindWindow window(h.finder, nullptr);
  auto click = [&](const char* name) { window.findChild<QPushButton*>(name)->click(); };
  click("按钮向下查找");
  QCOMPARE(h.list.Selection().SelectedRows(), std::vector<int>{1});
  click("按钮向下查找");
  click("按钮向上查找");
  QCOMPARE(h.list.Selection().SelectedRows(), std::vector<int>{1});
  QVERIFY(h.finder.Upward());
  click("按钮查找全部");
  QCOMPARE(h.list.Selection().SelectedRows(), (std::vector<int>{1, 3}));
  h.list.Selection().SelectOnly(4);
  click("按钮置查找点");
  QCOMPARE(h.find.findPoint.Value(), 4);
  QCOMPARE(h.status.Message(), QStringLiteral("已设置当前位置为查找点！"));
  {
    const LongJobGuard job;  // the searches wait for it
    QVERIFY(!window.findChild<QPushButton*>("按钮查找全部")->isEnabled());
    QVERIFY(window.findChild<QPushButton*>("按钮置查找点")->isEnabled());
  }
  QVERIFY(window.findChild<QPushButton*>("按钮查找全部")->isEnabled());
}

void TestFind::windowOpensOnce() {
  Harness h(kFive);
  QWidget owner;
  QPointer<FindWindow> slot;
  const auto open = [&] {
    return ShowToolWindow(slot, [&] { return new FindWindow(h.finder, &owner); });
  };
  FindWindow* first = open();
  QVERIFY(first && first->isVisible());
  QCOMPARE(open(), first);
  QCOMPARE(slot.data(), first);
  QCOMPARE(owner.findChildren<FindWindow*>().size(), 1);
  first->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(first));
  QTest::keyClick(first, Qt::Key_Escape);
  QTRY_VERIFY(slot.isNull());
}

void TestFind::windowStopsItsSearch_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<bool>("escape");  // else the window is closed
  QTest::newRow("down, Esc") << "按钮向下查找" << true;
  QTest::newRow("all, closed") << "按钮查找全部" << false;
}

// The key or the close arrives while the search pumps events. Only the middle row matches, and
// every other row runs the pattern into the match limit, so the search is still far from it.
void TestFind::windowStopsItsSearch() {
  QFETCH(QString, button);
  QFETCH(bool, escape);
  QStringList names(10000, QStringLiteral("vocal_take_v2_final.mp3"));
  names[5000] = QStringLiteral("kick.wav");
  Harness h(names);
  h.find.text.Set(QStringLiteral("(\\w+_?)+\\.wav"));
  h.find.regex.Set(true);
  QPointer<FindWindow> slot;
  FindWindow* window = ShowToolWindow(slot, [&] { return new FindWindow(h.finder, nullptr); });
  QTimer::singleShot(0, window, [window, escape] {
    if (escape) {
      QTest::keyClick(window, Qt::Key_Escape);
    } else {
      window->close();
    }
  });

  window->findChild<QPushButton*>(button)->click();
  QVERIFY(!LongJobGuard::Busy());
  QCOMPARE(h.list.Selection().SelectedCount(), 0);
  QVERIFY(h.Messages().isEmpty());
  QTRY_VERIFY(slot.isNull());
}

void TestFind::windowLeavesOtherJobs() {
  Harness h(kFive);
  FindWindow window(h.finder, nullptr);
  const LongJobGuard job;
  window.close();
  QVERIFY(!LongJobGuard::StopRequested());
}

QTEST_MAIN(TestFind)
#include "tst_find.moc"

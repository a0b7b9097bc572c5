// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QMetaObject>
#include <QTemporaryDir>
#include <QtTest>

#include "ListContext.h"
#include "core/StatusTexts.h"
#include "list/SoundList.h"
#include "platform/EventPump.h"
#include "platform/LongJob.h"
#include "player/HoverTracker.h"
#include "player/ListKeys.h"
#include "player/Player.h"

Q_DECLARE_METATYPE(Command)
Q_DECLARE_METATYPE(std::optional<int>)

namespace {

using Cursor = HoverTracker::Cursor;

// A list of named rows in a temporary directory with the player and the mouse state around it,
// connected as the main window connects them.
struct Bench : ListContext {
  explicit Bench(const QStringList& names) {
    for (const QString& name : names) list.AddRow(name, dir.path());
    QObject::connect(&list.Selection(), &RowSelection::currentRowChanged, &list,
                     [this](int) { player.OnCurrentRowChanged(); });
    hover.SetCursorHandler([this](Cursor c) { cursors << c; });
  }
  QString Path(int row) const { return dir.path() + QStringLiteral("/") + list.RowFileName(row); }
  QString Wave(int row, bool loop) const {
    return QStringLiteral("play:%1:%2").arg(Path(row)).arg(loop ? 1 : 0);
  }
  std::vector<int> Selection() const { return list.Selection().SelectedRows(); }

  QTemporaryDir dir;
  HoverTracker hover{list, options.play, player};
  QList<Cursor> cursors;
};

const QStringList kFiveNames{QStringLiteral("鼓声.wav"), QStringLiteral("b.wav"),
                             QStringLiteral("c.mp3"), QStringLiteral("d.mid"),
                             QStringLiteral("e.wav")};
const QStringList kSixNames = kFiveNames + QStringList{QStringLiteral("f.wav")};

}  // namespace

class TestPlayer : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void modifierBits();
  void playRow_data();
  void playRow();
  void stopPlayback();
  void locateBeforeAnyPlay();
  void currentRowTrigger();
  void doubleClick();
  void newerPlayDuringEventRound();
  void playRowAfterQueuedRemoval_data();
  void playRowAfterQueuedRemoval();
  void hoverPlays();
  void hoverFirstRowZeroIgnored();
  void hoverBelowRowsStopsAndClears();
  void hoverOneRequestWithPlayOnSelect();
  void dragExchange_data();
  void dragExchange();
  void dragOut_data();
  void dragOut();
  void clickEndsButtonState();
};

void TestPlayer::modifierBits() {
  QCOMPARE(ModifierBits(Qt::NoModifier), 0);
  QCOMPARE(ModifierBits(Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier),
           kCtrlBit | kShiftBit);
  QCOMPARE(ModifierBits(Qt::AltModifier | Qt::MetaModifier), static_cast<int>(kAltBit));
}

void TestPlayer::playRow_data() {
  QTest::addColumn<std::optional<int>>("row");
  QTest::addColumn<bool>("leaveSelection");
  QTest::addColumn<bool>("playOnce");
  QTest::addColumn<QString>("count");
  QTest::addColumn<QString>("message");
  QTest::addColumn<QStringList>("log");  // after "stop"; %1 is the played row's path
  QTest::addColumn<std::vector<int>>("selection");
  // Rows 1 and 3 are selected before each call; the current row is 1.
  QTest::newRow("no row: current, loops")
      << std::optional<int>() << false << false << "2/5"
      << "播放 b.wav" << QStringList{"play:%1:1"} << std::vector<int>{1};
  QTest::newRow("once") << std::optional<int>(4) << false << true << "5/5"
                        << "播放 e.wav" << QStringList{"play:%1:0"} << std::vector<int>{4};
  QTest::newRow("refused: the reason follows, once")  // c.mp3 is damaged
      << std::optional<int>(2) << false << true << "3/5"
      << "播放 c.mp3（无法播放：文件已损坏）" << QStringList{"play:%1:0"} << std::vector<int>{2};
  QTest::newRow("chinese name") << std::optional<int>(0) << false << false << "1/5"
                                << "播放 鼓声.wav" << QStringList{"play:%1:1"}
                                << std::vector<int>{0};
  QTest::newRow("leave selection")
      << std::optional<int>(3) << true << false << "4/5"
      << "播放 d.mid" << QStringList{"play:%1:1"} << std::vector<int>{1, 3};
  QTest::newRow("row -1") << std::optional<int>(-1) << false << false << "0/5"
                          << "播放 " << QStringList{} << std::vector<int>{};
  QTest::newRow("past the end") << std::optional<int>(5) << false << false << "6/5"
                                << "播放 " << QStringList{} << std::vector<int>{};
  QTest::newRow("far outside, selection left")
      << std::optional<int>(99) << true << false << "100/5"
      << "播放 " << QStringList{} << std::vector<int>{1, 3};
}

void TestPlayer::playRow() {
  QFETCH(std::optional<int>, row);
  QFETCH(bool, leaveSelection);
  QFETCH(bool, playOnce);
  QFETCH(QString, count);
  QFETCH(QString, message);
  QFETCH(QStringList, log);
  QFETCH(std::vector<int>, selection);
  Bench b(kFiveNames);
  b.list.Selection().SelectRow(1);
  b.list.Selection().SelectRow(3);
  b.options.play.once.Set(playOnce);
  b.sound.results[b.Path(2)] = PlayResult::Damaged;

  b.player.PlayRow(row, leaveSelection);

  const int r = row.value_or(1);
  QStringList expected{QStringLiteral("stop")};
  for (const QString& entry : log) expected << entry.arg(b.Path(r));
  QCOMPARE(b.sound.log, expected);
  QCOMPARE(b.status.Count(), count);
  QCOMPARE(b.status.Message(), message);
  QCOMPARE(b.Selection(), selection);
  QCOMPARE(b.player.PlayingRow(), r);
}

void TestPlayer::stopPlayback() {
  Bench b(kFiveNames);
  b.status.SetMessage(QStringLiteral("播放 b.wav"));
  b.player.StopPlayback();
  QCOMPARE(b.status.Message(), QStringLiteral("播放 b.wav"));
  b.player.StopPlayback(true);
  QCOMPARE(b.status.Message(), QStringLiteral("已停止播放"));
  QCOMPARE(b.sound.log, (QStringList{"stop", "stop"}));
}

void TestPlayer::locateBeforeAnyPlay() {
  Bench b(kFiveNames);
  b.list.Selection().SelectRow(3);
  b.player.LocatePlayingRow();
  QCOMPARE(b.Selection(), std::vector<int>{0});
  b.player.PlayRow(4);
  b.list.Selection().SelectOnly(2);
  b.player.LocatePlayingRow();
  QCOMPARE(b.Selection(), std::vector<int>{4});
}

void TestPlayer::currentRowTrigger() {
  Bench b(kFiveNames);
  b.list.Selection().SelectOnly(2);  // play on select off: count only
  QCOMPARE(b.status.Count(), QStringLiteral("3/5"));
  QVERIFY(b.sound.log.isEmpty());

  b.options.play.onSelect.Set(true);
  b.list.Selection().SelectRow(0);  // current row 2 -> 0; the selection is left as it is
  QCOMPARE(b.sound.log, (QStringList{"stop", b.Wave(0, true)}));
  QCOMPARE(b.Selection(), (std::vector<int>{0, 2}));
  QCOMPARE(b.status.Count(), QStringLiteral("1/5"));
}

void TestPlayer::doubleClick() {
  Bench b(kFiveNames);
  b.list.Selection().SelectOnly(1);
  b.player.OnDoubleClick();
  QVERIFY(b.sound.log.isEmpty());
  b.options.play.onDoubleClick.Set(true);
  b.player.OnDoubleClick();
  QCOMPARE(b.sound.log, (QStringList{"stop", b.Wave(1, true)}));
}

void TestPlayer::newerPlayDuringEventRound() {
  // A hover onto row 4 waiting in the event queue is handled inside PlayRow(1)'s event round:
  // the newer row wins, and the older request does not select or start its row afterwards.
  Bench b(kFiveNames);
  QMetaObject::invokeMethod(
      &b.list, [&b] { b.player.PlayRow(4); }, Qt::QueuedConnection);
  b.player.PlayRow(1);
  QCOMPARE(b.sound.log, (QStringList{"stop", "stop", b.Wave(4, true)}));
  QCOMPARE(b.Selection(), std::vector<int>{4});
  QCOMPARE(b.status.Message(), QStringLiteral("播放 e.wav"));
  QCOMPARE(b.player.PlayingRow(), 4);
}

void TestPlayer::playRowAfterQueuedRemoval_data() {
  QTest::addColumn<std::optional<int>>("row");
  QTest::addColumn<QString>("change");  // waiting in the event queue: "remove:r" or "swap:a:b"
  QTest::addColumn<int>("played");      // the played row after the change, -1 for none
  QTest::addColumn<QString>("name");
  // Row 3 (d.mid) is the current row.
  QTest::newRow("removal before the row") << std::optional<int>(3) << "remove:0" << 2 << "d.mid";
  QTest::newRow("removal of the row") << std::optional<int>(3) << "remove:3" << -1 << "";
  QTest::newRow("no row: the current row after the removal")
      << std::optional<int>() << "remove:1" << 2 << "d.mid";
  QTest::newRow("exchange moves the row") << std::optional<int>(3) << "swap:3:1" << 1 << "d.mid";
}

void TestPlayer::playRowAfterQueuedRemoval() {
  QFETCH(std::optional<int>, row);
  QFETCH(QString, change);
  QFETCH(int, played);
  QFETCH(QString, name);
  Bench b(kFiveNames);
  b.list.Selection().SelectOnly(3);
  const QStringList p = change.split(u':');
  QMetaObject::invokeMethod(
      &b.list,
      [&b, p] {
        if (p[0] == u"remove") b.list.RemoveRow(p[1].toInt());
        if (p[0] == u"swap") b.list.SwapRows(p[1].toInt(), p[2].toInt());
      },
      Qt::QueuedConnection);

  b.player.PlayRow(row);

  if (played < 0) {  // a stale request: stopped, nothing else
    QCOMPARE(b.sound.log, QStringList{"stop"});
    QCOMPARE(b.status.Message(), QString());
    QCOMPARE(b.player.PlayingRow(), 0);
    return;
  }
  QCOMPARE(b.list.RowFileName(played), name);
  QCOMPARE(b.sound.log, (QStringList{"stop", b.Wave(played, true)}));
  QCOMPARE(b.Selection(), std::vector<int>{played});
  QCOMPARE(b.status.Count(), QStringLiteral("%1/%2").arg(played + 1).arg(b.list.RowCount()));
  QCOMPARE(b.player.PlayingRow(), played);
}

void TestPlayer::hoverPlays() {
  Bench b(kFiveNames);
  b.options.play.onHover.Set(true);
  b.hover.OnRowUnderMouse(2);
  b.sound.log.clear();
  b.hover.OnRowUnderMouse(3);
  QCOMPARE(b.sound.log, (QStringList{"stop", b.Wave(3, true)}));
  QCOMPARE(b.Selection(), std::vector<int>{3});
  QCOMPARE(b.status.Count(), QStringLiteral("4/5"));
  b.hover.OnRowUnderMouse(3);  // moving within the row
  b.hover.OnRowUnderMouse(3);
  QCOMPARE(b.sound.log.size(), 2);
  QVERIFY(b.cursors.isEmpty());
}

void TestPlayer::hoverFirstRowZeroIgnored() {
  Bench b(kFiveNames);
  b.options.play.onHover.Set(true);
  b.hover.OnRowUnderMouse(0);
  QVERIFY(b.sound.log.isEmpty());
  QVERIFY(b.Selection().empty());
  b.hover.OnRowUnderMouse(1);
  b.hover.OnRowUnderMouse(0);  // a later report of row 0 plays
  QCOMPARE(b.sound.log.last(), b.Wave(0, true));
}

void TestPlayer::hoverBelowRowsStopsAndClears() {
  Bench b(kFiveNames);
  b.options.play.onHover.Set(true);
  b.hover.OnRowUnderMouse(2);
  b.sound.log.clear();
  b.hover.OnRowUnderMouse(-1);
  QCOMPARE(b.sound.log, QStringList{"stop"});
  QVERIFY(b.Selection().empty());
  QCOMPARE(b.status.Count(), QStringLiteral("0/5"));
  QCOMPARE(b.status.Message(), QStringLiteral("播放 "));
}

void TestPlayer::hoverOneRequestWithPlayOnSelect() {
  // Hover-play selects its row, which raises the current-row trigger; with play on select also
  // on, each hover still makes one stop and one play request.
  Bench b(kFiveNames);
  b.options.play.onHover.Set(true);
  b.options.play.onSelect.Set(true);
  QSignalSpy currentRow(&b.list.Selection(), &RowSelection::currentRowChanged);
  for (int row : {1, 4, 3, 0}) {
    b.sound.log.clear();
    b.hover.OnRowUnderMouse(row);
    QCOMPARE(b.sound.log, (QStringList{"stop", b.Wave(row, true)}));
    QCOMPARE(b.status.Count(), QStringLiteral("%1/5").arg(row + 1));
  }
  QCOMPARE(currentRow.count(), 4);
}

void TestPlayer::dragExchange_data() {
  QTest::addColumn<QList<int>>("path");  // hovered rows, the press at the first
  QTest::addColumn<QStringList>("names");
  QTest::addColumn<std::vector<int>>("highlight");  // selection just before the release
  QTest::addColumn<QList<Cursor>>("cursors");
  QTest::addColumn<bool>("jobRunning");
  QTest::newRow("1 to 5") << QList<int>{1, 2, 3, 4, 5}
                          << QStringList{"鼓声.wav", "f.wav", "c.mp3", "d.mid", "e.wav", "b.wav"}
                          << std::vector<int>{1, 5}
                          << QList<Cursor>{Cursor::kExchange, Cursor::kDefault} << false;
  QTest::newRow("1 to 5 during a long job")
      << QList<int>{1, 5} << kSixNames << std::vector<int>{1, 5}
      << QList<Cursor>{Cursor::kExchange, Cursor::kDefault} << true;
  QTest::newRow("upwards 4 to 0") << QList<int>{4, 3, 0}
                                  << QStringList{"e.wav", "b.wav",    "c.mp3",
                                                 "d.mid", "鼓声.wav", "f.wav"}
                                  << std::vector<int>{0, 4}
                                  << QList<Cursor>{Cursor::kExchange, Cursor::kDefault} << false;
  QTest::newRow("1 to below the rows")
      << QList<int>{1, 2, 5, -1} << kSixNames << std::vector<int>{1}
      << QList<Cursor>{Cursor::kExchange, Cursor::kNoTarget, Cursor::kDefault} << false;
  QTest::newRow("out and back onto a row")
      << QList<int>{1, -1, 3}
      << QStringList{"鼓声.wav", "d.mid", "c.mp3", "b.wav", "e.wav", "f.wav"}
      << std::vector<int>{1, 3}
      << QList<Cursor>{Cursor::kNoTarget, Cursor::kExchange, Cursor::kDefault} << false;
  QTest::newRow("pressed below the rows")
      << QList<int>{-1, 2} << kSixNames << std::vector<int>{2}
      << QList<Cursor>{Cursor::kExchange, Cursor::kDefault} << false;
}

void TestPlayer::dragExchange() {
  QFETCH(QList<int>, path);
  QFETCH(QStringList, names);
  QFETCH(std::vector<int>, highlight);
  QFETCH(QList<Cursor>, cursors);
  QFETCH(bool, jobRunning);
  Bench b(kSixNames);
  std::optional<LongJobGuard> job;  // another job works on the rows: the exchange waits for none
  if (jobRunning) job.emplace();
  b.hover.OnRowUnderMouse(path.first());
  b.hover.OnLeftButtonDown();
  for (int row : path.mid(1)) b.hover.OnRowUnderMouse(row);
  QCOMPARE(b.Selection(), highlight);
  b.hover.OnLeftButtonUp();

  QStringList after;
  for (int row = 0; row < b.list.RowCount(); ++row) after << b.list.RowFileName(row);
  QCOMPARE(after, names);
  QCOMPARE(b.cursors, cursors);
  QVERIFY(!b.hover.LeftButtonDown());
  QVERIFY(b.sound.log.isEmpty());  // hover-play is off
}

void TestPlayer::dragOut_data() {
  QTest::addColumn<std::vector<int>>("selected");  // as the press left it
  QTest::addColumn<QList<int>>("path");            // hovered rows, the press at the first; then out
  QTest::addColumn<bool>("jobRunning");
  QTest::addColumn<std::vector<int>>("dragged");
  QTest::newRow("straight out") << std::vector<int>{2} << QList<int>{2} << false
                                << std::vector<int>{2};
  QTest::newRow("selection of the press, not the highlight on the way out")
      << std::vector<int>{1, 3, 4} << QList<int>{3, 4, 5, -1} << false << std::vector<int>{1, 3, 4};
  QTest::newRow("pressed below the rows")
      << std::vector<int>{2} << QList<int>{-1, 5} << false << std::vector<int>{};
  QTest::newRow("nothing selected")
      << std::vector<int>{} << QList<int>{2} << false << std::vector<int>{};
  QTest::newRow("during a long job")
      << std::vector<int>{2} << QList<int>{2} << true << std::vector<int>{};
}

void TestPlayer::dragOut() {
  QFETCH(std::vector<int>, selected);
  QFETCH(QList<int>, path);
  QFETCH(bool, jobRunning);
  QFETCH(std::vector<int>, dragged);
  Bench b(kSixNames);
  QList<QStringList> drags;
  bool buttonDownDuringDrag = true;
  b.hover.SetDragOutHandler([&](const QStringList& paths) {
    drags << paths;
    buttonDownDuringDrag = b.hover.LeftButtonDown();
  });
  std::optional<LongJobGuard> job;
  if (jobRunning) job.emplace();
  b.hover.OnRowUnderMouse(path.first());
  b.list.Selection().SelectRows(selected);
  b.hover.OnLeftButtonDown();
  for (int row : path.mid(1)) b.hover.OnRowUnderMouse(row);
  b.hover.OnDragLeftList();
  b.hover.OnDragLeftList();  // further moves outside start no second drag

  QStringList expected;
  for (int row : dragged) expected << b.Path(row);
  QCOMPARE(drags, dragged.empty() ? QList<QStringList>{} : QList<QStringList>{expected});
  if (dragged.empty()) return;
  // The drag took the release: no exchange is pending, during the drag or after it.
  QVERIFY(!buttonDownDuringDrag);
  QVERIFY(b.cursors.isEmpty() || b.cursors.last() == Cursor::kDefault);
  b.hover.OnLeftButtonUp();
  for (int row = 0; row < b.list.RowCount(); ++row)
    QCOMPARE(b.list.RowFileName(row), kSixNames[row]);
}

void TestPlayer::clickEndsButtonState() {
  // The view may swallow the release of a click; the next moves are hovers, not a drag.
  Bench b(kFiveNames);
  b.options.play.onHover.Set(true);
  b.hover.OnRowUnderMouse(1);
  b.hover.OnLeftButtonDown();
  b.hover.OnClick();
  b.sound.log.clear();
  b.hover.OnRowUnderMouse(3);
  QCOMPARE(b.sound.log, (QStringList{"stop", b.Wave(3, true)}));
  QCOMPARE(b.hover.DragStartRow(), 3);
  QVERIFY(b.cursors.isEmpty());
}

QTEST_GUILESS_MAIN(TestPlayer)
#include "tst_player.moc"

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <memory>
#include <utility>

#include "TestFiles.h"
#include "list/SoundList.h"
#include "match/RegexMatcher.h"
#include "platform/LongJob.h"
#include "platform/ScriptedDialogs.h"
#include "platform/gui/QtDialogs.h"
#include "rename/gui/BatchRenameWindow.h"
#include "settings/SettingsStore.h"
#include "ui/ToolWindow.h"

namespace {

// a.wav to l.wav, each file holding its own first name.
QStringList Originals() {
  QStringList names;
  for (char c = 'a'; c <= 'l'; ++c) names << QStringLiteral("%1.wav").arg(QChar(c));
  return names;
}

QStringList Numbered() {
  QStringList names;
  for (int n = 1; n <= 12; ++n) names << QStringLiteral("%1.wav").arg(n, 2, 10, QChar(u'0'));
  return names;
}

// A row for each file of Originals(), a settings file of its own and scripted dialogs.
struct Harness {
  Harness() {
    store.Open(dir.filePath("Plinkbox.ini"));
    QDir(dir.path()).mkdir("s");
    for (const QString& name : Originals()) {
      WriteFile(Sounds() + '/' + name, name.toUtf8());
      list.AddRow(name, Sounds());
    }
    previous = InstallDialogs(std::unique_ptr<Dialogs>(dialogs = new ScriptedDialogs));
  }
  ~Harness() { InstallDialogs(std::move(previous)); }

  QString Sounds() const { return dir.filePath("s"); }
  // The name each file of Originals() has now, in that order.
  QStringList Disk() const {
    QHash<QString, QString> nameOf;
    for (const QString& name : QDir(Sounds()).entryList(QDir::Files))
      nameOf.insert(QString::fromUtf8(ReadFile(Sounds() + '/' + name)), name);
    QStringList names;
    for (const QString& original : Originals()) names << nameOf.value(original, "<gone>");
    return names;
  }
  QString LastMessage() const { return dialogs->prompts.last().text; }

  QTemporaryDir dir;
  SettingsStore store;
  SoundList list;
  RegexMatcher matcher;
  UndoList undo;
  BatchRenamer renamer{list, matcher, undo};
  ScriptedDialogs* dialogs = nullptr;
  std::unique_ptr<Dialogs> previous;
};

template <typename Control = QPushButton>
Control* Child(QWidget* window, const QString& name) {
  return window->findChild<Control*>(name);
}

void Click(QWidget* window, const QString& name) { Child(window, name)->click(); }

}  // namespace

class TestBatchRenameWindow : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void executes_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QList<int>>("selected");  // with 仅修改选定文件 on
    QTest::addColumn<QStringList>("disk");
    QTest::addColumn<QString>("message");
    QStringList selectedRenamed = Originals();
    selectedRenamed[3] = "1.wav";
    selectedRenamed[7] = "2.wav";
    QTest::newRow("all rows") << 0 << QList<int>{} << Numbered()
                              << "批量改名完毕，共 12 条记录，其中失败 0 条，耗时 ";
    QTest::newRow("rows 3 and 7") << 0 << QList<int>{3, 7} << selectedRenamed
                                  << "批量改名完毕，共 2 条记录，其中失败 0 条，耗时 ";
    QTest::newRow("tab 更多") << 5 << QList<int>{} << Originals() << "请切换到有效页！";
  }

  void executes() {
    QFETCH(int, tab);
    QFETCH(QList<int>, selected);
    QFETCH(QStringList, disk);
    QFETCH(QString, message);
    Harness h;
    BatchRenameWindow w(h.store, h.renamer, h.undo, h.list, nullptr);
    Child<QTabWidget>(&w, "选择夹")->setCurrentIndex(tab);
    if (!selected.isEmpty()) {
      h.list.Selection().SelectRows({selected.begin(), selected.end()});
      Child<QAction>(&w, "仅修改选定文件")->trigger();
    }
    Click(&w, "按钮执行");
    QCOMPARE(h.Disk(), disk);
    QVERIFY2(h.LastMessage().startsWith(message), qPrintable(h.LastMessage()));
  }

  // Cancelling the second execution keeps the first one undoable, once.
  void asksBeforeSecondRunAndUndoesOnce() {
    Harness h;
    BatchRenameWindow w(h.store, h.renamer, h.undo, h.list, nullptr);
    Click(&w, "按钮执行");
    QCOMPARE(h.Disk(), Numbered());
    Click(&w, "按钮执行");  // answered Cancel
    QCOMPARE(
        h.LastMessage(),
        "存在上次改名的支持撤销的记录，是否继续改名？继续则新的撤销记录将覆盖上次的（仅支持当次"
        "改名撤销，无限撤销和高级改名功能请用《Morvane》）");
    QCOMPARE(h.dialogs->prompts.last().buttons, int(Dialogs::kOkCancel));
    Click(&w, "按钮撤销");
    QCOMPARE(h.Disk(), Originals());
    QVERIFY(h.LastMessage().startsWith("撤销完毕，共 12 条记录，其中失败 0 条，耗时 "));
    Click(&w, "按钮撤销");
    QCOMPARE(h.LastMessage(),
             "当前不存在支持撤销的记录！（仅支持改名后的当次撤销，撤销后记录清零）");
  }

  // The pane, rule controls reaching the preview, and the token menu reaching 编辑框组合.
  void previewAndTokens() {
    Harness h;
    WriteFile(h.Sounds() + "/x.wav", "x.wav");
    BatchRenameWindow w(h.store, h.renamer, h.undo, h.list, nullptr);
    auto* preview = Child<QTreeWidget>(&w, "列表框预览");
    QCOMPARE(w.height(), 205);
    Click(&w, "按钮预览");
    QCOMPARE(w.height(), 428);
    QCOMPARE(Child(&w, "按钮预览")->text(), "预览↑(&Y)");
    QCOMPARE(preview->topLevelItemCount(), 12);
    QCOMPARE(preview->topLevelItem(11)->text(1), "12.wav");
    Child<QLineEdit>(&w, "编辑框预览数目")->setText("5");
    QCOMPARE(preview->topLevelItemCount(), 5);
    auto* menu = Child<QMenu>(&w, "插入符号");
    Click(&w, "按钮插入符号");
    QVERIFY(menu->isVisible());
    menu->close();
    Child<QTabWidget>(&w, "选择夹")->setCurrentIndex(1);
    Child<QLineEdit>(&w, "编辑框欲替换")->setText("a.wav");
    Child<QLineEdit>(&w, "编辑框替换为")->setText("x.wav");
    const QTreeWidgetItem* taken = preview->topLevelItem(0);
    QCOMPARE(taken->text(1), "x.wav");
    QCOMPARE(taken->foreground(1).color(), QColor(Qt::red));
    QCOMPARE(taken->toolTip(1), FailureText(RenameFailure::kTakenOutside));
    auto* expression = Child<QPlainTextEdit>(&w, "编辑框组合");
    expression->moveCursor(QTextCursor::End);
    QCOMPARE(menu->actions().at(1)->text(), "#主名");
    menu->actions().at(1)->trigger();
    QCOMPARE(expression->toPlainText(), "#主名_#编号.#扩展名#主名");
    QCOMPARE(Child<QLineEdit>(&w, "编辑框替换为")->text(), "x.wav");
    QCOMPARE(h.Disk(), Originals());
    Click(&w, "按钮预览");
    QCOMPARE(w.height(), 205);
  }

  void keepsSettings() {
    Harness h;
    {
      BatchRenameWindow w(h.store, h.renamer, h.undo, h.list, nullptr);
      Child<QTabWidget>(&w, "选择夹")->setCurrentIndex(4);
      Child<QLineEdit>(&w, "编辑框匹配式")->setText("k(\\d)");
      Child<QCheckBox>(&w, "选择框全局匹配")->setChecked(true);
      Child<QRadioButton>(&w, "单选框字母")->setChecked(true);
      Child<QPlainTextEdit>(&w, "编辑框组合")->setPlainText("#主名\n#编号");
      Child<QAction>(&w, "仅修改选定文件")->trigger();
      Click(&w, "按钮预览");
    }
    h.store.SetSection("替换");
    QCOMPARE(h.store.ReadText("匹配式"), "k(\\d)");
    QVERIFY(h.store.ReadBool("全局匹配", false));
    BatchRenameWindow w(h.store, h.renamer, h.undo, h.list, nullptr);
    QCOMPARE(Child<QTabWidget>(&w, "选择夹")->currentIndex(), 4);
    QCOMPARE(Child<QLineEdit>(&w, "编辑框匹配式")->text(), "k(\\d)");
    QVERIFY(Child<QCheckBox>(&w, "选择框全局匹配")->isChecked());
    QVERIFY(!Child<QRadioButton>(&w, "单选框数字")->isChecked());
    QCOMPARE(Child<QPlainTextEdit>(&w, "编辑框组合")->toPlainText(), "#主名\n#编号");
    QVERIFY(Child<QAction>(&w, "仅修改选定文件")->isChecked());
    QVERIFY(!Child(&w, "按钮预览")->isChecked());
    QCOMPARE(w.height(), 205);
  }

  // The closing message belongs to the window whose button asked, whichever window is active.
  void messageOwnedByAskingWindow() {
    Harness h;
    const AskingWindowTracker tracker;
    BatchRenameWindow w(h.store, h.renamer, h.undo, h.list, nullptr);
    QWidget main;
    w.show();
    main.show();
    main.activateWindow();
    QTest::mouseClick(Child(&w, "按钮撤销"), Qt::LeftButton);
    QCOMPARE(h.dialogs->prompts.last().owner, &w);
  }

  void closesOnlyAfterItsRun() {
    Harness h;
    QPointer<BatchRenameWindow> w =
        new BatchRenameWindow(h.store, h.renamer, h.undo, h.list, nullptr);
    PrepareToolWindow(w);
    w->show();
    bool closeClicked = false;
    connect(&LongJobSignals::Instance(), &LongJobSignals::busyChanged, w.data(), [&](bool busy) {
      if (busy && !std::exchange(closeClicked, true)) Click(w, "按钮关闭");
    });
    Click(w, "按钮执行");
    QVERIFY(w && w->isVisible());     // not while its run was on the stack
    QVERIFY(h.Disk() != Numbered());  // stopped early
    QTRY_VERIFY(w.isNull());
    h.renamer.UndoLast();  // whatever the stopped run renamed
    QCOMPARE(h.Disk(), Originals());
  }
};

QTEST_MAIN(TestBatchRenameWindow)
#include "tst_batch_rename_window.moc"

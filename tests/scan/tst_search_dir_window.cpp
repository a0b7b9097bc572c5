// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <utility>

#include "core/StatusTexts.h"
#include "list/SoundList.h"
#include "match/RegexMatcher.h"
#include "platform/Clipboard.h"
#include "platform/ScriptedDialogs.h"
#include "scan/gui/SearchDirWindow.h"
#include "settings/SettingsStore.h"
#include "ui/ToolWindow.h"
#include "ui/TooltipHelper.h"

namespace {

// The objects the window works with, a settings file of its own and scripted dialogs.
struct Harness {
  Harness() {
    store.Open(dir.filePath("Plinkbox.ini"));
    tooltips.Create(true, true);
    previous = InstallDialogs(std::unique_ptr<Dialogs>(dialogs = new ScriptedDialogs));
  }
  ~Harness() { InstallDialogs(std::move(previous)); }

  QTemporaryDir dir;
  SettingsStore store;
  SoundList list;
  StatusTexts status;
  RegexMatcher matcher;
  DirectoryScan scan{list, status, matcher};
  TooltipHelper tooltips;
  ScriptedDialogs* dialogs = nullptr;
  std::unique_ptr<Dialogs> previous;
};

template <typename Control = QPushButton>
Control* Child(QWidget* window, const QString& name) {
  return window->findChild<Control*>(name);
}

void Click(QWidget* window, const QString& name) { Child(window, name)->click(); }

// Each entry as "text:checked".
QStringList Entries(QWidget* window) {
  const auto* list = Child<QListWidget>(window, "列表框目录");
  QStringList entries;
  for (int i = 0; i < list->count(); ++i)
    entries << list->item(i)->text() + (list->item(i)->checkState() == Qt::Checked ? ":1" : ":0");
  return entries;
}

}  // namespace

class TestSearchDirWindow : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  // From no settings file through the list buttons and the token list, to what they leave behind.
  void startsEditsAndKeeps() {
    Harness h;
    {
      SearchDirWindow w(h.store, h.scan, h.tooltips, nullptr);
      const QString home = QDir::homePath();
      const QStringList initial{home + "/CloudCache:0", home + "/声音/短音资源:0"};
      QCOMPARE(Entries(&w), initial);
      QCOMPARE(Child<QComboBox>(&w, "组合框过滤")->currentText(), QStringLiteral("*.wav|*.mid"));
      QCOMPARE(Child<QPlainTextEdit>(&w, "编辑框归类")->toPlainText(), home + "/声音/#扩展名 音频");
      for (const char* name : {"选择框遍历", "选择框过滤", "选择框归类", "选择框拷贝", "选择框改名",
                               "选择框载入列表", "选择框载入前清空"})
        QVERIFY2(Child<QCheckBox>(&w, name)->isChecked(), name);
      QVERIFY(!Child<QCheckBox>(&w, "选择框不提示")->isChecked());
      QVERIFY(Child(&w, "按钮停止")->isHidden());
      h.dialogs->QueueFolder("/b");
      Click(&w, "按钮添加目录");
      SetClipboardText("/clip");
      h.dialogs->QueueInput("/typed/");
      Click(&w, "按钮添加目录框");
      QCOMPARE(h.dialogs->prompts.last().title, QStringLiteral("/clip"));
      QCOMPARE(Entries(&w), (initial + QStringList{"/b:1", "/typed/:0"}));
      auto* list = Child<QListWidget>(&w, "列表框目录");
      list->setCurrentRow(2);
      Click(&w, "按钮下移目录");
      QCOMPARE(Entries(&w), (initial + QStringList{"/typed/:0", "/b:1"}));
      QCOMPARE(list->currentRow(), 3);
      Click(&w, "按钮移除目录");
      QCOMPARE(Entries(&w), (initial + QStringList{"/typed/:0"}));
      QCOMPARE(list->currentRow(), 2);
      Click(&w, "按钮清空目录");  // cancelled
      QCOMPARE(Entries(&w).size(), 3);
      h.dialogs->QueueMessageAnswer(Dialogs::kAnswerOk);
      Click(&w, "按钮清空目录");
      QVERIFY(Entries(&w).isEmpty());

      w.show();
      QVERIFY(QTest::qWaitForWindowActive(&w));
      auto* edit = Child<QPlainTextEdit>(&w, "编辑框归类");
      auto* tokens = Child<QListWidget>(&w, "列表框功能符");
      edit->setPlainText("/a\n/b");
      QTextCursor caret = edit->textCursor();
      caret.setPosition(3);
      edit->setTextCursor(caret);
      QTest::mouseClick(Child(&w, "按钮功能符插入"), Qt::LeftButton);
      QVERIFY(tokens->isVisible());
      const QRect item = tokens->visualItemRect(tokens->findItems("#主名", Qt::MatchExactly)[0]);
      QTest::mouseClick(tokens->viewport(), Qt::LeftButton, {}, item.center());
      QVERIFY(tokens->isHidden());
      Child<QCheckBox>(&w, "选择框不提示")->setChecked(true);
    }
    SearchDirWindow w(h.store, h.scan, h.tooltips, nullptr);
    QVERIFY(Entries(&w).isEmpty());
    QCOMPARE(Child<QPlainTextEdit>(&w, "编辑框归类")->toPlainText(), QStringLiteral("/a\n#主名/b"));
    QVERIFY(Child<QCheckBox>(&w, "选择框不提示")->isChecked());
    Click(&w, "按钮添加目录");  // cancelled, but it opened at the folder last chosen
    QCOMPARE(h.dialogs->prompts.last().title, QStringLiteral("/b"));
  }

  void runs_data() {
    QTest::addColumn<QString>("run");
    QTest::addColumn<QString>("interrupt");  // clicked from within the scan, at its first file
    QTest::addColumn<bool>("closes");
    QTest::newRow("run") << "按钮执行"
                         << "" << false;
    QTest::newRow("run and close") << "按钮执行并关闭"
                                   << "" << true;
    QTest::newRow("closed while running") << "按钮执行"
                                          << "按钮关闭" << true;
    QTest::newRow("stopped run and close") << "按钮执行并关闭"
                                           << "按钮停止" << false;
  }

  void runs() {
    QFETCH(QString, run);
    QFETCH(QString, interrupt);
    QFETCH(bool, closes);
    Harness h;
    for (int i = 0; i < 300; ++i)
      QFile(h.dir.path() + QStringLiteral("/f%1.wav").arg(i)).open(QIODevice::WriteOnly);
    QPointer<SearchDirWindow> w = new SearchDirWindow(h.store, h.scan, h.tooltips, nullptr);
    PrepareToolWindow(w);
    w->show();
    h.dialogs->QueueFolder(h.dir.path());
    Click(w, "按钮添加目录");  // checked; the unchecked home entries stay out of the scan
    Child<QCheckBox>(w, "选择框归类")->setChecked(false);  // the designed target is in $HOME
    bool clickedWhileRunning = false;
    if (!interrupt.isEmpty())
      connect(w.data(), &QWidget::windowTitleChanged, w.data(), [&] {
        if (!std::exchange(clickedWhileRunning, h.scan.Running())) Click(w, interrupt);
      });
    Click(w, run);
    QVERIFY(w);  // not while its scan was on the stack
    QCOMPARE(w->windowTitle() == QStringLiteral("检索目录"), interrupt.isEmpty());
    QCOMPARE(clickedWhileRunning, !interrupt.isEmpty());
    QCOMPARE(h.list.RowCount() == 300, interrupt.isEmpty());
    QVERIFY(h.dialogs->prompts.last().text.startsWith(QStringLiteral("共运行了 ")));
    QCoreApplication::processEvents();
    QCOMPARE(w && w->isVisible(), !closes);
    if (!closes) w->close();
    QTRY_VERIFY(w.isNull());
    h.store.SetSection("目录列表");
    QVERIFY(h.store.ReadText("数据").contains(h.dir.path()));
  }
};

QTEST_MAIN(TestSearchDirWindow)
#include "tst_search_dir_window.moc"

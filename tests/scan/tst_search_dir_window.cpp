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

#include "RecordingSound.h"
#include "core/AppContext.h"
#include "core/CheckStates.h"
#include "core/StatusTexts.h"
#include "list/SoundList.h"
#include "match/RegexMatcher.h"
#include "platform/Clipboard.h"
#include "platform/LongJob.h"
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
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs = scripted.get();
    previous = InstallDialogs(std::move(scripted));
  }
  ~Harness() { InstallDialogs(std::move(previous)); }

  QTemporaryDir dir;
  SettingsStore store;
  SoundList list;
  StatusTexts status;
  RecordingSound sound;
  CheckTable checks;
  AppContext context{list, status, sound, checks, {}, {}, {}};
  RegexMatcher matcher;
  DirectoryScan scan{context, matcher};
  TooltipHelper tooltips;
  ScriptedDialogs* dialogs = nullptr;
  std::unique_ptr<Dialogs> previous;
};

template <typename Control = QPushButton>
Control* Child(QWidget* window, const QString& name) {
  return window->findChild<Control*>(name);
}

void Click(QWidget* window, const QString& name) { Child(window, name)->click(); }

// Each entry as "text:checked:value".
QStringList Entries(QWidget* window) {
  const auto* list = Child<QListWidget>(window, "列表框目录");
  QStringList entries;
  for (int i = 0; i < list->count(); ++i)
    entries << QStringLiteral("%1:%2:%3")
                   .arg(list->item(i)->text())
                   .arg(list->item(i)->checkState() == Qt::Checked ? 1 : 0)
                   .arg(list->item(i)->data(Qt::UserRole).toInt());
  return entries;
}

}  // namespace

class TestSearchDirWindow : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void startsAsDesigned();
  void settingsRoundTrip();
  void listButtons();
  void tokenList();
  void runs_data();
  void runs();
};

void TestSearchDirWindow::startsAsDesigned() {
  Harness h;
  SearchDirWindow w(h.store, h.scan, h.tooltips, nullptr);
  QCOMPARE(w.geometry(), QRect(50, 50, 358, 368));
  const QString home = QDir::homePath();
  QCOMPARE(Entries(&w), (QStringList{home + "/CloudCache:0:0", home + "/声音/短音资源:0:0"}));
  QCOMPARE(Child<QComboBox>(&w, "组合框过滤")->currentText(), QStringLiteral("*.wav|*.mid"));
  QCOMPARE(Child<QPlainTextEdit>(&w, "编辑框归类")->toPlainText(), home + "/声音/#扩展名 音频");
  for (const char* name : {"选择框遍历", "选择框过滤", "选择框归类", "选择框拷贝", "选择框改名",
                           "选择框载入列表", "选择框载入前清空"})
    QVERIFY2(Child<QCheckBox>(&w, name)->isChecked(), name);
  QVERIFY(!Child<QCheckBox>(&w, "选择框不提示")->isChecked());
  QCOMPARE(Child<QWidget>(&w, "列表框目录")->geometry(), QRect(8, 56, 336, 64));
  QCOMPARE(Child<QWidget>(&w, "按钮关闭")->geometry(), QRect(290, 302, 54, 32));
  QVERIFY(Child(&w, "按钮停止")->isHidden());
  QVERIFY(Child<QWidget>(&w, "列表框功能符")->isHidden());
  QCOMPARE(h.tooltips.GetToolCount(), 27);

  const LongJobGuard otherJob;
  QVERIFY(!Child(&w, "按钮执行")->isEnabled());
  QVERIFY(!Child(&w, "按钮执行并关闭")->isEnabled());
}

void TestSearchDirWindow::settingsRoundTrip() {
  Harness h;
  {
    SearchDirWindow w(h.store, h.scan, h.tooltips, nullptr);
    Child<QListWidget>(&w, "列表框目录")->setCurrentRow(0);
    h.dialogs->QueueFolder("/d/new");
    Click(&w, "按钮修改目录");
    QCOMPARE(Entries(&w).first(), QStringLiteral("/d/new:0:0"));
    Child<QListWidget>(&w, "列表框目录")->clear();
    Child<QPlainTextEdit>(&w, "编辑框归类")->setPlainText("/a\n#主名");
    Child<QCheckBox>(&w, "选择框遍历")->setChecked(false);
    Child<QCheckBox>(&w, "选择框不提示")->setChecked(true);
  }
  SearchDirWindow w(h.store, h.scan, h.tooltips, nullptr);
  QVERIFY(Entries(&w).isEmpty());
  QCOMPARE(Child<QPlainTextEdit>(&w, "编辑框归类")->toPlainText(), QStringLiteral("/a\n#主名"));
  QVERIFY(!Child<QCheckBox>(&w, "选择框遍历")->isChecked());
  QVERIFY(Child<QCheckBox>(&w, "选择框不提示")->isChecked());
  Click(&w, "按钮添加目录");  // cancelled, but it opened at the folder last chosen
  QCOMPARE(h.dialogs->prompts.last().title, QStringLiteral("/d/new"));
}

void TestSearchDirWindow::listButtons() {
  Harness h;
  SearchDirWindow w(h.store, h.scan, h.tooltips, nullptr);
  const QStringList initial = Entries(&w);
  h.dialogs->QueueFolder("/b");
  Click(&w, "按钮添加目录");
  SetClipboardText("/clip");
  h.dialogs->QueueInput("/typed/");
  Click(&w, "按钮添加目录框");
  QCOMPARE(h.dialogs->prompts.last().title, QStringLiteral("/clip"));
  QCOMPARE(Entries(&w), (initial + QStringList{"/b:1:0", "/typed/:0:0"}));

  auto* list = Child<QListWidget>(&w, "列表框目录");
  list->item(2)->setData(Qt::UserRole, 7);
  list->setCurrentRow(2);
  Click(&w, "按钮下移目录");
  Click(&w, "按钮下移目录");  // already last
  QCOMPARE(Entries(&w), (initial + QStringList{"/typed/:0:0", "/b:1:7"}));
  QCOMPARE(list->currentRow(), 3);
  Click(&w, "按钮移除目录");
  QCOMPARE(Entries(&w), (initial + QStringList{"/typed/:0:0"}));
  QCOMPARE(list->currentRow(), 2);

  list->item(1)->setCheckState(Qt::Checked);
  const std::pair<const char*, const char*> checks[] = {
      {"按钮反选目录", "101"}, {"按钮全选目录", "111"}, {"按钮去选目录", "000"}};
  for (const auto& [button, states] : checks) {
    Click(&w, button);
    QString seen;
    for (const QString& entry : Entries(&w)) seen += entry.section(':', -2, -2);
    QCOMPARE(seen, QString::fromLatin1(states));
  }
  Click(&w, "按钮清空目录");  // cancelled
  QCOMPARE(Entries(&w).size(), 3);
  h.dialogs->QueueMessageAnswer(Dialogs::kAnswerOk);
  Click(&w, "按钮清空目录");
  QVERIFY(Entries(&w).isEmpty());
}

// Shown and hidden by the button, hidden on losing the focus; a click inserts at the caret.
void TestSearchDirWindow::tokenList() {
  Harness h;
  SearchDirWindow w(h.store, h.scan, h.tooltips, nullptr);
  w.show();
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  auto* edit = Child<QPlainTextEdit>(&w, "编辑框归类");
  auto* tokens = Child<QListWidget>(&w, "列表框功能符");
  auto* button = Child(&w, "按钮功能符插入");
  QTest::mouseClick(button, Qt::LeftButton);
  edit->setFocus();
  QVERIFY(tokens->isHidden());

  const struct {
    QString text;
    int start, end;
    QString token, expected;
  } cases[] = {{"/x/", 3, 3, "#主名", "/x/#主名"}, {"/x/abc/", 3, 6, "#扩展名", "/x/#扩展名/"}};
  for (const auto& c : cases) {
    edit->setPlainText(c.text);
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(c.start);
    cursor.setPosition(c.end, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    for (bool shown : {true, false, true}) {
      QTest::mouseClick(button, Qt::LeftButton);
      QCOMPARE(tokens->isVisible(), shown);
    }
    const QRect item = tokens->visualItemRect(tokens->findItems(c.token, Qt::MatchExactly)[0]);
    QTest::mouseClick(tokens->viewport(), Qt::LeftButton, {}, item.center());
    QCOMPARE(edit->toPlainText(), c.expected);
    QVERIFY(tokens->isHidden());
  }
}

void TestSearchDirWindow::runs_data() {
  QTest::addColumn<QString>("run");
  QTest::addColumn<QString>("interrupt");  // clicked from within the scan, at its first file
  QTest::addColumn<bool>("closes");
  QTest::newRow("run") << "按钮执行" << "" << false;
  QTest::newRow("run and close") << "按钮执行并关闭" << "" << true;
  QTest::newRow("closed while running") << "按钮执行" << "按钮关闭" << true;
  QTest::newRow("stopped run and close") << "按钮执行并关闭" << "按钮停止" << false;
}

void TestSearchDirWindow::runs() {
  QFETCH(QString, run);
  QFETCH(QString, interrupt);
  QFETCH(bool, closes);
  Harness h;
  const QString source = h.dir.filePath("src");
  QDir().mkpath(source);
  const int wavs = 300;
  for (int i = 0; i <= wavs; ++i)
    QFile(source + (i < wavs ? QStringLiteral("/f%1.wav") : QStringLiteral("/f%1.txt")).arg(i))
        .open(QIODevice::WriteOnly);

  QPointer<SearchDirWindow> w = new SearchDirWindow(h.store, h.scan, h.tooltips, nullptr);
  PrepareToolWindow(w);
  w->show();
  Child<QListWidget>(w, "列表框目录")->clear();
  h.dialogs->QueueFolder(source);
  Click(w, "按钮添加目录");
  Child<QCheckBox>(w, "选择框归类")->setChecked(false);  // the designed target is in $HOME
  bool clickedWhileRunning = false;
  if (!interrupt.isEmpty())
    connect(w.data(), &QWidget::windowTitleChanged, w.data(), [&] {
      if (!std::exchange(clickedWhileRunning, h.scan.Running())) Click(w, interrupt);
    });

  Click(w, run);
  QVERIFY(w);  // not while its scan was on the stack
  QCOMPARE(clickedWhileRunning, !interrupt.isEmpty());
  QCOMPARE(h.list.RowCount() == wavs, interrupt.isEmpty());
  QVERIFY(h.dialogs->prompts.last().text.startsWith(QStringLiteral("共运行了 ")));
  QVERIFY(Child(w, "按钮停止")->isHidden());
  if (!closes) {
    QCoreApplication::processEvents();
    QVERIFY(w && w->isVisible());
    w->close();
  }
  QTRY_VERIFY(w.isNull());
  h.store.SetSection("目录列表");
  QVERIFY(h.store.ReadText("数据").startsWith(source));
}

QTEST_MAIN(TestSearchDirWindow)
#include "tst_search_dir_window.moc"

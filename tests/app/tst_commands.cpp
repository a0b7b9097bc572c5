// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The command table at work in the main window: the designed menus, toolbar and keys, what
// each entry runs, and the commands that wait while a job runs.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>

#include "RecordingSound.h"
#include "WindowHarness.h"
#include "app/CommandTable.h"
#include "app/MainToolbar.h"
#include "core/StatusTexts.h"
#include "list/ListFile.h"
#include "list/RowSelection.h"
#include "list/SoundList.h"
#include "platform/LongJob.h"
#include "player/ListKeys.h"
#include "settings/ConfigDir.h"
#include "ui/Artwork.h"

Q_DECLARE_METATYPE(Command)

class CommandsTest : public QObject, public WindowHarness {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() { InitArtwork(); }
  void init() { Start(); }
  void cleanup() { Stop(); }

  void toolbarHasItsEntriesAndSeparatorsDoNothing() {
    RecordingSound sound;
    auto window = OpenWindow(sound);
    QCOMPARE(window->Toolbar()->findChildren<ArrowToolButton*>().size(), 18);
    for (int index : {1, 6, 10, 16, 20}) QVERIFY(window->Toolbar()->Button(index) == nullptr);
    QCOMPARE(window->Toolbar()->Button(3)->toolTip(), QStringLiteral("播放当前选定(空格)"));
    QCOMPARE(window->Toolbar()->Button(22)->text(), QStringLiteral("退出"));
    window->List().AddPaths(MakeSounds({QStringLiteral("a.wav")}), false);
    sound.log.clear();
    for (int index : {1, 6, 10, 16, 20, 23, -1}) window->OnToolbarClick(index);
    for (int index : {5, 7, 8, 9, 11, 13, 15, 18, 19, 21, 22, 1}) window->OnToolbarArrow(index);
    QVERIFY(sound.log.isEmpty());
    QVERIFY(dialogs_->prompts.isEmpty());
    QVERIFY(window->isVisible());
  }

  void toolbarStepsPlayTheRows_data() {
    QTest::addColumn<int>("current");
    QTest::addColumn<bool>("arrow");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("plays");
    QTest::newRow("up") << 2 << false << 2 << "2/4" << 1;
    QTest::newRow("up at the first row") << 0 << false << 2 << "0/4" << 0;
    QTest::newRow("up arrow plays the first") << 2 << true << 2 << "1/4" << 1;
    QTest::newRow("play") << 2 << false << 3 << "3/4" << 1;
    QTest::newRow("down") << 2 << false << 4 << "4/4" << 1;
    QTest::newRow("down at the last row") << 3 << false << 4 << "5/4" << 0;
    QTest::newRow("down arrow plays the last") << 0 << true << 4 << "4/4" << 1;
  }

  void toolbarStepsPlayTheRows() {
    QFETCH(int, current);
    QFETCH(bool, arrow);
    QFETCH(int, index);
    QFETCH(QString, count);
    QFETCH(int, plays);
    RecordingSound sound;
    auto window = OpenWindow(sound);
    const QStringList paths = MakeSounds({QStringLiteral("a.wav"), QStringLiteral("b.wav"),
                                          QStringLiteral("c.wav"), QStringLiteral("d.wav")});
    window->List().AddPaths(paths, false);
    window->MenuItem(QStringLiteral("选择时发音"))->setChecked(false);
    window->List().Selection().SelectOnly(current);
    sound.log.clear();
    if (arrow)
      window->OnToolbarArrow(index);
    else
      window->OnToolbarClick(index);
    QCOMPARE(window->CountPart()->text(), count);
    QCOMPARE(sound.log.filter(QStringLiteral("play:")).size(), plays);
  }

  void stopButtonReportsAndCtrlTDoesNot() {
    RecordingSound sound;
    auto window = OpenWindow(sound);
    window->OnToolbarClick(5);
    QCOMPARE(window->MessagePart()->text(), QStringLiteral("已停止播放"));
    window->App().Status().SetMessage(QStringLiteral("x"));
    QTest::keyClick(window->View(), Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(window->MessagePart()->text(), QStringLiteral("x"));
    QVERIFY(sound.log.contains(QStringLiteral("stop")));
  }

  void keysReachTheirCommands_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("selected");  // selected rows afterwards, e.g. "0,1"
    QTest::addColumn<QString>("count");
    const int ctrl = Qt::ControlModifier;
    const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    // Row 2 of 5 is current and selected before each key.
    QTest::newRow("Ctrl+1 selects all") << int(Qt::Key_1) << ctrl << "0,1,2,3,4"
                                        << "";
    QTest::newRow("Ctrl+2 deselects all") << int(Qt::Key_2) << ctrl << ""
                                          << "";
    QTest::newRow("Ctrl+3 inverts") << int(Qt::Key_3) << ctrl << "0,1,3,4"
                                    << "";
    QTest::newRow("Ctrl+Shift+Up to the top") << int(Qt::Key_Up) << ctrlShift << "0,1,2"
                                              << "";
    QTest::newRow("Ctrl+Shift+Down to the bottom") << int(Qt::Key_Down) << ctrlShift << "2,3,4"
                                                   << "";
    QTest::newRow("Ctrl+Shift+A is swallowed") << int(Qt::Key_A) << ctrlShift << "2"
                                               << "";
    QTest::newRow("Ctrl+Up plays the first") << int(Qt::Key_Up) << ctrl << "0"
                                             << "1/5";
    QTest::newRow("Ctrl+Down plays the last") << int(Qt::Key_Down) << ctrl << "4"
                                              << "5/5";
    QTest::newRow("Space plays the current") << int(Qt::Key_Space) << 0 << "2"
                                             << "3/5";
    QTest::newRow("Shift+Space too") << int(Qt::Key_Space) << int(Qt::ShiftModifier) << "2"
                                     << "3/5";
    QTest::newRow("Down moves and plays") << int(Qt::Key_Down) << 0 << "3"
                                          << "4/5";
    QTest::newRow("Home plays the first row") << int(Qt::Key_Home) << 0 << "0"
                                              << "1/5";
    QTest::newRow("End plays the last row") << int(Qt::Key_End) << 0 << "4"
                                            << "5/5";
    QTest::newRow("Ctrl+Home") << int(Qt::Key_Home) << ctrl << "0"
                               << "1/5";
    QTest::newRow("Ctrl+End") << int(Qt::Key_End) << ctrl << "4"
                              << "5/5";
  }

  void keysReachTheirCommands() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, selected);
    QFETCH(QString, count);
    RecordingSound sound;
    auto window = OpenWindow(sound);
    window->List().AddPaths(
        MakeSounds({QStringLiteral("a.wav"), QStringLiteral("b.wav"), QStringLiteral("c.wav"),
                    QStringLiteral("d.wav"), QStringLiteral("e.wav")}),
        false);
    window->List().Selection().SelectOnly(2);
    window->View()->setCurrentIndex(window->List().index(2, 0));
    window->View()->selectionModel()->select(
        window->List().index(2, 0),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    window->App().Status().SetCount(QString());
    QTest::keyClick(window->View(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QStringList rows;
    for (int row : window->List().Selection().SelectedRows()) rows << QString::number(row);
    QCOMPARE(rows.join(QLatin1Char(',')), selected);
    if (!count.isEmpty()) QCOMPARE(window->CountPart()->text(), count);
  }

  void keysOpenWindowsAndAskQuestions() {
    RecordingSound sound;
    auto window = OpenWindow(sound);
    window->List().AddPaths(MakeSounds({QStringLiteral("a.wav")}), false);
    QTest::keyClick(window->View(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(window->OpenFindWindow() && window->OpenFindWindow()->isVisible());
    QTest::keyClick(window->View(), Qt::Key_F1);
    QVERIFY(window->OpenAboutWindow() && window->OpenAboutWindow()->isVisible());
    // Opened twice: the same window comes to the front.
    QTest::keyClick(window->View(), Qt::Key_J, Qt::ControlModifier);
    QWidget* searchDir = window->OpenSearchDirWindow();
    QVERIFY(searchDir && searchDir->isVisible());
    QTest::keyClick(window->View(), Qt::Key_J, Qt::ControlModifier);
    QCOMPARE(window->OpenSearchDirWindow(), searchDir);
    QTest::keyClick(window->View(), Qt::Key_F2, Qt::ControlModifier);
    QVERIFY(window->OpenBatchRenameWindow() && window->OpenBatchRenameWindow()->isVisible());
    window->List().Selection().SelectOnly(0);
    dialogs_->QueueMessageAnswer(Dialogs::kAnswerCancel);
    QTest::keyClick(window->View(), Qt::Key_Delete);
    QCOMPARE(dialogs_->prompts.last().text, QStringLiteral("确定要删除选定的 1 个文件吗？"));
    QCOMPARE(window->List().RowCount(), 1);
    QTest::keyClick(window->View(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(dialogs_->prompts.last().kind, ScriptedDialogs::Prompt::kOpenFiles);
    QCOMPARE(dialogs_->prompts.last().text, QStringLiteral("选择多个短音文件："));
  }

  void saveListNowConfirms() {
    RecordingSound sound;
    auto window = OpenWindow(sound);
    const QStringList paths = MakeSounds({QStringLiteral("a.wav"), QStringLiteral("b.wav")});
    window->List().AddPaths(paths, false);
    window->RunCommand(Command::kSaveListNow);
    QCOMPARE(dialogs_->prompts.last().text, QStringLiteral("OK!"));
    QCOMPARE(dialogs_->prompts.last().title, QStringLiteral("Tovrik："));
    QCOMPARE(ReadFile(ListFilePath(ConfigDir())), (paths.join(QLatin1Char('\n')) + "\n").toUtf8());
  }

  void listKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<Command>("command");
    QTest::addColumn<bool>("passOn");
    const int cs = kCtrlBit | kShiftBit;
    struct Row {
      const char* name;
      int key;
      int modifiers;
      Command command;
      bool passOn;
    };
    const Row rows[] = {
        {"ctrl+shift+up", Qt::Key_Up, cs, Command::kExtendToTop, false},
        {"ctrl+shift+down", Qt::Key_Down, cs, Command::kExtendToBottom, false},
        {"ctrl+shift+alt+up", Qt::Key_Up, cs | kAltBit, Command::kExtendToTop, false},
        {"ctrl+shift+a swallowed", Qt::Key_A, cs, Command::kNone, false},
        {"ctrl+shift+space swallowed", Qt::Key_Space, cs, Command::kNone, false},
        {"ctrl+o", Qt::Key_O, kCtrlBit, Command::kImport, false},
        {"ctrl+d, as the tooltip says", Qt::Key_D, kCtrlBit, Command::kImport, false},
        {"ctrl+j", Qt::Key_J, kCtrlBit, Command::kOpenSearchDir, false},
        {"ctrl+up", Qt::Key_Up, kCtrlBit, Command::kPlayFirst, false},
        {"ctrl+down", Qt::Key_Down, kCtrlBit, Command::kPlayLast, false},
        {"ctrl+t", Qt::Key_T, kCtrlBit, Command::kStopQuiet, false},
        {"ctrl+1", Qt::Key_1, kCtrlBit, Command::kSelectAll, false},
        {"ctrl+2", Qt::Key_2, kCtrlBit, Command::kSelectNone, false},
        {"ctrl+3", Qt::Key_3, kCtrlBit, Command::kInvertSelection, false},
        {"ctrl+x", Qt::Key_X, kCtrlBit, Command::kMove, false},
        {"ctrl+c", Qt::Key_C, kCtrlBit, Command::kCopy, false},
        {"ctrl+y", Qt::Key_Y, kCtrlBit, Command::kRemoveRows, false},
        {"ctrl+m", Qt::Key_M, kCtrlBit, Command::kCopyNames, false},
        {"ctrl+l", Qt::Key_L, kCtrlBit, Command::kCopyPaths, false},
        {"ctrl+f", Qt::Key_F, kCtrlBit, Command::kOpenFind, false},
        {"ctrl+f2", Qt::Key_F2, kCtrlBit, Command::kOpenBatchRename, false},
        {"space", Qt::Key_Space, 0, Command::kPlayCurrent, false},
        {"shift+space", Qt::Key_Space, kShiftBit, Command::kPlayCurrent, false},
        {"ctrl+alt+space", Qt::Key_Space, kCtrlBit | kAltBit, Command::kPlayCurrent, false},
        {"delete", Qt::Key_Delete, 0, Command::kDelete, false},
        {"f2", Qt::Key_F2, 0, Command::kRenameInPlace, false},
        {"alt+f2", Qt::Key_F2, kAltBit, Command::kRenameInPlace, false},
        {"f3", Qt::Key_F3, 0, Command::kFindNext, false},
        {"f4", Qt::Key_F4, 0, Command::kFindPrevious, false},
        {"return", Qt::Key_Return, 0, Command::kShowInFileManager, false},
        {"keypad enter", Qt::Key_Enter, 0, Command::kShowInFileManager, false},
        {"f1", Qt::Key_F1, 0, Command::kAbout, false},
        // keys without an action reach the list view
        {"up", Qt::Key_Up, 0, Command::kNone, true},
        {"shift+down", Qt::Key_Down, kShiftBit, Command::kNone, true},
        {"home", Qt::Key_Home, 0, Command::kNone, true},
        {"page down", Qt::Key_PageDown, 0, Command::kNone, true},
        {"plain o", Qt::Key_O, 0, Command::kNone, true},
        {"ctrl+a", Qt::Key_A, kCtrlBit, Command::kNone, true},
        {"ctrl+space (only-ctrl group)", Qt::Key_Space, kCtrlBit, Command::kNone, true},
        {"ctrl+delete (only-ctrl group)", Qt::Key_Delete, kCtrlBit, Command::kNone, true},
        {"ctrl+alt+o (not only ctrl)", Qt::Key_O, kCtrlBit | kAltBit, Command::kNone, true},
        {"plain 1", Qt::Key_1, 0, Command::kNone, true},
    };
    for (const Row& r : rows)
      QTest::newRow(r.name) << r.key << r.modifiers << r.command << r.passOn;
  }

  void listKeys() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(Command, command);
    QFETCH(bool, passOn);
    const ListKeyResult result = HandleListKey(ListKeyBindings(), key, modifiers);
    QCOMPARE(result.command, command);
    QCOMPARE(result.passOn, passOn);
  }

  // The designed tables, checked against what the command table builds: each menu's items in
  // order ("-" a separator), each toolbar entry's caption, tooltip and what its click and
  // arrow run. The keys are checked by listKeys.
  void menusAndToolbarAreBuiltAsDesigned() {
    RecordingSound sound;
    auto window = OpenWindow(sound);
    const auto items = [&window](MenuId id) {
      QStringList texts;
      for (const QAction* a : window->Menu(id)->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
      return texts.join(u'|');
    };
    QCOMPARE(items(MenuId::kPlay),
             QStringLiteral("仅播放一次|-|选择时发音|双击时发音|移过时发音|-|定位当前播放条目"));
    QCOMPARE(items(MenuId::kImport),
             QStringLiteral("选择文件...|检索目录...|-|启动时载入上次列表|立即保存当前列表|-|"
                            "列表图标|-|查找...|查找下一个|查找上一个|置当前位置为查找点"));
    QCOMPARE(items(MenuId::kIcons), QStringLiteral("无|-|16x16|32x32|48x48"));
    QCOMPARE(items(MenuId::kMove), QStringLiteral("移动后移除列表|重名时智能改名"));
    QVERIFY(window->MenuItem(QStringLiteral("选择时发音"))->isCheckable());
    QVERIFY(!window->MenuItem(QStringLiteral("查找..."))->isCheckable());

    struct Entry {
      int index;
      const char* caption;
      Command click;
      Command arrow;
    };
    const Entry entries[] = {
        {0, "导入", Command::kImport, Command::kPopupImportMenu},
        {2, "向上", Command::kPlayPrevious, Command::kPlayFirst},
        {3, "播放", Command::kPlayCurrent, Command::kPopupPlayMenu},
        {4, "向下", Command::kPlayNext, Command::kPlayLast},
        {5, "停止", Command::kStop, Command::kNone},
        {7, "全选", Command::kSelectAll, Command::kNone},
        {8, "去选", Command::kSelectNone, Command::kNone},
        {9, "反选", Command::kInvertSelection, Command::kNone},
        {11, "删除", Command::kDelete, Command::kNone},
        {12, "移动", Command::kMove, Command::kPopupMoveMenu},
        {13, "复制", Command::kCopy, Command::kNone},
        {14, "改名", Command::kRenameInPlace, Command::kOpenBatchRename},
        {15, "定位", Command::kShowInFileManager, Command::kNone},
        {17, "移除", Command::kRemoveRows, Command::kRemoveAll},
        {18, "名称", Command::kCopyNames, Command::kNone},
        {19, "路径", Command::kCopyPaths, Command::kNone},
        {21, "关于", Command::kAbout, Command::kNone},
        {22, "退出", Command::kExit, Command::kNone},
    };
    for (const Entry& e : entries) {
      const QByteArray at = QByteArray::number(e.index);
      ArrowToolButton* button = window->Toolbar()->Button(e.index);
      QVERIFY2(button, at);
      QCOMPARE(button->text(), QString::fromUtf8(e.caption));
      QCOMPARE(ToolbarRow(e.index, false)->command, e.click);
      const CommandRow* arrow = ToolbarRow(e.index, true);
      QCOMPARE(arrow ? arrow->command : Command::kNone, e.arrow);
      QCOMPARE(button->ArrowRect().isEmpty(), e.arrow == Command::kNone);
    }
    // The menu took the mouse: the button it was opened from is not left drawn hovered.
    ArrowToolButton* play = window->Toolbar()->Button(3);
    play->setAttribute(Qt::WA_UnderMouse);
    QCursor::setPos(window->mapToGlobal(QPoint(400, 300)));
    window->Menu(MenuId::kPlay)->popup(QPoint(0, 0));
    window->Menu(MenuId::kPlay)->hide();
    QVERIFY(!play->underMouse());
    QCOMPARE(window->Toolbar()->Button(14)->toolTip(),
             QStringLiteral("修改当前文件名称(F2)，点向下三角可批量改名(Ctrl+F2)"));
  }

  // While a job runs, whatever changes rows or files is greyed and refused; playback, stop and
  // the windows stay live; all comes back when the job ends.
  void commandsThatChangeFilesWaitForTheJob() {
    RecordingSound sound;
    auto window = OpenWindow(sound);
    window->List().AddPaths(MakeSounds({QStringLiteral("a.wav"), QStringLiteral("b.wav")}), false);
    window->List().Selection().SelectOnly(0);
    QAction* importItem = window->MenuItem(QStringLiteral("选择文件..."));
    QWidget* deleteButton = window->Toolbar()->Button(11);
    {
      const LongJobGuard job;
      QVERIFY(!importItem->isEnabled());
      QVERIFY(!deleteButton->isEnabled());
      QVERIFY(!window->Toolbar()->Button(17)->isEnabled());
      QVERIFY(window->Toolbar()->Button(3)->isEnabled());
      QVERIFY(window->Toolbar()->Button(5)->isEnabled());
      QVERIFY(window->MenuItem(QStringLiteral("查找..."))->isEnabled());
      QVERIFY(window->MenuItem(QStringLiteral("仅播放一次"))->isEnabled());
      QTest::keyClick(window->View(), Qt::Key_Delete);
      importItem->trigger();
      QVERIFY(dialogs_->prompts.isEmpty());
      sound.log.clear();
      QTest::keyClick(window->View(), Qt::Key_Space);
      QCOMPARE(sound.log.filter(QStringLiteral("play:")).size(), 1);
    }
    QVERIFY(importItem->isEnabled());
    QVERIFY(deleteButton->isEnabled());
    dialogs_->QueueMessageAnswer(Dialogs::kAnswerCancel);
    QTest::keyClick(window->View(), Qt::Key_Delete);
    QCOMPARE(dialogs_->prompts.size(), 1);
  }

  // A name being typed is committed only by the user: Enter (or a click), never by hover or a
  // row the program selects; Esc leaves the file as it was.
  void inPlaceEditEndsOnlyByTheUser_data() {
    QTest::addColumn<int>("endKey");
    QTest::addColumn<QString>("onDisk");
    QTest::newRow("Enter commits") << int(Qt::Key_Return) << "half";
    QTest::newRow("Esc cancels") << int(Qt::Key_Escape) << "a.wav";
  }

  void inPlaceEditEndsOnlyByTheUser() {
    QFETCH(int, endKey);
    QFETCH(QString, onDisk);
    RecordingSound sound;
    auto window = OpenWindow(sound);
    window->List().AddPaths(MakeSounds({"a.wav", "b.wav", "c.wav"}), false);
    window->List().Selection().SelectOnly(0);
    window->RunCommand(Command::kRenameInPlace);
    SoundListView* view = window->View();
    auto* editor = view->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->setText(QStringLiteral("half"));
    MoveTo(view, 1);
    MoveTo(view, 2);
    window->RunCommand(Command::kPlayNext);
    window->RunCommand(Command::kFindNext);
    QVERIFY(view->IsEditing());
    QCOMPARE(QDir(SoundDir()).entryList(QDir::Files), (QStringList{"a.wav", "b.wav", "c.wav"}));
    QTest::keyClick(editor, Qt::Key(endKey));
    QTRY_VERIFY(!view->IsEditing());
    QStringList files{onDisk, "b.wav", "c.wav"};
    files.sort();
    QCOMPARE(QDir(SoundDir()).entryList(QDir::Files), files);
    QCOMPARE(window->List().RowFileName(0), onDisk);
  }

  void closeDuringAJobStopsItThenCloses() {
    RecordingSound sound;
    auto window = OpenWindow(sound);
    QSignalSpy busy(&LongJobSignals::Instance(), &LongJobSignals::busyChanged);
    {
      const LongJobGuard job;
      window->close();
      QVERIFY(window->isVisible());
      QVERIFY(LongJobGuard::StopRequested());
      QVERIFY(!QFile::exists(SettingsFilePath(ConfigDir())));
    }
    QCOMPARE(busy.size(), 2);
    QTRY_VERIFY(!window->isVisible());
    QVERIFY(QFile::exists(SettingsFilePath(ConfigDir())));
  }
};

QTEST_MAIN(CommandsTest)
#include "tst_commands.moc"

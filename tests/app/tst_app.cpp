// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: start-up state and settings, layout, the list's mouse, sorting, find, drops.
#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>

#include "RecordingSound.h"
#include "WindowHarness.h"
#include "app/MainToolbar.h"
#include "core/StatusTexts.h"
#include "find/Finder.h"
#include "list/ListFile.h"
#include "list/RowSelection.h"
#include "list/SoundList.h"
#include "settings/ConfigDir.h"
#include "ui/Artwork.h"

class AppTest : public QObject, public WindowHarness {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() { InitArtwork(); }
  void init() { Start(); }
  void cleanup() { Stop(); }

  void firstStartHasDesignedStateAndCloseWritesEveryKey() {
    RecordingSound sound;
    auto window = OpenWindow(sound);
    for (const char* caption : {"仅播放一次", "选择时发音", "双击时发音", "移过时发音",
                                "启动时载入上次列表", "32x32", "移动后移除列表", "重名时智能改名"})
      QVERIFY2(window->MenuItem(QString::fromUtf8(caption))->isChecked(), caption);
    for (const char* caption : {"无", "16x16", "48x48"})
      QVERIFY2(!window->MenuItem(QString::fromUtf8(caption))->isChecked(), caption);
    QCOMPARE(window->size(), QSize(835, 485));
    QCOMPARE(window->windowTitle(), QStringLiteral("Plinkbox(Qorb) v1.0"));
    // File names in the status bar are text, never markup.
    QCOMPARE(window->MessagePart()->textFormat(), Qt::PlainText);
    QCOMPARE(window->List().RowCount(), 0);
    window->close();

    const QString ini = QString::fromUtf8(ReadFile(SettingsFilePath(ConfigDir())));
    for (const char* text : {"[播放]",
                             "仅播放一次=真",
                             "选择时发音=真",
                             "双击时发音=真",
                             "移过时发音=真",
                             "[导入]",
                             "启动时载入上次列表=真",
                             "上次文件名=",
                             "[列表图标]",
                             "无=假",
                             "16x16=假",
                             "32x32=真",
                             "48x48=假",
                             "[移动选项]",
                             "上次目录=",
                             "移动后移除列表=真",
                             "重名时智能改名=真",
                             "[主窗口尺寸]",
                             "位置=0",
                             "左边=",
                             "顶边=",
                             "宽度=835",
                             "高度=485",
                             "[查找参数]",
                             "欲查找=",
                             "启用正则=假",
                             "模糊匹配=真",
                             "忽略大小写=真",
                             "找到时播放=真",
                             "当前位置=-1"})
      QVERIFY2(ini.contains(QString::fromUtf8(text)), text);
    const QStringList order = {"[播放]",     "[导入]",       "[列表图标]",
                               "[移动选项]", "[主窗口尺寸]", "[查找参数]"};
    int last = -1;
    for (const QString& section : order) {
      const int at = ini.indexOf(section);
      QVERIFY2(at > last, qPrintable(section));
      last = at;
    }
  }

  void settingsAndListSurviveARestart() {
    const QStringList paths =
        MakeSounds({QStringLiteral("a.wav"), QStringLiteral("鼓声.wav"), QStringLiteral("c.wav")});
    RecordingSound sound;
    {
      auto window = OpenWindow(sound);
      window->List().AddPaths(paths, false);
      window->MenuItem(QStringLiteral("移过时发音"))->setChecked(false);
      window->MenuItem(QStringLiteral("重名时智能改名"))->setChecked(false);
      window->ChooseListIcons(QStringLiteral("16x16"));
      window->App().Options().find.text.Set(QStringLiteral("*.mp3"));
      window->App().Options().find.findPoint.Set(2);
      window->App().Options().move.lastDirectory.Set(QStringLiteral("/tmp/目标"));
      window->resize(700, 400);
      window->close();
    }
    QFile::remove(paths[1]);  // a file deleted between runs is skipped on loading
    auto window = OpenWindow(sound);
    QCOMPARE(window->List().RowCount(), 2);
    QCOMPARE(window->List().RowFullPath(0), paths[0]);
    QCOMPARE(window->List().RowFullPath(1), paths[2]);
    QVERIFY(!window->MenuItem(QStringLiteral("移过时发音"))->isChecked());
    QVERIFY(!window->MenuItem(QStringLiteral("重名时智能改名"))->isChecked());
    QVERIFY(window->MenuItem(QStringLiteral("16x16"))->isChecked());
    QVERIFY(!window->MenuItem(QStringLiteral("32x32"))->isChecked());
    QCOMPARE(window->View()->iconSize(), QSize(16, 16));
    QCOMPARE(window->App().Options().find.text.Value(), QStringLiteral("*.mp3"));
    QCOMPARE(window->App().Options().find.findPoint.Value(), 2);
    QCOMPARE(window->App().Options().move.lastDirectory.Value(), QStringLiteral("/tmp/目标"));
    QCOMPARE(window->size(), QSize(700, 400));
    QCOMPARE(window->CountPart()->text(), QStringLiteral("0/2"));
  }

  void unreadableSettingsAreSetAsideAndSaid() {
    // A NUL byte: no INI file a user keeps.
    WriteFile(SettingsFilePath(ConfigDir()), QByteArray("[播放]\n仅播放一次=") + '\0' + "假\n");
    RecordingSound sound;
    auto window = OpenWindow(sound);
    QVERIFY(window->MessagePart()->text().contains(QStringLiteral("Plinkbox.ini.bad")));
    QVERIFY(QFile::exists(SettingsFilePath(ConfigDir()) + QStringLiteral(".bad")));
    QVERIFY(window->MenuItem(QStringLiteral("仅播放一次"))->isChecked());  // the default
  }

  void listNotLoadedOrSavedWhenTheOptionIsOff() {
    const QStringList paths = MakeSounds({QStringLiteral("a.wav")});
    RecordingSound sound;
    {
      auto window = OpenWindow(sound);
      window->List().AddPaths(paths, false);
      window->MenuItem(QStringLiteral("启动时载入上次列表"))->setChecked(false);
      window->close();
    }
    QVERIFY(!QFile::exists(ListFilePath(ConfigDir())));
    auto window = OpenWindow(sound);
    QCOMPARE(window->List().RowCount(), 0);
  }

  // The name cell's tooltip is what the sound output reads of the row's file.
  void nameCellToolTipDescribesTheFile() {
    RecordingSound sound;
    auto window = OpenWindow(sound);
    window->List().AddPaths(MakeSounds({QStringLiteral("a.wav")}), false);
    const QPoint at = window->View()->visualRect(window->List().index(0, 0)).center();
    QHelpEvent help(QEvent::ToolTip, at, window->View()->viewport()->mapToGlobal(at));
    QApplication::sendEvent(window->View()->viewport(), &help);
    QCOMPARE(QToolTip::text(), QStringLiteral("facts of ") + window->List().RowFullPath(0));
  }

  void iconSettingsWithTwoChecksShowTheLargest() {
    WriteFile(SettingsFilePath(ConfigDir()),
              QStringLiteral("[列表图标]\n16x16=真\n32x32=假\n48x48=真\n").toUtf8());
    RecordingSound sound;
    auto window = OpenWindow(sound);
    QCOMPARE(window->View()->iconSize(), QSize(48, 48));
    window->ChooseListIcons(QStringLiteral("16x16"));
    QVERIFY(window->MenuItem(QStringLiteral("16x16"))->isChecked());
    QVERIFY(!window->MenuItem(QStringLiteral("48x48"))->isChecked());
    window->ChooseListIcons(QStringLiteral("无"));
    QCOMPARE(window->View()->iconSize(), QSize(0, 0));
    window->List().AddPaths(MakeSounds({QStringLiteral("a.wav")}), false);
    QVERIFY(!window->List().data(window->List().index(0, 0), Qt::DecorationRole).isValid());
  }

  void layoutKeepsTheListBetweenToolbarAndStatusBar() {
    RecordingSound sound;
    auto window = OpenWindow(sound);
    for (const QSize size : {QSize(900, 600), QSize(500, 300)}) {
      window->resize(size);
      QApplication::processEvents();
      const QRect list = window->View()->geometry();
      QCOMPARE(list.left(), 0);
      QCOMPARE(list.width(), window->width());
      QCOMPARE(list.top(), window->Toolbar()->geometry().bottom() + 1);
      QCOMPARE(list.bottom() + 1, window->findChild<QWidget*>(QStringLiteral("状态条"))->y());
    }
    // The message part shows a whole line, descenders and underscores included, inside the
    // window.
    const QLabel* message = window->MessagePart();
    QVERIFY(message->height() >= message->fontMetrics().height());
    QVERIFY(message->mapTo(window.get(), QPoint(0, message->height())).y() <= window->height());
  }

  void hoverPlaysSelectsAndStops() {
    RecordingSound sound;
    auto window = OpenWindow(sound);
    const QStringList paths = MakeSounds({QStringLiteral("a.wav"), QStringLiteral("b.wav"),
                                          QStringLiteral("c.wav"), QStringLiteral("d.wav")});
    window->List().AddPaths(paths, false);
    SoundListView* view = window->View();
    sound.log.clear();
    MoveTo(view, 0);  // the first report of row 0 is ignored
    QVERIFY(sound.log.isEmpty());
    MoveTo(view, 2);
    QCOMPARE(window->List().Selection().SelectedRows(), std::vector<int>{2});
    QCOMPARE(sound.log.filter(QStringLiteral("play:")),
             QStringList{QStringLiteral("play:%1:0").arg(paths[2])});
    MoveTo(view, 3);
    MoveTo(view, 3);  // movement within the row does nothing
    QCOMPARE(window->List().Selection().SelectedRows(), std::vector<int>{3});
    QCOMPARE(sound.log.filter(QStringLiteral("play:")).size(), 2);
    QCOMPARE(window->CountPart()->text(), QStringLiteral("4/4"));
    QCOMPARE(window->MessagePart()->text(), QStringLiteral("播放 d.wav"));
    sound.log.clear();
    MoveTo(view, -1);  // below the rows: stop, clear, play nothing
    QVERIFY(window->List().Selection().SelectedRows().empty());
    QCOMPARE(sound.log.first(), QStringLiteral("stop"));
    QVERIFY(sound.log.filter(QStringLiteral("play:/")).isEmpty());
  }

  void dragExchangesExactlyTwoRows() {
    RecordingSound sound;
    auto window = OpenWindow(sound);
    QStringList names;
    for (int i = 0; i < 7; ++i) names << QStringLiteral("r%1.wav").arg(i);
    window->List().AddPaths(MakeSounds(names), false);
    window->MenuItem(QStringLiteral("移过时发音"))->setChecked(false);
    SoundListView* view = window->View();
    MoveTo(view, 1);
    SendMouse(view, QEvent::MouseButtonPress, 1, Qt::LeftButton, Qt::LeftButton);
    for (int row : {2, 3, 4, 5}) MoveTo(view, row, Qt::LeftButton);
    QCOMPARE(window->List().Selection().SelectedRows(), (std::vector<int>{1, 5}));
    QCOMPARE(view->viewport()->cursor().shape(), Qt::BitmapCursor);
    SendMouse(view, QEvent::MouseButtonRelease, 5, Qt::LeftButton, Qt::NoButton);
    QStringList after;
    for (int row = 0; row < 7; ++row) after << window->List().RowFileName(row);
    QStringList expected = names;
    expected.swapItemsAt(1, 5);
    QCOMPARE(after, expected);
    QCOMPARE(window->List().RowSize(1), 60);
    QCOMPARE(view->viewport()->cursor().shape(), Qt::ArrowCursor);

    // Released over no row: nothing is exchanged.
    MoveTo(view, 2);
    SendMouse(view, QEvent::MouseButtonPress, 2, Qt::LeftButton, Qt::LeftButton);
    MoveTo(view, -1, Qt::LeftButton);
    SendMouse(view, QEvent::MouseButtonRelease, -1, Qt::LeftButton, Qt::NoButton);
    QStringList unchanged;
    for (int row = 0; row < 7; ++row) unchanged << window->List().RowFileName(row);
    QCOMPARE(unchanged, expected);
  }

  void headerClickSortsAndKeepsTheSelectedFiles() {
    RecordingSound sound;
    auto window = OpenWindow(sound);
    window->List().AddPaths(
        MakeSounds({QStringLiteral("e.wav"), QStringLiteral("b.wav"), QStringLiteral("Zoo.wav"),
                    QStringLiteral("鼓.wav"), QStringLiteral("a.wav")}),
        false);
    window->MenuItem(QStringLiteral("选择时发音"))->setChecked(false);
    for (int row : {0, 2, 4}) window->List().Selection().SelectRow(row);
    sound.log.clear();
    QHeaderView* header = window->View()->horizontalHeader();
    Q_EMIT header->sectionClicked(0);
    QStringList names;
    for (int row = 0; row < 5; ++row) names << window->List().RowFileName(row);
    QCOMPARE(names, (QStringList{"Zoo.wav", "a.wav", "b.wav", "e.wav", "鼓.wav"}));
    QStringList selected;
    for (int row : window->List().Selection().SelectedRows())
      selected << window->List().RowFileName(row);
    QCOMPARE(selected, (QStringList{"Zoo.wav", "a.wav", "e.wav"}));
    QVERIFY(sound.log.filter(QStringLiteral("play:")).isEmpty());
    QCOMPARE(window->View()->Header()->SectionText(0), QStringLiteral("文件名 ∴"));
    QVERIFY(window->MessagePart()->text().startsWith(QStringLiteral("按文本排序完成，")));
    Q_EMIT header->sectionClicked(1);
    QCOMPARE(window->View()->Header()->SectionText(0), QStringLiteral("文件名"));
    QCOMPARE(window->View()->Header()->SectionText(1), QStringLiteral("大小 ∵"));
    QVERIFY(window->MessagePart()->text().startsWith(QStringLiteral("按尺寸排序完成，")));
    QCOMPARE(window->List().RowSize(0), 50);
  }

  void findPlaysOnlyWhenAskedTo_data() {
    QTest::addColumn<int>("command");  // 0 find next, 1 find all
    QTest::addColumn<bool>("playWhenFound");
    QTest::addColumn<int>("plays");
    QTest::newRow("next, play when found") << 0 << true << 1;
    QTest::newRow("next, no play") << 0 << false << 0;
    QTest::newRow("find all") << 1 << true << 0;
  }

  void findPlaysOnlyWhenAskedTo() {
    QFETCH(int, command);
    QFETCH(bool, playWhenFound);
    QFETCH(int, plays);
    RecordingSound sound;
    auto window = OpenWindow(sound);
    window->List().AddPaths(
        MakeSounds({QStringLiteral("a.wav"), QStringLiteral("b.mid"), QStringLiteral("c.wav")}),
        false);
    FindOptions& find = window->App().Options().find;
    find.text.Set(QStringLiteral("*.wav"));
    find.fuzzy.Set(false);
    find.playWhenFound.Set(playWhenFound);
    sound.log.clear();
    if (command == 0) {
      window->RunCommand(Command::kFindNext);
      QCOMPARE(window->List().Selection().SelectedRows(), std::vector<int>{0});
      QCOMPARE(window->CountPart()->text(), QStringLiteral("1/3"));
    } else {
      window->App().GetFinder().FindAll();
      QCOMPARE(window->List().Selection().SelectedRows(), (std::vector<int>{0, 2}));
    }
    QCOMPARE(sound.log.filter(QStringLiteral("play:/")).size(), plays);
  }

  void droppedFilesBecomeRows() {
    RecordingSound sound;
    auto window = OpenWindow(sound);
    const QStringList paths = MakeSounds({QStringLiteral("a.wav")});
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(paths[0]), QUrl::fromLocalFile(SoundDir())});
    // Delivered as the window system delivers it at the end of a drag from a file manager.
    QDragEnterEvent enter(QPoint(50, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject*>(window.get())->event(&enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject*>(window.get())->event(&drop);
    QCOMPARE(window->List().RowCount(), 2);
    QCOMPARE(window->List().RowFileName(0), QStringLiteral("a.wav"));
    QCOMPARE(window->List().RowFileName(1), QStringLiteral("sounds"));
    QCOMPARE(window->CountPart()->text(), QStringLiteral("0/2"));
  }

  void aboutWindowShowsHelpAndClosesOnEscape() {
    RecordingSound sound;
    auto window = OpenWindow(sound);
    window->OnToolbarClick(21);
    QWidget* about = window->OpenAboutWindow();
    QVERIFY(about && about->isVisible());
    QVERIFY(about->windowFlags() & Qt::FramelessWindowHint);
    QWidget* picture = about->findChild<QWidget*>(QStringLiteral("图片框"));
    QVERIFY(picture);
    QTest::mouseClick(picture, Qt::LeftButton);
    const QString help = dialogs_->prompts.last().text;
    QVERIFY(help.contains(QStringLiteral("\nCtrl+Shift+↑　从当前选择到最顶\n")));
    QVERIFY(help.contains(QStringLiteral("\nEnter　定位文件\n")));
    QVERIFY(help.contains(QStringLiteral("\nAlt+F4　退出\n")));
    QTest::keyClick(about, Qt::Key_Escape);
    QTRY_VERIFY(!window->OpenAboutWindow());
  }
};

QTEST_MAIN(AppTest)
#include "tst_app.moc"

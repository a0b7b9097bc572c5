#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "TestFiles.h"
#include "RecordingSound.h"
#include "app/Application.h"
#include "app/CommandTable.h"
#include "app/ListView.h"
#include "app/MainWindow.h"
#include "app/Toolbar.h"
#include "core/StatusTexts.h"
#include "find/Finder.h"
#include "list/ListFile.h"
#include "list/SoundList.h"
#include "platform/LongJob.h"
#include "platform/ScriptedDialogs.h"
#include "player/ListKeys.h"
#include "settings/ConfigDir.h"
#include "ui/Artwork.h"

Q_DECLARE_METATYPE(Command)

namespace {

// The program's sound output, handing every request to a recorder that the test keeps.
class ForwardingSound : public SoundOutput {
 public:
  explicit ForwardingSound(SoundOutput& to) : to_(to) {}
  bool PlayWaveOrMidi(const QString& path, bool loop) override {
    return to_.PlayWaveOrMidi(path, loop);
  }
  bool PlayMp3(const QString& path, int count) override { return to_.PlayMp3(path, count); }
  void Stop() override { to_.Stop(); }

 private:
  SoundOutput& to_;
};

// A mouse event sent straight to the list's viewport.
void SendMouse(SoundListView* view, QEvent::Type type, int row, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  QWidget* viewport = view->viewport();
  const int y = row < 0 ? viewport->height() - 2 : view->rowViewportPosition(row) + 2;
  const QPointF pos(20, y);
  QMouseEvent event(type, pos, viewport->mapToGlobal(pos), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(viewport, &event);
}

void MoveTo(SoundListView* view, int row, Qt::MouseButtons buttons = Qt::NoButton) {
  SendMouse(view, QEvent::MouseMove, row, Qt::NoButton, buttons);
}

}  // namespace

class AppTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> temp_;
  ScriptedDialogs* dialogs_ = nullptr;
  QString ConfigDir() const { return temp_->filePath(QStringLiteral("config")); }
  QString SoundDir() const { return temp_->filePath(QStringLiteral("sounds")); }

  // Names n0.wav ... written as small files whose sizes differ.
  QStringList MakeSounds(const QStringList& names) {
    QStringList paths;
    for (int i = 0; i < names.size(); ++i) {
      const QString path = SoundDir() + QLatin1Char('/') + names[i];
      WriteFile(path, QByteArray(10 * (i + 1), 'x'));
      paths << path;
    }
    return paths;
  }

  // A start of the program: new program-wide objects and a main window on them. The objects
  // live until the next start or the end of the test, after the window.
  std::unique_ptr<MainWindow> OpenWindow(SoundOutput& sound) {
    app_ = std::make_unique<Application>(ConfigDir(), std::make_unique<ForwardingSound>(sound));
    auto window = std::make_unique<MainWindow>(*app_);
    window->show();
    return window;
  }
  std::unique_ptr<Application> app_;

 private Q_SLOTS:
  void initTestCase() { InitArtwork(); }

  void init() {
    temp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(temp_->isValid());
    QVERIFY(QDir().mkpath(ConfigDir()));
    QVERIFY(QDir().mkpath(SoundDir()));
    auto dialogs = std::make_unique<ScriptedDialogs>();
    dialogs_ = dialogs.get();
    InstallDialogs(std::move(dialogs));
  }

  void cleanup() { app_.reset(); }

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
    QCOMPARE(window->List().RowCount(), 0);
    window->close();

    const QString ini = QString::fromUtf8(ReadFile(SettingsFilePath(ConfigDir())));
    for (const char* text :
         {"[播放]", "仅播放一次=真", "选择时发音=真", "双击时发音=真", "移过时发音=真", "[导入]",
          "启动时载入上次列表=真", "上次文件名=", "[列表图标]", "无=假", "16x16=假", "32x32=真",
          "48x48=假", "[移动选项]", "上次目录=", "移动后移除列表=真", "重名时智能改名=真",
          "[主窗口尺寸]", "位置=0", "左边=", "顶边=", "宽度=835", "高度=485", "[查找参数]",
          "欲查找=", "启用正则=假", "模糊匹配=真", "忽略大小写=真", "找到时播放=真",
          "当前位置=-1"})
      QVERIFY2(ini.contains(QString::fromUtf8(text)), text);
    const QStringList order = {"[播放]", "[导入]", "[列表图标]", "[移动选项]", "[主窗口尺寸]",
                               "[查找参数]"};
    int last = -1;
    for (const QString& section : order) {
      const int at = ini.indexOf(section);
      QVERIFY2(at > last, qPrintable(section));
      last = at;
    }
  }

  void settingsAndListSurviveARestart() {
    const QStringList paths = MakeSounds({QStringLiteral("a.wav"), QStringLiteral("鼓声.wav"),
                                          QStringLiteral("c.wav")});
    RecordingSound sound;
    {
      auto window = OpenWindow(sound);
      window->List().AddPaths(paths, false);
      window->MenuItem(QStringLiteral("移过时发音"))->setChecked(false);
      window->MenuItem(QStringLiteral("重名时智能改名"))->setChecked(false);
      window->ChooseListIcons(QStringLiteral("16x16"));
      window->App().Find().text = QStringLiteral("*.mp3");
      window->App().Find().findPoint = 2;
      window->Context().lastTargetDirectory = QStringLiteral("/tmp/目标");
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
    QCOMPARE(window->App().Find().text, QStringLiteral("*.mp3"));
    QCOMPARE(window->App().Find().findPoint, 2);
    QCOMPARE(window->Context().lastTargetDirectory, QStringLiteral("/tmp/目标"));
    QCOMPARE(window->size(), QSize(700, 400));
    QCOMPARE(window->CountPart()->text(), QStringLiteral("0/2"));
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
  }

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
    QCOMPARE(sound.log.filter(QStringLiteral("wave:")).size(), plays);
  }

  void stopButtonReportsAndCtrlTDoesNot() {
    RecordingSound sound;
    auto window = OpenWindow(sound);
    window->OnToolbarClick(5);
    QCOMPARE(window->MessagePart()->text(), QStringLiteral("已停止播放"));
    window->Context().status.SetMessage(QStringLiteral("x"));
    QTest::keyClick(window->View(), Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(window->MessagePart()->text(), QStringLiteral("x"));
    QVERIFY(sound.log.contains(QStringLiteral("stop")));
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
    QCOMPARE(sound.log.filter(QStringLiteral("wave:")),
             QStringList{QStringLiteral("wave:%1:0").arg(paths[2])});
    MoveTo(view, 3);
    MoveTo(view, 3);  // movement within the row does nothing
    QCOMPARE(window->List().Selection().SelectedRows(), std::vector<int>{3});
    QCOMPARE(sound.log.filter(QStringLiteral("wave:")).size(), 2);
    QCOMPARE(window->CountPart()->text(), QStringLiteral("4/4"));
    QCOMPARE(window->MessagePart()->text(), QStringLiteral("播放 d.wav"));
    sound.log.clear();
    MoveTo(view, -1);  // below the rows: stop, clear, play nothing
    QVERIFY(window->List().Selection().SelectedRows().empty());
    QCOMPARE(sound.log.first(), QStringLiteral("stop"));
    QVERIFY(sound.log.filter(QStringLiteral("wave:/")).isEmpty());
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

  void keysReachTheirCommands_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("selected");  // selected rows afterwards, e.g. "0,1"
    QTest::addColumn<QString>("count");
    const int ctrl = Qt::ControlModifier;
    const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    // Row 2 of 5 is current and selected before each key.
    QTest::newRow("Ctrl+1 selects all") << int(Qt::Key_1) << ctrl << "0,1,2,3,4" << "";
    QTest::newRow("Ctrl+2 deselects all") << int(Qt::Key_2) << ctrl << "" << "";
    QTest::newRow("Ctrl+3 inverts") << int(Qt::Key_3) << ctrl << "0,1,3,4" << "";
    QTest::newRow("Ctrl+Shift+Up to the top") << int(Qt::Key_Up) << ctrlShift << "0,1,2" << "";
    QTest::newRow("Ctrl+Shift+Down to the bottom") << int(Qt::Key_Down) << ctrlShift << "2,3,4"
                                                   << "";
    QTest::newRow("Ctrl+Shift+A is swallowed") << int(Qt::Key_A) << ctrlShift << "2" << "";
    QTest::newRow("Ctrl+Up plays the first") << int(Qt::Key_Up) << ctrl << "0" << "1/5";
    QTest::newRow("Ctrl+Down plays the last") << int(Qt::Key_Down) << ctrl << "4" << "5/5";
    QTest::newRow("Space plays the current") << int(Qt::Key_Space) << 0 << "2" << "3/5";
    QTest::newRow("Shift+Space too") << int(Qt::Key_Space) << int(Qt::ShiftModifier) << "2"
                                     << "3/5";
    QTest::newRow("Down moves and plays") << int(Qt::Key_Down) << 0 << "3" << "4/5";
  }

  void keysReachTheirCommands() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, selected);
    QFETCH(QString, count);
    RecordingSound sound;
    auto window = OpenWindow(sound);
    window->List().AddPaths(MakeSounds({QStringLiteral("a.wav"), QStringLiteral("b.wav"),
                                        QStringLiteral("c.wav"), QStringLiteral("d.wav"),
                                        QStringLiteral("e.wav")}),
                            false);
    window->List().Selection().SelectOnly(2);
    window->View()->setCurrentIndex(window->List().index(2, 0));
    window->View()->selectionModel()->select(window->List().index(2, 0),
                                            QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
    window->Context().status.SetCount(QString());
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
    window->List().Selection().SelectOnly(0);
    dialogs_->QueueMessageAnswer(Dialogs::kAnswerCancel);
    QTest::keyClick(window->View(), Qt::Key_Delete);
    QCOMPARE(dialogs_->prompts.last().text, QStringLiteral("确定要删除选定的 1 个文件吗？"));
    QCOMPARE(window->List().RowCount(), 1);
    QTest::keyClick(window->View(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(dialogs_->prompts.last().kind, ScriptedDialogs::Prompt::kOpenFiles);
    QCOMPARE(dialogs_->prompts.last().text, QStringLiteral("选择多个短音文件："));
  }

  void headerClickSortsAndKeepsTheSelectedFiles() {
    RecordingSound sound;
    auto window = OpenWindow(sound);
    window->List().AddPaths(MakeSounds({QStringLiteral("e.wav"), QStringLiteral("b.wav"),
                                        QStringLiteral("Zoo.wav"), QStringLiteral("鼓.wav"),
                                        QStringLiteral("a.wav")}),
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
    QVERIFY(sound.log.filter(QStringLiteral("wave:")).isEmpty());
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
    window->List().AddPaths(MakeSounds({QStringLiteral("a.wav"), QStringLiteral("b.mid"),
                                        QStringLiteral("c.wav")}),
                            false);
    FindParameters& find = window->App().Find();
    find.text = QStringLiteral("*.wav");
    find.fuzzy = false;
    find.playWhenFound = playWhenFound;
    sound.log.clear();
    if (command == 0) {
      window->RunCommand(Command::kFindNext);
      QCOMPARE(window->List().Selection().SelectedRows(), std::vector<int>{0});
      QCOMPARE(window->CountPart()->text(), QStringLiteral("1/3"));
    } else {
      window->App().GetFinder().FindAll();
      QCOMPARE(window->List().Selection().SelectedRows(), (std::vector<int>{0, 2}));
    }
    QCOMPARE(sound.log.filter(QStringLiteral("wave:/")).size(), plays);
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
      QCOMPARE(sound.log.filter(QStringLiteral("wave:")).size(), 1);
    }
    QVERIFY(importItem->isEnabled());
    QVERIFY(deleteButton->isEnabled());
    dialogs_->QueueMessageAnswer(Dialogs::kAnswerCancel);
    QTest::keyClick(window->View(), Qt::Key_Delete);
    QCOMPARE(dialogs_->prompts.size(), 1);
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

QTEST_MAIN(AppTest)
#include "tst_app.moc"

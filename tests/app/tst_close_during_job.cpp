// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Closing the window while a long job runs: the job ends at its next item, then the window
// closes and writes the settings and the list file whole.
#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <utility>

#include "RecordingSound.h"
#include "WindowHarness.h"
#include "core/StatusTexts.h"
#include "list/ListFile.h"
#include "list/RowSelection.h"
#include "list/SoundList.h"
#include "platform/LongJob.h"
#include "settings/ConfigDir.h"
#include "settings/SettingsStore.h"
#include "ui/Artwork.h"

namespace {

constexpr int kFiles = 300;

QStringList Paths(SoundList& list) {
  QStringList paths;
  for (int row = 0; row < list.RowCount(); ++row) paths << list.RowFullPath(row);
  return paths;
}

}  // namespace

class CloseDuringJobTest : public QObject, public WindowHarness {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() { InitArtwork(); }
  void init() { Start(); }
  void cleanup() { Stop(); }

  void closeEndsTheJobAndKeepsBothFilesWhole_data() {
    QTest::addColumn<bool>("scan");
    QTest::newRow("copy of every row") << false;
    QTest::newRow("scan into the list") << true;
  }

  void closeEndsTheJobAndKeepsBothFilesWhole() {
    QFETCH(bool, scan);
    RecordingSound sound;
    auto window = OpenWindow(sound);
    QStringList names;
    for (int i = 0; i < kFiles; ++i) names << QStringLiteral("声%1.wav").arg(i);
    const QStringList files = MakeSounds(names);
    window->MenuItem(QStringLiteral("移过时发音"))->setChecked(false);
    SoundList& list = window->List();
    // Closed from within the job, as a close box or a signal reaches it in its event round.
    bool closed = false;
    const auto closeOnce = [&] {
      if (!std::exchange(closed, true)) window->close();
    };
    const QString target = temp_->filePath(QStringLiteral("target"));
    QVERIFY(QDir().mkpath(target));
    if (scan) {
      window->ShowSearchDirWindow();
      QWidget* search = window->OpenSearchDirWindow();
      dialogs_->QueueFolder(SoundDir());
      search->findChild<QPushButton*>(QStringLiteral("按钮添加目录"))->click();
      search->findChild<QCheckBox*>(QStringLiteral("选择框归类"))->setChecked(false);
      connect(search, &QWidget::windowTitleChanged, search, closeOnce);
      search->findChild<QPushButton*>(QStringLiteral("按钮执行"))->click();
      QVERIFY(list.RowCount() < kFiles);
    } else {
      list.AddPaths(files, false);
      list.Selection().ChangeSelection(1);
      dialogs_->QueueFolder(target);
      connect(&window->App().Status(), &StatusTexts::messageChanged, window.get(), closeOnce);
      window->RunCommand(Command::kCopy);
      QVERIFY(QDir(target).entryList(QDir::Files).size() < kFiles);
    }
    QVERIFY(closed);
    QTRY_VERIFY(!window->isVisible());
    QVERIFY(!LongJobGuard::Busy());
    // Nobody may be there to read the job's closing message: none waited for an answer.
    for (const ScriptedDialogs::Prompt& prompt : dialogs_->prompts)
      QCOMPARE(prompt.kind, ScriptedDialogs::Prompt::kFolder);

    SoundList saved;
    LoadListFile(saved, ListFilePath(ConfigDir()), false);
    QCOMPARE(Paths(saved), Paths(list));
    SettingsStore settings;
    settings.Open(SettingsFilePath(ConfigDir()));
    QVERIFY(settings.TakeRecoveryNotice().isEmpty());
    settings.SetSection(QStringLiteral("播放"));
    QCOMPARE(settings.ReadBool(QStringLiteral("移过时发音"), true), false);
    settings.SetSection(QStringLiteral("主窗口尺寸"));
    QCOMPARE(settings.ReadNumber(QStringLiteral("宽度"), 0), 835.0);
  }
};

QTEST_MAIN(CloseDuringJobTest)
#include "tst_close_during_job.moc"

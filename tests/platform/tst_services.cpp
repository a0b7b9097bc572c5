// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The platform services other than files: dialogs, event pumping and long jobs, clipboard and
// the file manager.
#include <QApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "TestFiles.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/FileManager.h"
#include "platform/Files.h"
#include "platform/LongJob.h"
#include "platform/NativePath.h"
#include "platform/ScriptedDialogs.h"
#include "platform/gui/QtDialogs.h"

// Stands in for the desktop's file manager on a private session bus.
class FakeFileManager : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

 public Q_SLOTS:
  void ShowItems(const QStringList& uris, const QString& startupId) {
    shown << uris;
    startupIds << startupId;
  }

 public:
  QStringList shown;
  QStringList startupIds;
};

class TestServices : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
  }
  void cleanup() { dir_.reset(); }

  void scriptedDialogs();
  void fallbackDialogsCancel();
  void qtNameFilters_data();
  void qtNameFilters();
  void browseForFolder_data();
  void browseForFolder();

  void pumpWaitsTwentyMilliseconds();
  void longJobGuard();
  void longJob();
  void clipboard();
  void fileManager();

 private:
  QString Path(const QString& name) const { return dir_->path() + QLatin1Char('/') + name; }
  std::unique_ptr<QTemporaryDir> dir_;
};

void TestServices::browseForFolder_data() {
  QTest::addColumn<QString>("answer");  // "@" stands for the temporary directory
  QTest::addColumn<QString>("prompt");
  QTest::addColumn<QString>("expected");
  QTest::addColumn<QString>("shown");
  const QString fallback = QStringLiteral("请选择一个文件夹");
  QTest::newRow("cancelled") << ""
                             << ""
                             << "" << fallback;
  QTest::newRow("trimmed") << "  /no/such/dir \t"
                           << "选择目录..."
                           << "/no/such/dir"
                           << "选择目录...";
  QTest::newRow("a directory ending in a blank") << "@/blank "
                                                 << ""
                                                 << "@/blank " << fallback;
}

void TestServices::browseForFolder() {
  QFETCH(QString, answer);
  QFETCH(QString, prompt);
  QFETCH(QString, expected);
  QVERIFY(Files::CreateDirectory(Path(QStringLiteral("blank "))));
  auto owned = std::make_unique<ScriptedDialogs>();
  ScriptedDialogs* dialogs = owned.get();
  std::unique_ptr<Dialogs> previous = InstallDialogs(std::move(owned));
  dialogs->QueueFolder(answer.replace(u'@', dir_->path()));
  QCOMPARE(BrowseForFolder("/start", prompt), expected.replace(u'@', dir_->path()));
  QTEST(dialogs->prompts.value(0).text, "shown");
  QCOMPARE(dialogs->prompts.value(0).title, QStringLiteral("/start"));
  InstallDialogs(std::move(previous));
}

void TestServices::scriptedDialogs() {
  ScriptedDialogs d;
  d.QueueMessageAnswer(Dialogs::kAnswerOk);
  QCOMPARE(d.Message(QStringLiteral("删除？"), Dialogs::kOkCancel, QString()), 0);
  QCOMPARE(d.Message(QStringLiteral("再删？"), Dialogs::kOkCancel, QStringLiteral("标题")), 1);
  QCOMPARE(d.Message(QStringLiteral("OK!"), Dialogs::kOk, QString()), 0);
  d.QueueFolder(QStringLiteral("/music"));
  QCOMPARE(d.ChooseFolder(QStringLiteral("/start"), QStringLiteral("选择目录...")),
           QStringLiteral("/music"));
  QCOMPARE(d.ChooseFolder(QStringLiteral("/start"), QStringLiteral("选择目录...")), QString());
  d.QueueOpenFiles({QStringLiteral("/a.wav"), QStringLiteral("/b.wav")});
  QCOMPARE(
      d.ChooseOpenFiles(QStringLiteral("打开"), QStringLiteral("声音|*.wav;*.mid|所有文件|*.*"),
                        QStringLiteral("/x.wav"))
          .size(),
      2);
  bool ok = true;
  QCOMPARE(d.InputText(QStringLiteral("目录"), QStringLiteral("初始"), &ok), QString());
  QVERIFY(!ok);
  d.QueueInput(QString());
  d.InputText(QStringLiteral("目录"), QString(), &ok);
  QVERIFY(ok);  // an empty answer is still an answer

  QCOMPARE(d.prompts.size(), 8);
  QCOMPARE(d.prompts[0].title, DefaultMessageTitle());
  QCOMPARE(d.prompts[0].buttons, int(Dialogs::kOkCancel));
  QCOMPARE(d.prompts[1].title, QStringLiteral("标题"));
  QCOMPARE(d.prompts[3].kind, ScriptedDialogs::Prompt::kFolder);
  QCOMPARE(d.prompts[3].text, QStringLiteral("选择目录..."));
  QCOMPARE(d.prompts[3].title, QStringLiteral("/start"));
  QCOMPARE(d.prompts[5].buttons, 2);
  QCOMPARE(d.prompts[5].title, QStringLiteral("/x.wav"));
  QCOMPARE(d.prompts[6].title, QStringLiteral("初始"));
}

void TestServices::fallbackDialogsCancel() {
  std::unique_ptr<Dialogs> previous = InstallDialogs(nullptr);
  QCOMPARE(CurrentDialogs().Message(QStringLiteral("?"), Dialogs::kOkCancel, QString()), 1);
  QCOMPARE(CurrentDialogs().ChooseFolder(QString(), QString()), QString());

  auto scripted = std::make_unique<ScriptedDialogs>();
  ScriptedDialogs* raw = scripted.get();
  raw->QueueMessageAnswer(0);
  QVERIFY(!InstallDialogs(std::move(scripted)));
  QCOMPARE(CurrentDialogs().Message(QStringLiteral("?"), Dialogs::kOkCancel, QString()), 0);
  QCOMPARE(raw->prompts.size(), 1);
  QCOMPARE(InstallDialogs(std::move(previous)).get(), raw);
}

void TestServices::qtNameFilters_data() {
  QTest::addColumn<QString>("filter");
  QTest::addColumn<QStringList>("expected");
  QTest::newRow("two") << QStringLiteral("Wav波形|*.wav;*.mid|所有文件|*.*")
                       << QStringList{QStringLiteral("Wav波形 (*.wav *.mid)"),
                                      QStringLiteral("所有文件 (*)")};
  QTest::newRow("one") << QStringLiteral("MP3|*.mp3") << QStringList{QStringLiteral("MP3 (*.mp3)")};
  QTest::newRow("name only") << QStringLiteral("全部") << QStringList{QStringLiteral("全部 (*)")};
  QTest::newRow("blanks") << QStringLiteral("声音| *.wav ; ;*.mp3|")
                          << QStringList{QStringLiteral("声音 (*.wav *.mp3)")};
  QTest::newRow("empty") << QString() << QStringList{};
}

void TestServices::qtNameFilters() {
  QFETCH(QString, filter);
  QFETCH(QStringList, expected);
  QCOMPARE(QtNameFilters(filter), expected);
}

void TestServices::pumpWaitsTwentyMilliseconds() {
  // Each attempt needs the posted event to stay queued for less than 20 ms of wall time; on a
  // badly loaded machine that can fail, so a few attempts are allowed.
  for (int attempt = 0; attempt < 5; ++attempt) {
    int delivered = 0;
    PumpEventsNow();
    QElapsedTimer sinceNow;
    sinceNow.start();
    QMetaObject::invokeMethod(
        this, [&delivered] { ++delivered; }, Qt::QueuedConnection);
    PumpEvents();
    const bool early = sinceNow.elapsed() < 20;
    if (early) QCOMPARE(delivered, 0);
    // Work, not sleep, past the interval and one tick of the pump's coarse clock (4 or 10 ms).
    while (sinceNow.elapsed() < 31) {
    }
    PumpEvents();
    QCOMPARE(delivered, 1);
    if (early) return;
  }
  QSKIP("machine too loaded to see the 20 ms gate");
}

void TestServices::longJobGuard() {
  QVERIFY(!LongJobGuard::Busy());
  LongJobGuard::RequestStop();  // no job: nothing to stop, and the next job must not see it
  {
    LongJobGuard job;
    QVERIFY(job.Acquired());
    QVERIFY(LongJobGuard::Busy());
    QVERIFY(!LongJobGuard::StopRequested());
    bool nestedAcquired = true;
    QMetaObject::invokeMethod(
        this,
        [&nestedAcquired] {
          LongJobGuard nested;
          nestedAcquired = nested.Acquired();
          LongJobGuard::RequestStop();
        },
        Qt::QueuedConnection);
    PumpEventsNow();
    QVERIFY(!nestedAcquired);
    QVERIFY(LongJobGuard::Busy());  // the nested guard did not end the job
    QVERIFY(LongJobGuard::StopRequested());
  }
  QVERIFY(!LongJobGuard::Busy());
  QVERIFY(!LongJobGuard::StopRequested());
  LongJobGuard next;
  QVERIFY(next.Acquired());
  QVERIFY(!LongJobGuard::StopRequested());
}

// The shape every long job takes: refused inside another job, the busy state announced at
// start and end, a stop request seen by the loop, the elapsed time for the closing message.
void TestServices::longJob() {
  QSignalSpy busy(&LongJobSignals::Instance(), &LongJobSignals::busyChanged);
  {
    LongJob job;
    QVERIFY(job.Acquired());
    QCOMPARE(busy.size(), 1);
    QCOMPARE(busy[0][0].toBool(), true);
    LongJob inner;
    QVERIFY(!inner.Acquired());
    QVERIFY(job.Continue());
    LongJobGuard::RequestStop();
    QVERIFY(!job.Continue());
    QVERIFY(job.Stopped());
    QVERIFY(job.ElapsedMs() >= 0);
    QVERIFY(job.ElapsedText().endsWith(QStringLiteral(" 毫秒")));
  }
  QCOMPARE(busy.size(), 2);  // the refused inner job announced nothing
  QCOMPARE(busy[1][0].toBool(), false);
  QVERIFY(!LongJobGuard::StopRequested());
}

void TestServices::clipboard() {
  const QString text = QStringLiteral("a.wav\r\n声音.wav\r\nc.wav");
  SetClipboardText(text);
  QCOMPARE(ClipboardText(), text);
}

void TestServices::fileManager() {
  const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
  if (daemon.isEmpty()) QSKIP("dbus-daemon is not installed");

  // xdg-open stand-in: records its arguments, one per line.
  const QString record = Path(QStringLiteral("xdg-open.args"));
  const QString fake = Path(QStringLiteral("xdg-open"));
  QVERIFY(
      WriteNative(ToNativePath(fake), "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n", 0755));
  const QByteArray oldPath = qgetenv("PATH");
  qputenv("PATH", ToNativePath(dir_->path()) + ':' + oldPath);

  const QString socket = Path(QStringLiteral("bus"));
  const QString config = Path(QStringLiteral("bus.conf"));
  QVERIFY(WriteNative(
      ToNativePath(config),
      QByteArray("<busconfig><type>session</type><listen>unix:path=") + ToNativePath(socket) +
          "</listen><auth>EXTERNAL</auth><policy context=\"default\"><allow user=\"*\"/>"
          "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/><allow own=\"*\"/>"
          "</policy></busconfig>"));
  QProcess bus;
  bus.start(daemon, {QStringLiteral("--nofork"), QStringLiteral("--config-file=") + config});
  QVERIFY(bus.waitForStarted());
  QTRY_VERIFY(Files::Exists(socket));
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + ToNativePath(socket));
  // The session bus is connected once per process, at its first use here.
  if (!QDBusConnection::sessionBus().isConnected()) QSKIP("the session bus was taken earlier");

  // No file manager on the bus: its directory is opened, as one argument, never by a shell.
  QVERIFY(Files::CreateDirectory(Path(QStringLiteral("$(touch x); -d"))));
  const QString odd = Path(QStringLiteral("$(touch x); -d/it's.wav"));
  QVERIFY(WriteNative(ToNativePath(odd), "x"));
  QVERIFY(ShowInFileManager(odd));
  QTRY_COMPARE(ReadNative(ToNativePath(record)),
               ToNativePath(Path(QStringLiteral("$(touch x); -d"))) + '\n');
  QVERIFY(!Files::Exists(QStringLiteral("x")));

  // A directory that is not UTF-8 goes as a file URL with its bytes.
  QVERIFY(Files::Delete(record));
  QVERIFY(OpenWithDesktop(FromNativePath(ToNativePath(dir_->path()) + "/\xff dir")));
  QTRY_COMPARE(ReadNative(ToNativePath(record)),
               "file://" + ToNativePath(dir_->path()) + "/%FF%20dir\n");

  FakeFileManager manager;
  QDBusConnection session = QDBusConnection::sessionBus();
  QVERIFY(session.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager,
                                 QDBusConnection::ExportAllSlots));
  QVERIFY(session.registerService(QStringLiteral("org.freedesktop.FileManager1")));
  QVERIFY(Files::Delete(record));
  QVERIFY(ShowInFileManager(odd));
  QTRY_COMPARE(manager.shown.size(), 1);
  QCOMPARE(manager.shown.first(), QStringLiteral("file://") + ToNativePath(dir_->path()) +
                                      QStringLiteral("/%24%28touch%20x%29%3B%20-d/it%27s.wav"));
  QCOMPARE(manager.startupIds, QStringList{QString()});
  QVERIFY(!Files::Exists(record));

  session.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
  qputenv("PATH", oldPath);
  bus.terminate();
  bus.waitForFinished();
}

QTEST_MAIN(TestServices)
#include "tst_services.moc"

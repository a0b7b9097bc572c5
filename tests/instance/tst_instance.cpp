// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/prctl.h>
#include <unistd.h>

#include <QDBusConnectionInterface>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <csignal>

#include "ListContext.h"
#include "TestFiles.h"
#include "app/CommandLine.h"
#include "app/HandOverReceiver.h"
#include "fileops/FileOperations.h"
#include "platform/LongJob.h"
#include "platform/NativePath.h"
#include "platform/SettingsLock.h"
#include "platform/SingleInstance.h"
#include "settings/ConfigDir.h"

// Each case runs on a private bus of its own daemon, never on the desktop's.
class InstanceTest : public QObject {
  Q_OBJECT
  QProcess daemon_;
  QString address_;

  QDBusConnection Connect(const QString& name) {
    return QDBusConnection::connectToBus(address_, name);
  }

 private Q_SLOTS:
  void initTestCase();
  void cleanupTestCase();
  void commandLine_data();
  void commandLine();
  void handOverAddsFilesOnceNoJobRuns();
  void claimDependsOnSettingsAndBus();
  void secondStartHandsOverAndEnds();
  void settingsLock_data();
  void settingsLock();
};

void InstanceTest::initTestCase() {
  const QString program = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
  if (program.isEmpty()) QSKIP("no dbus-daemon to start a private bus");
  // The daemon ends with the test, even one that crashes.
  daemon_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
  daemon_.start(program, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                          QStringLiteral("--print-address")});
  QTRY_VERIFY(daemon_.canReadLine() || daemon_.state() == QProcess::NotRunning);
  address_ = QString::fromUtf8(daemon_.readLine().trimmed());
  QVERIFY2(!address_.isEmpty(), "dbus-daemon gave no address");
}

void InstanceTest::cleanupTestCase() {
  daemon_.terminate();
  daemon_.waitForFinished();
}

void InstanceTest::commandLine_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QString>("result");  // "help", "version", "error" or the files
  const QString latin1 = FromNativePath("caf\xe9.wav");
  QTest::newRow("files against the working directory")
      << QStringList{"a.wav", "/abs/b.mid", "sub/../c.mp3", "d/"}
      << "/w/a.wav|/abs/b.mid|/w/c.mp3|/w/d";
  QTest::newRow("not UTF-8") << QStringList{latin1} << "/w/" + latin1;
  QTest::newRow("option value is no file")
      << QStringList{"--config-dir", "/c", "x.wav"} << "/w/x.wav";
  QTest::newRow("after --") << QStringList{"--", "--help"} << "/w/--help";
  QTest::newRow("help") << QStringList{"-h"} << "help";
  QTest::newRow("help with Qt options") << QStringList{"--help-all"} << "help";
  QTest::newRow("help among unknown options") << QStringList{"-platform", "x", "--help"} << "help";
  QTest::newRow("version") << QStringList{"--version"} << "version";
  QTest::newRow("unknown option") << QStringList{"--nope"} << "error";
  QTest::newRow("missing value") << QStringList{"--config-dir"} << "error";
}

void InstanceTest::commandLine() {
  QFETCH(QStringList, arguments);
  QFETCH(QString, result);
  const CommandLine parsed = ParseCommandLine(QStringList{"plinkbox"} + arguments, "/w");
  const QString got = parsed.help               ? "help"
                      : parsed.version          ? "version"
                      : !parsed.error.isEmpty() ? "error"
                                                : parsed.files.join(u'|');
  QCOMPARE(ToNativePath(got), ToNativePath(result));
  QVERIFY(parsed.helpText.startsWith("Usage: plinkbox [options] [FILE...]"));
}

void InstanceTest::handOverAddsFilesOnceNoJobRuns() {
  ListContext list;
  FileOperations fileOps(list.list, list.status, list.options.move);
  QWidget window;
  SingleInstance first("/settings/one", Connect("first"));
  QCOMPARE(first.ClaimName(), SingleInstance::Claim::kOwner);
  new HandOverReceiver(first, fileOps, window);

  SingleInstance second("/settings/one", Connect("second"));
  QCOMPARE(second.ClaimName(), SingleInstance::Claim::kTaken);
  const QString latin1 = FromNativePath("/s/caf\xe9.wav");
  QVERIFY(second.HandOver({"/s/a.wav", latin1}));
  QCOMPARE(list.list.RowCount(), 2);
  QCOMPARE(ToNativePath(list.list.RowFullPath(1)), QByteArray("/s/caf\xe9.wav"));

  QVERIFY(second.HandOver({}));  // only asks for the window
  {
    LongJobGuard job;  // a running job would refuse the rows: they wait for its end
    QVERIFY(second.HandOver({"/s/b.mid"}));
    QCOMPARE(list.list.RowCount(), 2);
  }
  QTRY_COMPARE(list.list.RowCount(), 3);
  QCOMPARE(list.list.RowFullPath(2), QString("/s/b.mid"));
}

void InstanceTest::claimDependsOnSettingsAndBus() {
  SingleInstance one("/settings/a", Connect("a"));
  SingleInstance other("/settings/b", Connect("b"));
  QCOMPARE(one.ClaimName(), SingleInstance::Claim::kOwner);
  QCOMPARE(other.ClaimName(), SingleInstance::Claim::kOwner);
  QVERIFY(!SingleInstance("/settings/c", Connect("c")).HandOver({}));  // nobody runs there

  SingleInstance noBus("/settings/a", QDBusConnection(QStringLiteral("not connected")));
  QCOMPARE(noBus.ClaimName(), SingleInstance::Claim::kNoBus);
  QVERIFY(!noBus.HandOver({}));
}

void InstanceTest::secondStartHandsOverAndEnds() {
  QTemporaryDir config, work;
  WriteFile(work.filePath("x.wav"), "RIFF");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("DBUS_SESSION_BUS_ADDRESS", address_);
  QProcess first, second;
  for (QProcess* start : {&first, &second}) {
    start->setProcessEnvironment(env);
    start->setWorkingDirectory(work.path());
  }
  first.start(PLINKBOX_BINARY, {"--config-dir", config.path()});
  const QDBusConnection bus = Connect("watch");
  QTRY_VERIFY_WITH_TIMEOUT(
      bus.interface()->isServiceRegistered(SingleInstance::ServiceName(config.path())), 30000);

  second.start(PLINKBOX_BINARY, {"--config-dir", config.path(), "x.wav"});
  QVERIFY(second.waitForFinished(30000));
  QCOMPARE(second.exitCode(), 0);
  QCOMPARE(first.state(), QProcess::Running);
  first.terminate();  // closes as the close box does: the list file is written
  QVERIFY(first.waitForFinished(30000));
  QVERIFY(ReadFile(ListFilePath(config.path())).contains(work.filePath("x.wav").toUtf8()));
}

void InstanceTest::settingsLock_data() {
  QTest::addColumn<QString>("before");
  QTest::addColumn<SettingsLock::Result>("result");
  QTest::newRow("held by a running process") << "held" << SettingsLock::Result::kHeld;
  QTest::newRow("left by a process that has gone") << "stale" << SettingsLock::Result::kLocked;
  QTest::newRow("read-only directory") << "read-only" << SettingsLock::Result::kUnwritable;
}

void InstanceTest::settingsLock() {
  QFETCH(QString, before);
  QFETCH(SettingsLock::Result, result);
  QTemporaryDir config;
  const QString path = config.filePath("Plinkbox.lock");
  QLockFile running(path);
  if (before == "held") QVERIFY(running.tryLock());
  if (before == "stale") {
    QProcess gone;  // its process id names no process once it has ended
    gone.start("sh", {"-c", "echo $$"});
    QVERIFY(gone.waitForFinished());
    WriteFile(path, gone.readAllStandardOutput() + "plinkbox\n" +
                        QSysInfo::machineHostName().toUtf8() + "\n");
  }
  if (before == "read-only") {
    if (::geteuid() == 0) QSKIP("root writes into read-only directories");
    QVERIFY(QFile::setPermissions(config.path(), QFile::ReadOwner | QFile::ExeOwner));
  }
  SettingsLock lock(config.path());
  QCOMPARE(lock.Take(), result);
  const QByteArray owner = ReadFile(path).split('\n').value(0);
  // Held: the holder's own; stale: taken over by this process.
  if (before == "read-only")
    QVERIFY(!QFile::exists(path));
  else
    QCOMPARE(owner, QByteArray::number(QCoreApplication::applicationPid()));
  QFile::setPermissions(config.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QTEST_MAIN(InstanceTest)
#include "tst_instance.moc"

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>
#include <csignal>

#include "platform/QuitSignals.h"
#include "platform/SdlSound.h"

class TestSignals : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void signalsReachTheEventLoop();
};

void TestSignals::signalsReachTheEventLoop() {
  const sighandler_t hangUp = std::signal(SIGHUP, SIG_IGN);  // as under nohup
  int closes = 0;
  {
    QuitSignals quit;
    QVERIFY(quit.Installed());
    // Opened as the program opens it: SDL would take SIGTERM and SIGINT with handlers of its own.
    SdlSound sound;
    QVERIFY(sound.Open());

    QCOMPARE(std::raise(SIGTERM), 0);
    QCoreApplication::processEvents();
    quit.SetCloseHandler([&closes] { ++closes; });
    QCOMPARE(closes, 0);  // never from within the handler; it waited for one
    QTRY_COMPARE(closes, 1);
    QCOMPARE(std::raise(SIGHUP), 0);  // stays ignored
    // A taken signal is no repeat: the next one is a request of its own, not the end.
    for (const int signal : {SIGINT, SIGTERM}) {
      const int earlier = closes;
      QCOMPARE(std::raise(signal), 0);
      QTRY_COMPARE(closes, earlier + 1);
    }
  }
  QVERIFY(std::signal(SIGHUP, hangUp) == SIG_IGN);
}

QTEST_GUILESS_MAIN(TestSignals)
#include "tst_signals.moc"

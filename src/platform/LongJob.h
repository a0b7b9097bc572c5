// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <QString>

// At most one long job at a time. A command that changes rows or files constructs a guard and
// does nothing when Acquired() is false (another job is running and this call came from within
// its event processing). Stop and close requests reach the running job through StopRequested().
class LongJobGuard {
 public:
  LongJobGuard();
  ~LongJobGuard();
  LongJobGuard(const LongJobGuard&) = delete;
  LongJobGuard& operator=(const LongJobGuard&) = delete;

  bool Acquired() const { return acquired_; }
  static bool Busy();
  // Asks the running job to end at its next item; cleared when the job ends.
  static void RequestStop();
  static bool StopRequested();

 private:
  bool acquired_ = false;
};

// Tells the windows when a job starts and ends, so they grey the commands that would be
// refused meanwhile and close once a job they asked to stop has ended.
class LongJobSignals : public QObject {
  Q_OBJECT
 public:
  static LongJobSignals& Instance();

 Q_SIGNALS:
  void busyChanged(bool busy);
};

// The shape of every long job: the guard, the start tick, events pumped between items, the
// stop request honoured, and the elapsed time for the closing message.
//
//   LongJob job;
//   if (!job.Acquired()) return;
//   for (...) { work; if (!job.Continue()) break; }
//   status.SetMessage("... 耗时 " + job.ElapsedText());
class LongJob {
 public:
  LongJob();
  bool Acquired() const { return guard_.Acquired(); }
  // Processes pending events (at most every 20 ms); false once a stop has been requested.
  bool Continue();
  bool Stopped() const { return LongJobGuard::StopRequested(); }
  qint64 ElapsedMs() const;
  QString ElapsedText() const;

 private:
  LongJobGuard guard_;
  qint64 start_;
};

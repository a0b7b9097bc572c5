#pragma once

// Long jobs run on the GUI thread. PumpEvents processes pending events at most every 20 ms of
// work, so the window stays alive and 100k items cost no more than the work itself.
void PumpEvents();
// Processes pending events now, whatever the time since the last call.
void PumpEventsNow();

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

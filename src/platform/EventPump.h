// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Long jobs run on the GUI thread. PumpEvents processes pending events at most every 20 ms of
// work, so the window stays alive and 100k items cost no more than the work itself.
void PumpEvents();
// True when the next PumpEvents will process events.
bool PumpDue();
// Processes pending events now, whatever the time since the last call.
void PumpEventsNow();
// The next PumpEvents waits a whole interval from now (a job starting counts from its start).
void RestartPumpInterval();

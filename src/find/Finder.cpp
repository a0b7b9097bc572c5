// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "find/Finder.h"

#include <vector>

#include "core/StatusTexts.h"
#include "list/SoundList.h"
#include "match/RegexMatcher.h"
#include "platform/Dialogs.h"
#include "platform/LongJob.h"
#include "platform/NativePath.h"
#include "player/Player.h"
#include "settings/MainOptions.h"

namespace {

// A matcher prepared with the options as they stand now.
void PrepareMatcher(RegexMatcher& matcher, const FindOptions& find) {
  matcher.Prepare(find.text.Value(), find.ignoreCase.Value(), find.fuzzy.Value(), QString(),
                  find.regex.Value());
}

// A name is found by the text it shows, so a GBK name matches through its characters.
bool Matches(RegexMatcher& matcher, const QString& name) { return matcher.Test(DisplayName(name)); }

// The find point moved one step and clamped into [0, last]; -1 for an empty list. Computed in
// 64 bits because a find point read from the settings may be any 32-bit value.
int ClampedStart(int findPoint, int step, int rowCount) {
  qint64 start = static_cast<qint64>(findPoint) + step;
  if (start < 0) start = 0;
  if (start > rowCount - 1) start = rowCount - 1;
  return static_cast<int>(start);
}

}  // namespace

bool Finder::FindStep(bool upward) {
  // Rows must not be removed under the loop by a command started from its event processing.
  LongJob job;
  if (!job.Acquired()) return false;

  Option<int>& findPoint = options_.findPoint;
  upward_ = upward;
  const QString text = options_.text.Value();
  RegexMatcher matcher;
  PrepareMatcher(matcher, options_);

  const int step = upward ? -1 : 1;
  bool wrapped = false;
  int givenUp = 0;  // in the last pass, which covers the whole list
  for (;;) {
    findPoint.Set(ClampedStart(findPoint.Value(), step, list_.RowCount()));
    givenUp = 0;
    for (int row = findPoint.Value(); row >= 0 && row < list_.RowCount(); row += step) {
      if (Matches(matcher, list_.RowFileName(row))) {
        {
          // Playing is the find's own choice, not the play-on-selection trigger's.
          const RowSelection::Quiet quiet(list_.Selection());
          list_.Selection().SelectOnly(row);
        }
        findPoint.Set(row);
        if (options_.playWhenFound.Value()) {
          player_.PlayRow(row, true);
        } else {
          UpdateCountPart(status_, list_.Selection());
        }
        return true;
      }
      givenUp += matcher.GaveUp();
      if (!job.Continue()) return false;
    }
    if (wrapped) break;
    wrapped = true;
    findPoint.Set(upward ? list_.RowCount() : -1);
  }
  ShowMessage(text + QStringLiteral(" 完全找不到！") + GivenUpNote(givenUp));
  return false;
}

void Finder::FindAll() {
  LongJob job;
  if (!job.Acquired()) return;

  {
    // Find all selects without playing anything.
    const RowSelection::Quiet quiet(list_.Selection());
    list_.Selection().SelectOnly(-1);
  }
  RegexMatcher matcher;
  PrepareMatcher(matcher, options_);

  // Selected at the end in one selection change, not one per match.
  std::vector<int> matches;
  int givenUp = 0;
  for (int row = 0; row < list_.RowCount(); ++row) {
    if (Matches(matcher, list_.RowFileName(row))) matches.push_back(row);
    givenUp += matcher.GaveUp();
    if (!job.Continue()) break;
  }
  // Nothing is said of a find all, unless names were given up.
  if (givenUp > 0) status_.SetMessage(QStringLiteral("查找全部") + GivenUpNote(givenUp));
  {
    const RowSelection::Quiet quiet(list_.Selection());
    list_.Selection().SelectRows(matches);
  }
  UpdateCountPart(status_, list_.Selection());
}

void Finder::SetFindPoint(bool report) {
  options_.findPoint.Set(list_.Selection().CurrentRow());
  if (report) status_.SetMessage(QStringLiteral("已设置当前位置为查找点！"));
}

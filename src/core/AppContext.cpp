// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/AppContext.h"

#include "core/StatusTexts.h"
#include "list/SoundList.h"

void UpdateCountPart(AppContext& context) {
  const RowSelection& selection = context.list.Selection();
  context.status.SetCount(selection.CountText(selection.CurrentRow()));
}

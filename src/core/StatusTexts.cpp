// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/StatusTexts.h"

#include "list/RowSelection.h"

void StatusTexts::SetCount(const QString& text) {
  count_ = text;
  Q_EMIT countChanged(text);
}

void StatusTexts::SetMessage(const QString& text) {
  message_ = text;
  Q_EMIT messageChanged(text);
}

void UpdateCountPart(StatusTexts& status, const RowSelection& selection) {
  status.SetCount(selection.CountText(selection.CurrentRow()));
}

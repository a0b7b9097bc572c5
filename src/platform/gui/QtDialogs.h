// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>

#include "platform/Dialogs.h"

// The dialogs of the running program: QMessageBox, QFileDialog and QInputDialog, each
// application-modal over the active window.
class QtDialogs : public Dialogs {
 public:
  int Message(const QString& text, int buttons, const QString& title) override;
  QString ChooseFolder(const QString& initial, const QString& prompt) override;
  QStringList ChooseOpenFiles(const QString& title, const QString& filter,
                              const QString& initialFile) override;
  QString InputText(const QString& prompt, const QString& initial, bool* ok) override;
};

// "Wav波形|*.wav;*.mid|所有文件|*.*" as Qt name filters: {"Wav波形 (*.wav *.mid)",
// "所有文件 (*)"}. "*.*" becomes "*", which also matches names without a dot.
QStringList QtNameFilters(const QString& filter);

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HandOverReceiver.h"

#include <QWidget>
#include <utility>

#include "fileops/FileOperations.h"
#include "platform/LongJob.h"
#include "platform/SingleInstance.h"

HandOverReceiver::HandOverReceiver(SingleInstance& instance, FileOperations& fileOps,
                                   QWidget& window)
    : QObject(&window), instance_(instance), fileOps_(fileOps), window_(window) {
  connect(&instance, &SingleInstance::handedOver, this, [this] {
    raise_ = true;
    Deliver();
  });
  // Queued: the next job starts from the event loop, not from within the end of the last one.
  connect(
      &LongJobSignals::Instance(), &LongJobSignals::busyChanged, this,
      [this](bool busy) {
        if (!busy) Deliver();
      },
      Qt::QueuedConnection);
  // Files may have come while the window was being built.
  Deliver();
}

void HandOverReceiver::Deliver() {
  if (LongJobGuard::Busy()) return;  // the job's end delivers them
  const QStringList files = instance_.TakeFiles();
  if (!files.isEmpty()) fileOps_.AddDroppedFiles(files);
  if (!std::exchange(raise_, false) || !window_.isVisible()) return;
  window_.setWindowState((window_.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  window_.raise();
  window_.activateWindow();
}

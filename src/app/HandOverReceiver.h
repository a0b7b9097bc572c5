// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>

class FileOperations;
class SingleInstance;
class QWidget;

// The window's side of the hand-over from a later start: its files are added as dropped ones
// (once a running long job has ended, which would refuse them) and the window comes to the front.
class HandOverReceiver : public QObject {
  Q_OBJECT
 public:
  // A child of the window; the instance outlives it.
  HandOverReceiver(SingleInstance& instance, FileOperations& fileOps, QWidget& window);

 private:
  void Deliver();

  SingleInstance& instance_;
  FileOperations& fileOps_;
  QWidget& window_;
  bool raise_ = false;
};

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>

#include "E2eHarness.h"

// Every command of the main window and its tool windows, run as a user runs it on a tree of
// hostile files: before and after each, the inventory of the tree shows that only what the
// command was meant to change has changed, and the rows and messages are the designed ones.
class E2eSuite : public QObject, public E2eHarness {
  Q_OBJECT
 private Q_SLOTS:
  void initTestCase();
  void cleanupTestCase() { HostileTree::RemoveStock(Stock()); }
  void cleanup() { CloseTree(); }

  // The file commands of the main window's table (E2eFileCommands.cpp).
  void fileCommands_data();
  void fileCommands();
  // The same for an ordinary user, on read-only files and directories.
  void readOnly_data();
  void readOnly();
  // The in-place rename: F2, typing, Enter (E2eFileCommands.cpp).
  void renameInPlace_data();
  void renameInPlace();

  // The rest of the main window and the tool windows (E2eTools.cpp).
  void locate();
  void listFileAndClipboard();
  void importAndDrop();
  void play_data();
  void play();
  void find_data();
  void find();
  void scan_data();
  void scan();
  void batchRename_data();
  void batchRename();

 private:
  // One file command, its answers and a fault injected meanwhile, checked against the
  // expected changes of disk and rows and the message.
  void RunFileCommandCase(int index, bool readOnly);
};

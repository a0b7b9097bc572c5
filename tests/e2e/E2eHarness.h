// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The end-to-end world: the real main window over a hostile tree, dialogs answered by a script
// that may act as another process, a watchdog against hangs, and a file manager stand-in.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "HostileTree.h"
#include "Inventory.h"
#include "RecordingSound.h"
#include "WindowHarness.h"
#include "platform/NativePath.h"

// Ends the whole program when one command takes longer than its bound: a hang may sit inside a
// system call, where no timer of the event loop would ever fire.
class Watchdog {
 public:
  Watchdog();
  ~Watchdog();
  void Arm(const QString& what, int seconds);
  void Disarm();

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  QByteArray what_;
  int seconds_ = 0;
  quint64 generation_ = 0;
  bool quit_ = false;
  std::thread thread_;
};

// Scripted dialogs that first run a hook (another process at work while a question is open).
class HookedDialogs : public ScriptedDialogs {
 public:
  int Message(const QString& text, int buttons, const QString& title) override;
  QString ChooseFolder(const QString& initial, const QString& prompt) override;
  QString InputText(const QString& prompt, const QString& initial, bool* ok) override;
  std::function<void()> onPrompt;

 private:
  void Fire();
};

// Base of the suite: init() builds a tree and a window with one row per hostile entry.
class E2eHarness : public WindowHarness {
 protected:
  static constexpr int kCommandSeconds = 20;

  void OpenOnTree(bool withReadOnly);
  void CloseTree();
  // Runs one command under the watchdog.
  void Guarded(const QString& what, const std::function<void()>& command);
  // Where the deep chain waits between cases.
  QString Stock() const { return tools_.path(); }
  QString RootPath() const { return temp_->filePath(QStringLiteral("tree")); }
  Inventory Snapshot() const { return TakeInventory(RootPath()); }
  // The rows as paths relative to the tree's root.
  QStringList Rows() const;
  QString Rel(const QString& tag) const { return FromNativePath(tree_->Rel(tag)); }
  // Changes in tags: "-t", "t>dst", "t+dst", "t=text" become the inventory's changes; "t>dst"
  // for rows moves the row. Other text passes unchanged.
  QStringList TagChanges(const QStringList& changes) const;
  QStringList ExpectedRows(const QStringList& changes) const;
  void SelectTags(const QStringList& tags);
  QString Status() const;
  QString LastPrompt() const;
  // The file manager's stand-in records its arguments, one per line, in this file.
  QString FileManagerLog() const { return tools_.filePath(QStringLiteral("xdg-open.log")); }
  void InstallFileManagerStandIn();

  RecordingSound sound_;
  HookedDialogs* hooked_ = nullptr;
  std::unique_ptr<HostileTree> tree_;
  std::unique_ptr<MainWindow> window_;
  QStringList initialRows_;
  Watchdog watchdog_;
  QTemporaryDir tools_;  // the file manager's stand-in, for the whole run
};

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "E2eHarness.h"

#include <sys/stat.h>

#include <QAction>
#include <QDir>
#include <QLabel>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "list/SoundList.h"
#include "platform/Files.h"
#include "platform/NativePath.h"

Watchdog::Watchdog() {
  thread_ = std::thread([this] {
    std::unique_lock lock(mutex_);
    while (!quit_) {
      if (seconds_ == 0) {
        changed_.wait(lock);
        continue;
      }
      const quint64 armed = generation_;
      if (changed_.wait_for(lock, std::chrono::seconds(seconds_),
                            [&] { return quit_ || generation_ != armed; }))
        continue;
      std::fprintf(stderr, "FAIL! hang: %s took over %d s\n", what_.constData(), seconds_);
      std::fflush(stderr);
      std::abort();
    }
  });
}

Watchdog::~Watchdog() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void Watchdog::Arm(const QString& what, int seconds) {
  {
    std::lock_guard lock(mutex_);
    what_ = what.toUtf8();
    seconds_ = seconds;
    ++generation_;
  }
  changed_.notify_all();
}

void Watchdog::Disarm() { Arm(QString(), 0); }

void HookedDialogs::Fire() {
  // Once: the other process acts while the first question is open.
  if (auto hook = std::exchange(onPrompt, nullptr)) hook();
}

int HookedDialogs::Message(const QString& text, int buttons, const QString& title) {
  Fire();
  return ScriptedDialogs::Message(text, buttons, title);
}

QString HookedDialogs::ChooseFolder(const QString& initial, const QString& prompt) {
  Fire();
  return ScriptedDialogs::ChooseFolder(initial, prompt);
}

QString HookedDialogs::InputText(const QString& prompt, const QString& initial, bool* ok) {
  Fire();
  return ScriptedDialogs::InputText(prompt, initial, ok);
}

void E2eHarness::OpenOnTree(bool withReadOnly) {
  Start();
  auto hooked = std::make_unique<HookedDialogs>();
  hooked_ = hooked.get();
  dialogs_ = hooked_;
  InstallDialogs(std::move(hooked));
  QVERIFY(QDir().mkpath(RootPath()));
  // A name run through a shell would create "pwned" here, in the inventory's sight.
  QVERIFY(QDir::setCurrent(RootPath()));
  tree_ = std::make_unique<HostileTree>(RootPath(), withReadOnly, Stock());
  if (QTest::currentTestFailed()) return;
  window_ = OpenWindow(sound_);
  // Selecting rows would play them; these cases are about files, the play cases turn it on.
  window_->MenuItem(QStringLiteral("选择时发音"))->setChecked(false);
  for (const HostileEntry& e : tree_->Entries()) {
    const QString path = tree_->Path(e.tag);
    const qsizetype slash = path.lastIndexOf(u'/');
    window_->List().AddRow(path.mid(slash + 1), path.left(slash));
  }
  initialRows_ = Rows();
}

void E2eHarness::CloseTree() {
  Files::SetMoveSeam({}, false);
  hooked_->onPrompt = nullptr;
  window_.reset();
  Stop();
  QDir::setCurrent(QDir::tempPath());
  tree_.reset();
}

void E2eHarness::Guarded(const QString& what, const std::function<void()>& command) {
  watchdog_.Arm(what, kCommandSeconds);
  command();
  watchdog_.Disarm();
}

QStringList E2eHarness::Rows() const {
  QStringList rows;
  const SoundList& list = window_->List();
  for (int r = 0; r < list.RowCount(); ++r) rows << list.RowFullPath(r).mid(RootPath().size() + 1);
  return rows;
}

QStringList E2eHarness::TagChanges(const QStringList& changes) const {
  QStringList out;
  const QStringList tags = tree_->Tags();
  for (const QString& change : changes) {
    const qsizetype at = ChangeOperator(change);
    const bool gone = change.startsWith(u'-');
    const QString tag = gone ? change.mid(1) : change.left(at);
    if (!tags.contains(tag)) {
      out << change;
      continue;
    }
    if (gone) {
      out << u'-' + Rel(tag);
    } else {
      const QString rest = change.mid(at + 1);
      const QString to = change[at] == u'=' ? rest : rest + u'/' + tree_->FileName(tag);
      out << Rel(tag) + change[at] + to;
    }
  }
  return out;
}

QStringList E2eHarness::ExpectedRows(const QStringList& changes) const {
  QStringList rows = initialRows_;
  for (const QString& change : TagChanges(changes)) {
    if (change.startsWith(u'-')) {
      rows.removeAll(change.mid(1));
    } else if (const qsizetype at = change.indexOf(u'>'); at > 0) {
      rows.replace(rows.indexOf(change.left(at)), change.mid(at + 1));
    }
  }
  return rows;
}

void E2eHarness::SelectTags(const QStringList& tags) {
  for (const QString& tag : tags)
    window_->List().Selection().SelectRow(int(initialRows_.indexOf(Rel(tag))));
}

QString E2eHarness::Status() const { return window_->MessagePart()->text(); }

QString E2eHarness::LastPrompt() const {
  return dialogs_->prompts.isEmpty() ? QString() : dialogs_->prompts.last().text;
}

void E2eHarness::InstallFileManagerStandIn() {
  const QString bin = tools_.filePath(QStringLiteral("bin"));
  QVERIFY(QDir().mkpath(bin));
  const QString script = bin + QStringLiteral("/xdg-open");
  WriteFile(script, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >> '" +
                        FileManagerLog().toUtf8() + "'\n");
  QVERIFY(::chmod(ToNativePath(script).constData(), 0755) == 0);
  qputenv("PATH", bin.toUtf8() + ':' + qgetenv("PATH"));
  // No session bus: the file manager is reached through xdg-open, the stand-in.
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
}

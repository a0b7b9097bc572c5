// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tree of files that tries every weakness a name or a file can have, built fresh for each case
// under root/src, with an empty root/dst as the target of moves and copies.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// One hostile entry: its tag in the case tables and its path below root (native bytes).
struct HostileEntry {
  QString tag;
  QByteArray relPath;
};

class HostileTree {
 public:
  // Depth of the deep directory chain; its bottom lies beyond PATH_MAX.
  static constexpr int kDeepLevels = 2000;

  // Builds the tree under root (which exists). withReadOnly adds a read-only file and a file in
  // a read-only directory (they only mean something to an ordinary user). The deep chain is
  // built once in stock and moved in, since 2,000 directories take seconds to make and remove.
  HostileTree(const QString& root, bool withReadOnly, const QString& stock);
  // Moves the deep chain back to its stock, gives every directory its write bit back and
  // removes the rest.
  ~HostileTree();
  // Removes a stock's deep chain, bottom up by descriptors.
  static void RemoveStock(const QString& stock);
  HostileTree(const HostileTree&) = delete;
  HostileTree& operator=(const HostileTree&) = delete;

  const std::vector<HostileEntry>& Entries() const { return entries_; }
  QStringList Tags() const;
  // The entry's path below root, and its full path as the program holds paths.
  QByteArray Rel(const QString& tag) const;
  QString Path(const QString& tag) const;
  QString FileName(const QString& tag) const;
  QString Root() const { return root_; }
  QString Src() const { return root_ + QStringLiteral("/src"); }
  QString Dst() const { return root_ + QStringLiteral("/dst"); }
  // Another process replacing a file: new content under the same name, a new inode.
  void Replace(const QString& tag, const QByteArray& content) const;
  void Remove(const QString& tag) const;

 private:
  QString root_;
  QString stock_;
  std::vector<HostileEntry> entries_;
};

// A tiny valid RIFF/WAVE file: 8 frames of silence.
QByteArray TinyWave();

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>

class IniFile;

// The one way to read and write settings: values under keys of sections of an INI file. Every
// read goes to the file and every write reaches it at once (written whole and atomically).
// Typed options (settings/Option.h) are stored through it, and tied to controls in settings/gui.
class SettingsStore {
 public:
  // A file there that cannot be read would refuse every write, so nothing would be saved: it is
  // moved aside (filePath.bad, .bad1, .bad2 ... whichever is free; a directory too) and an empty
  // file takes its place, from which every setting reads its default.
  void Open(const QString& filePath, const QString& section = QString(), bool withSection = false);
  // What Open did about an unreadable file, once; empty when there was nothing to tell.
  QString TakeRecoveryNotice();
  void SetSection(const QString& section) const { section_ = section; }
  const QString& FilePath() const { return filePath_; }
  const QString& Section() const { return section_; }

  bool WriteText(const QString& key, const QString& text) const;
  QString ReadText(const QString& key, const QString& defaultText = QString()) const;
  bool WriteNumber(const QString& key, double value) const;
  double ReadNumber(const QString& key, double defaultValue) const;
  bool WriteBool(const QString& key, bool value) const;
  bool ReadBool(const QString& key, bool defaultValue) const;
  bool ReadBoolUnlessFalse(const QString& key, bool defaultValue) const;
  bool WriteDateTime(const QString& key, const QDateTime& value) const;  // ISO 8601
  QDateTime ReadDateTime(const QString& key, const QDateTime& defaultValue) const;
  // The value stored under key in the current section, or nothing when it is absent.
  std::optional<QString> Stored(const QString& key) const;

  // While a Batch lives, the store reads the file once and keeps its changes, which reach the
  // file in one atomic write when the batch ends: a window's whole state then costs one read and
  // one write instead of one of each per key. Writes inside a batch report whether the value
  // could be stored; whether the file could be written shows only at the end. Batches nest: an
  // inner one shares the outer one's copy, and only the outermost reads and writes the file.
  class Batch {
   public:
    explicit Batch(const SettingsStore& store);
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    const SettingsStore& store_;
  };

 private:
  QString filePath_;
  QString recoveryNotice_;
  mutable std::shared_ptr<IniFile> batch_;  // the file's copy while a Batch lives
  mutable int batchDepth_ = 0;
  mutable bool batchChanged_ = false;
  mutable QString section_;  // the binder and the placement choose their section
};

// How a boolean is written: "真" or "假".
const QString& SettingsTrue();
const QString& SettingsFalse();
// Multi-line texts are stored on one line: every line break becomes "【→↓】", which also
// separates the records of a check list.
const QString& LineBreakMark();
QString EscapeLineBreaks(const QString& text);
QString UnescapeLineBreaks(const QString& text);
// A stored number as a 32-bit integer: truncated toward zero and held within range, NaN as 0.
int TruncToInt32(double value);

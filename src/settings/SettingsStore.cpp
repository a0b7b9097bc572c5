// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsStore.h"

#include <cmath>
#include <limits>
#include <utility>

#include "platform/Files.h"
#include "settings/IniFile.h"
#include "text/PathParts.h"

const QString& SettingsTrue() {
  static const QString text = QStringLiteral("真");
  return text;
}

const QString& SettingsFalse() {
  static const QString text = QStringLiteral("假");
  return text;
}

const QString& LineBreakMark() {
  static const QString text = QStringLiteral("【→↓】");
  return text;
}

QString EscapeLineBreaks(const QString& text) {
  QString escaped = text;
  escaped.replace(QStringLiteral("\r\n"), LineBreakMark());
  escaped.replace(u'\n', LineBreakMark());
  return escaped;
}

QString UnescapeLineBreaks(const QString& text) {
  QString unescaped = text;
  unescaped.replace(LineBreakMark(), PlatformLineBreak());
  return unescaped;
}

int TruncToInt32(double value) {
  if (std::isnan(value)) return 0;
  const double truncated = std::trunc(value);
  if (truncated <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  if (truncated >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return static_cast<int>(truncated);
}

namespace {

constexpr int kMaxSetAsideNames = 100;

// Moves the file (or directory) at path to the first free name of path.bad, path.bad1 ... and
// returns that name, or nothing when no name could be had. Nothing is ever replaced.
std::optional<QString> SetAside(const QString& path) {
  for (int n = 0; n < kMaxSetAsideNames; ++n) {
    const QString aside = path + QStringLiteral(".bad") + (n > 0 ? QString::number(n) : QString());
    if (Files::RenameNoReplace(path, aside)) return aside;
    if (!Files::Exists(path)) break;
  }
  return std::nullopt;
}

}  // namespace

void SettingsStore::Open(const QString& filePath, const QString& section, bool withSection) {
  filePath_ = filePath;
  if (withSection) section_ = section;
  if (IniFile::Load(filePath).GetState() != IniFile::State::kUnreadable) return;
  if (const std::optional<QString> aside = SetAside(filePath)) {
    IniFile().Save(filePath);
    recoveryNotice_ =
        QStringLiteral("设置文件无法读取，已另存为 %1 并恢复默认设置").arg(FileNameOf(*aside));
  } else {
    recoveryNotice_ = QStringLiteral("设置文件无法读取，也无法移开：设置不会保存");
  }
}

QString SettingsStore::TakeRecoveryNotice() { return std::exchange(recoveryNotice_, QString()); }

SettingsStore::Batch::Batch(const SettingsStore& store) : store_(store) {
  if (store_.batchDepth_++ > 0) return;
  store_.batch_ = std::make_shared<IniFile>(IniFile::Load(store_.filePath_));
  store_.batchChanged_ = false;
}

SettingsStore::Batch::~Batch() {
  if (--store_.batchDepth_ > 0) return;
  if (store_.batchChanged_) store_.batch_->Save(store_.filePath_);
  store_.batch_.reset();
}

std::optional<QString> SettingsStore::Stored(const QString& key) const {
  if (batch_) return batch_->Value(section_, key);
  return ReadIniValue(filePath_, section_, key);
}

bool SettingsStore::WriteText(const QString& key, const QString& text) const {
  if (!batch_) return WriteIniValue(filePath_, section_, key, text);
  const bool stored = batch_->SetValue(section_, key, text);
  batchChanged_ = batchChanged_ || stored;
  return stored;
}

QString SettingsStore::ReadText(const QString& key, const QString& defaultText) const {
  return Stored(key).value_or(defaultText);
}

bool SettingsStore::WriteNumber(const QString& key, double value) const {
  if (!std::isfinite(value)) return false;
  if (value == 0.0) value = 0.0;  // no "-0"
  return WriteText(key, QString::number(value, 'f', QLocale::FloatingPointShortest));
}

double SettingsStore::ReadNumber(const QString& key, double defaultValue) const {
  const std::optional<QString> text = Stored(key);
  if (!text) return defaultValue;
  bool ok = false;
  const double value = text->trimmed().toDouble(&ok);
  // A text that is not a finite number keeps the default.
  return ok && std::isfinite(value) ? value : defaultValue;
}

bool SettingsStore::WriteBool(const QString& key, bool value) const {
  return WriteText(key, value ? SettingsTrue() : SettingsFalse());
}

bool SettingsStore::ReadBool(const QString& key, bool defaultValue) const {
  return ReadText(key, defaultValue ? SettingsTrue() : SettingsFalse()) == SettingsTrue();
}

bool SettingsStore::ReadBoolUnlessFalse(const QString& key, bool defaultValue) const {
  return ReadText(key, defaultValue ? SettingsTrue() : SettingsFalse()) != SettingsFalse();
}

bool SettingsStore::WriteDateTime(const QString& key, const QDateTime& value) const {
  return WriteText(key, value.isValid() ? value.toString(Qt::ISODateWithMs) : QString());
}

QDateTime SettingsStore::ReadDateTime(const QString& key, const QDateTime& defaultValue) const {
  const std::optional<QString> text = Stored(key);
  if (!text) return defaultValue;
  const QDateTime value = QDateTime::fromString(text->trimmed(), Qt::ISODateWithMs);
  return value.isValid() ? value : defaultValue;
}

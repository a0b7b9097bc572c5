// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/Option.h"

#include <QStringList>

namespace {

const QString& FieldMark() {
  static const QString text = QStringLiteral("【==】");
  return text;
}

// 0 when the text is not a number.
int ToInt32(const QString& text) {
  bool ok = false;
  const double value = text.trimmed().toDouble(&ok);
  return ok ? TruncToInt32(value) : 0;
}

}  // namespace

QString EncodeCheckList(const CheckList& items) {
  QStringList records;
  for (const CheckItem& item : items)
    records << item.text + FieldMark() + (item.checked ? SettingsTrue() : SettingsFalse()) +
                   FieldMark() + QString::number(item.data);
  return records.join(LineBreakMark());
}

CheckList DecodeCheckList(const QString& text) {
  CheckList items;
  if (text.isEmpty()) return items;
  for (const QString& record : text.split(LineBreakMark())) {
    QStringList fields = record.split(FieldMark());
    while (fields.size() < 3) fields << QString();
    items.append({fields[0], fields[1] == SettingsTrue(), ToInt32(fields[2])});
  }
  return items;
}

bool ReadSetting(const SettingsStore& store, const QString& key, bool current) {
  return store.ReadBool(key, current);
}

int ReadSetting(const SettingsStore& store, const QString& key, int current) {
  return TruncToInt32(store.ReadNumber(key, current));
}

QString ReadSetting(const SettingsStore& store, const QString& key, const QString& current) {
  return store.ReadText(key, current);
}

MultiLineText ReadSetting(const SettingsStore& store, const QString& key,
                          const MultiLineText& current) {
  const std::optional<QString> text = store.Stored(key);
  return text ? MultiLineText{UnescapeLineBreaks(*text)} : current;
}

CheckList ReadSetting(const SettingsStore& store, const QString& key, const CheckList& current) {
  const std::optional<QString> text = store.Stored(key);
  return text ? DecodeCheckList(*text) : current;
}

bool WriteSetting(const SettingsStore& store, const QString& key, bool value) {
  return store.WriteBool(key, value);
}

bool WriteSetting(const SettingsStore& store, const QString& key, int value) {
  return store.WriteNumber(key, value);
}

bool WriteSetting(const SettingsStore& store, const QString& key, const QString& value) {
  return store.WriteText(key, value);
}

bool WriteSetting(const SettingsStore& store, const QString& key, const MultiLineText& value) {
  return store.WriteText(key, EscapeLineBreaks(value.text));
}

bool WriteSetting(const SettingsStore& store, const QString& key, const CheckList& value) {
  return store.WriteText(key, EncodeCheckList(value));
}

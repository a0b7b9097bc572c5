// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QList>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

#include "settings/SettingsStore.h"

// A text whose line breaks are kept: stored on one line, every break as "【→↓】".
struct MultiLineText {
  QString text;
  bool operator==(const MultiLineText&) const = default;
};

// One item of a checked list: stored as text【==】真 or 假【==】data, the items joined by
// "【→↓】" (an empty list is the empty text).
struct CheckItem {
  QString text;
  bool checked = false;
  int data = 0;
  bool operator==(const CheckItem&) const = default;
};
using CheckList = QList<CheckItem>;

QString EncodeCheckList(const CheckList& items);
// Missing fields are empty and fields beyond the third ignored; data that is not a number is 0.
CheckList DecodeCheckList(const QString& text);

// How each kind of value is stored under one key of the store's current section: a boolean as
// "真" or "假", a number as decimal text (read truncated toward zero), a text as it is. A read
// gives current back when the key is absent; a write tells whether the value was stored.
bool ReadSetting(const SettingsStore& store, const QString& key, bool current);
int ReadSetting(const SettingsStore& store, const QString& key, int current);
QString ReadSetting(const SettingsStore& store, const QString& key, const QString& current);
MultiLineText ReadSetting(const SettingsStore& store, const QString& key,
                          const MultiLineText& current);
CheckList ReadSetting(const SettingsStore& store, const QString& key, const CheckList& current);
bool WriteSetting(const SettingsStore& store, const QString& key, bool value);
bool WriteSetting(const SettingsStore& store, const QString& key, int value);
bool WriteSetting(const SettingsStore& store, const QString& key, const QString& value);
bool WriteSetting(const SettingsStore& store, const QString& key, const MultiLineText& value);
bool WriteSetting(const SettingsStore& store, const QString& key, const CheckList& value);

// One setting: its section, its key and its value, which starts as the designed default.
// Loading keeps the current value when the key is absent, so a setting never saved keeps its
// default. Load and Save work in the store's current section (the binder chooses it).
template <typename T>
class Option {
 public:
  Option(QString section, QString key, T designed)
      : section_(std::move(section)), key_(std::move(key)), value_(std::move(designed)) {}
  Option(const Option&) = delete;
  Option& operator=(const Option&) = delete;

  const QString& Section() const { return section_; }
  const QString& Key() const { return key_; }
  const T& Value() const { return value_; }
  void Set(T value) { value_ = std::move(value); }
  void Load(const SettingsStore& store) { value_ = ReadSetting(store, key_, value_); }
  bool Save(const SettingsStore& store) const { return WriteSetting(store, key_, value_); }

 private:
  QString section_;
  QString key_;
  T value_;
};

// One of a few values, stored as one "真" or "假" per choice under the choice's key (a radio
// item's caption). A file with several choices marked reads as the last of them; with none, as
// the first choice.
template <typename E>
class ChoiceOption {
 public:
  struct Choice {
    E value;
    QString key;
  };

  ChoiceOption(QString section, std::vector<Choice> choices, E designed)
      : section_(std::move(section)), choices_(std::move(choices)), value_(designed) {}
  ChoiceOption(const ChoiceOption&) = delete;
  ChoiceOption& operator=(const ChoiceOption&) = delete;

  const QString& Section() const { return section_; }
  const std::vector<Choice>& Choices() const { return choices_; }
  E Value() const { return value_; }
  void Set(E value) { value_ = value; }
  void Load(const SettingsStore& store) {
    std::optional<E> marked;
    for (const Choice& choice : choices_)
      if (store.ReadBool(choice.key, choice.value == value_)) marked = choice.value;
    value_ = marked.value_or(choices_.front().value);
  }
  bool Save(const SettingsStore& store) const {
    bool stored = true;
    for (const Choice& choice : choices_)
      stored = store.WriteBool(choice.key, choice.value == value_) && stored;
    return stored;
  }

 private:
  QString section_;
  std::vector<Choice> choices_;
  E value_;
};

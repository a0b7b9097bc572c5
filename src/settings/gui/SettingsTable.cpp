// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/gui/SettingsTable.h"

#include <QAction>
#include <QCheckBox>
#include <QRadioButton>
#include <type_traits>

namespace {

template <typename... Steps>
struct Overloaded : Steps... {
  using Steps::operator()...;
};

template <typename Checkable>
concept CheckControl = std::is_same_v<Checkable, QAction*> ||
    std::is_same_v<Checkable, QCheckBox*> || std::is_same_v<Checkable, QRadioButton*>;

QString CheckKey(const SettingRow& row, const auto* control) {
  return row.key.isEmpty() ? control->text() : row.key;
}

// Runs step on every row in its section, then returns to the section the store was in.
template <typename Step>
void RunTable(const SettingsStore& store, const std::vector<SettingRow>& table, Step step) {
  const SettingsStore::Batch batch(store);
  const QString outerSection = store.Section();
  for (const SettingRow& row : table) {
    if (store.Section() != row.section) store.SetSection(row.section);
    step(row);
  }
  store.SetSection(outerSection);
}

}  // namespace

void LoadSettings(const SettingsStore& store, const std::vector<SettingRow>& table) {
  RunTable(store, table, [&store](const SettingRow& row) {
    std::visit(
        Overloaded{
            [&](CheckControl auto control) {
              if (control)
                control->setChecked(store.ReadBool(CheckKey(row, control), control->isChecked()));
            },
            [&](QLineEdit* edit) { store.LoadEditText(row.key, edit); },
            [&](QPlainTextEdit* edit) { store.LoadMultiLineText(row.key, edit); },
            [&](QComboBox* combo) { store.LoadComboText(row.key, combo); },
            [&](const CheckListTarget& list) {
              store.LoadCheckList(row.key, list.list, list.clearFirst);
            },
            [&](const PlacementTarget& placement) {
              store.LoadWindowPlacement(placement.window, row.section);
            },
            [&](QString* text) {
              if (text) *text = store.ReadText(row.key, row.defaultValue.toString());
            },
            [&](bool* value) {
              if (value) *value = store.ReadBool(row.key, row.defaultValue.toBool());
            },
            [&](int* value) {
              if (value) *value = TruncToInt32(store.ReadNumber(row.key, row.defaultValue.toInt()));
            },
            [&](const CustomTarget& custom) {
              if (custom.load) custom.load(store);
            },
        },
        row.target);
  });
}

void SaveSettings(const SettingsStore& store, const std::vector<SettingRow>& table) {
  RunTable(store, table, [&store](const SettingRow& row) {
    std::visit(Overloaded{
                   [&](CheckControl auto control) {
                     if (control) store.WriteBool(CheckKey(row, control), control->isChecked());
                   },
                   [&](QLineEdit* edit) { store.SaveEditText(row.key, edit); },
                   [&](QPlainTextEdit* edit) { store.SaveMultiLineText(row.key, edit); },
                   [&](QComboBox* combo) { store.SaveComboText(row.key, combo); },
                   [&](const CheckListTarget& list) { store.SaveCheckList(row.key, list.list); },
                   [&](const PlacementTarget& placement) {
                     store.SaveWindowPlacement(placement.window, row.section);
                   },
                   [&](QString* text) {
                     if (text) store.WriteText(row.key, *text);
                   },
                   [&](bool* value) {
                     if (value) store.WriteBool(row.key, *value);
                   },
                   [&](int* value) {
                     if (value) store.WriteNumber(row.key, *value);
                   },
                   [&](const CustomTarget& custom) {
                     if (custom.save) custom.save(store);
                   },
               },
               row.target);
  });
}

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QVariant>
#include <functional>
#include <variant>
#include <vector>

#include "settings/SettingsStore.h"

// A window declares its settings once, as a table, and the same table both loads and saves
// them: a key then cannot be written under one name and read under another.

// Check list rows: the items, with or without the ones already in the box.
struct CheckListTarget {
  QListWidget* list = nullptr;
  bool clearFirst = true;
};

// The window's placement, under the row's section (the key is unused).
struct PlacementTarget {
  QWidget* window = nullptr;
};

// A step run at its place in the table, in the row's section (either may be empty).
struct CustomTarget {
  std::function<void(const SettingsStore&)> load;
  std::function<void(const SettingsStore&)> save;
};

using SettingTarget =
    std::variant<QAction*, QCheckBox*, QRadioButton*, QLineEdit*, QPlainTextEdit*, QComboBox*,
                 CheckListTarget, PlacementTarget, QString*, bool*, int*, CustomTarget>;

struct SettingRow {
  QString section;
  // For menu items, check boxes and radio buttons an empty key means the caption.
  QString key;
  // Controls are stored as the SettingsStore control operations store them (a plain text edit
  // as multi-line text) and keep their state when the key is absent. Numbers come back through
  // TruncToInt32.
  SettingTarget target;
  // For texts, booleans and numbers when the key is absent; none means "", false or 0.
  QVariant defaultValue{};
};

// Each runs the rows in order within one batch (one read, and one write if anything changed)
// and leaves the store in the section it was in.
void LoadSettings(const SettingsStore& store, const std::vector<SettingRow>& table);
void SaveSettings(const SettingsStore& store, const std::vector<SettingRow>& table);

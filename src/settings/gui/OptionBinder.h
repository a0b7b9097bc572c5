// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QAction>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "settings/Option.h"

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTabWidget;
class QWidget;

// A window's settings are a list of bindings in the order the file holds them, and the same
// list both loads and saves them. A binding ties an option to the control that shows it: the
// control shows the option from the moment it is bound, loading sets the option and then the
// control, and every change of the control reaches the option at once. Saving writes the
// option. The binding's connection ends with the binding, so it must not outlive the option.
struct OptionBinding {
  QString section;
  std::function<void(const SettingsStore&)> load;
  std::function<void(const SettingsStore&)> save;
  std::shared_ptr<QObject> connections;  // the context of the control's change signals
};

OptionBinding Bind(Option<bool>& option, QAction* item);
OptionBinding Bind(Option<bool>& option, QAbstractButton* box);  // check box or radio button
OptionBinding Bind(Option<QString>& option, QLineEdit* edit);
OptionBinding Bind(Option<QString>& option, QComboBox* combo);  // its edit text
OptionBinding Bind(Option<MultiLineText>& option, QPlainTextEdit* edit);
OptionBinding Bind(Option<CheckList>& option, QListWidget* list);
OptionBinding Bind(Option<int>& option, QTabWidget* tabs);  // the current tab's index

// An option no control shows: the window reads and sets it itself.
template <typename T>
OptionBinding Bind(Option<T>& option) {
  return {option.Section(), [&option](const SettingsStore& store) { option.Load(store); },
          [&option](const SettingsStore& store) { option.Save(store); }, nullptr};
}

// A value kept outside the option: it takes the option's value when loaded and gives the
// option its own when saved.
template <typename T>
OptionBinding Bind(Option<T>& option, T* value) {
  return {option.Section(),
          [&option, value](const SettingsStore& store) {
            option.Load(store);
            *value = option.Value();
          },
          [&option, value](const SettingsStore& store) {
            option.Set(*value);
            option.Save(store);
          },
          nullptr};
}

// Radio menu items, one per choice, found by the choice's key.
template <typename E>
OptionBinding Bind(ChoiceOption<E>& option, const std::function<QAction*(const QString&)>& itemOf) {
  std::vector<std::pair<E, QAction*>> items;
  for (const auto& choice : option.Choices()) items.emplace_back(choice.value, itemOf(choice.key));
  const auto show = [&option, items] {
    for (const auto& [value, item] : items) item->setChecked(value == option.Value());
  };
  show();
  auto connections = std::make_shared<QObject>();
  for (const auto& [value, item] : items)
    QObject::connect(item, &QAction::toggled, connections.get(), [&option, value](bool on) {
      if (on) option.Set(value);
    });
  return {option.Section(),
          [&option, show](const SettingsStore& store) {
            option.Load(store);
            show();
          },
          [&option](const SettingsStore& store) { option.Save(store); }, connections};
}

// The window's placement (位置, 左边, 顶边, 宽度, 高度) under section.
OptionBinding BindPlacement(const QString& section, QWidget* window);
// A step run at its place in the list, in its section; either may be empty.
OptionBinding Step(const QString& section, std::function<void(const SettingsStore&)> load,
                   std::function<void(const SettingsStore&)> save);

// Each runs the bindings in order within one batch (one read, and one write if anything
// changed) and leaves the store in the section it was in.
void LoadSettings(const SettingsStore& store, const std::vector<OptionBinding>& bindings);
void SaveSettings(const SettingsStore& store, const std::vector<OptionBinding>& bindings);

// The items of a checked list box, and the box holding exactly the given items.
CheckList CheckListOf(const QListWidget* list);
void FillCheckList(QListWidget* list, const CheckList& items);

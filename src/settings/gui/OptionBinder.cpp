// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/gui/OptionBinder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>

#include "settings/gui/WindowPlacement.h"

namespace {

// Ties option to a control that get reads, set shows and any of changed (signals of sender)
// reports a change of.
template <typename T, typename Control, typename Get, typename Set, typename Sender,
          typename... Signals>
OptionBinding BindControl(Option<T>& option, Control* control, Get get, Set set, Sender* sender,
                          Signals... changed) {
  // A copy is shown: the control's change signals set the option while it is being shown. What
  // the control holds then is taken back, as a control may refuse a value (a radio button its
  // unchecking).
  const auto show = [&option, control, get, set] {
    const T value = option.Value();
    set(control, value);
    option.Set(get(control));
  };
  show();
  auto connections = std::make_shared<QObject>();
  (QObject::connect(sender, changed, connections.get(),
                    [&option, control, get] { option.Set(get(control)); }),
   ...);
  return {option.Section(),
          [&option, show](const SettingsStore& store) {
            option.Load(store);
            show();
          },
          [&option](const SettingsStore& store) { option.Save(store); }, connections};
}

using Phase = std::function<void(const SettingsStore&)> OptionBinding::*;

// Runs the phase of every binding that has one in its section, then returns to the section the
// store was in.
void RunBindings(const SettingsStore& store, const std::vector<OptionBinding>& bindings,
                 Phase phase) {
  const SettingsStore::Batch batch(store);
  const QString outerSection = store.Section();
  for (const OptionBinding& binding : bindings) {
    const auto& run = binding.*phase;
    if (!run) continue;
    if (store.Section() != binding.section) store.SetSection(binding.section);
    run(store);
  }
  store.SetSection(outerSection);
}

}  // namespace

OptionBinding Bind(Option<bool>& option, QAction* item) {
  return BindControl(
      option, item, [](const QAction* a) { return a->isChecked(); },
      [](QAction* a, bool on) { a->setChecked(on); }, item, &QAction::toggled);
}

OptionBinding Bind(Option<bool>& option, QAbstractButton* box) {
  return BindControl(
      option, box, [](const QAbstractButton* b) { return b->isChecked(); },
      [](QAbstractButton* b, bool on) { b->setChecked(on); }, box, &QAbstractButton::toggled);
}

OptionBinding Bind(Option<QString>& option, QLineEdit* edit) {
  return BindControl(
      option, edit, [](const QLineEdit* e) { return e->text(); },
      [](QLineEdit* e, const QString& text) { e->setText(text); }, edit, &QLineEdit::textChanged);
}

OptionBinding Bind(Option<QString>& option, QComboBox* combo) {
  return BindControl(
      option, combo, [](const QComboBox* c) { return c->currentText(); },
      [](QComboBox* c, const QString& text) { c->setCurrentText(text); }, combo,
      &QComboBox::currentTextChanged);
}

OptionBinding Bind(Option<MultiLineText>& option, QPlainTextEdit* edit) {
  return BindControl(
      option, edit, [](const QPlainTextEdit* e) { return MultiLineText{e->toPlainText()}; },
      [](QPlainTextEdit* e, const MultiLineText& value) { e->setPlainText(value.text); }, edit,
      &QPlainTextEdit::textChanged);
}

OptionBinding Bind(Option<CheckList>& option, QListWidget* list) {
  QAbstractItemModel* model = list->model();
  return BindControl(option, list, &CheckListOf, &FillCheckList, model,
                     &QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved,
                     &QAbstractItemModel::rowsMoved, &QAbstractItemModel::dataChanged,
                     &QAbstractItemModel::modelReset);
}

OptionBinding Bind(Option<int>& option, QTabWidget* tabs) {
  return BindControl(
      option, tabs, [](const QTabWidget* t) { return t->currentIndex(); },
      [](QTabWidget* t, int index) { t->setCurrentIndex(index); }, tabs,
      &QTabWidget::currentChanged);
}

OptionBinding BindPlacement(const QString& section, QWidget* window) {
  return {section,
          [window, section](const SettingsStore& store) {
            LoadWindowPlacement(store, window, section);
          },
          [window, section](const SettingsStore& store) {
            SaveWindowPlacement(store, window, section);
          },
          nullptr};
}

OptionBinding Step(const QString& section, std::function<void(const SettingsStore&)> load,
                   std::function<void(const SettingsStore&)> save) {
  return {section, std::move(load), std::move(save), nullptr};
}

void LoadSettings(const SettingsStore& store, const std::vector<OptionBinding>& bindings) {
  RunBindings(store, bindings, &OptionBinding::load);
}

void SaveSettings(const SettingsStore& store, const std::vector<OptionBinding>& bindings) {
  RunBindings(store, bindings, &OptionBinding::save);
}

CheckList CheckListOf(const QListWidget* list) {
  CheckList items;
  for (int i = 0; i < list->count(); ++i) {
    const QListWidgetItem* item = list->item(i);
    items.append(
        {item->text(), item->checkState() == Qt::Checked, item->data(Qt::UserRole).toInt()});
  }
  return items;
}

void FillCheckList(QListWidget* list, const CheckList& items) {
  list->clear();
  for (const CheckItem& stored : items) {
    auto* item = new QListWidgetItem(stored.text, list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setData(Qt::UserRole, stored.data);
    item->setCheckState(stored.checked ? Qt::Checked : Qt::Unchecked);
  }
}

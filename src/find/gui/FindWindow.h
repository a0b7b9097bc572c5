// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QWidget>
#include <functional>

struct FindOptions;
template <typename T>
class Option;
class Finder;
class QCheckBox;
class QComboBox;

// "查找表项": the find options and the find commands, non-modal, owned by the main window. Every
// change of a control reaches the program's find options at once, so the main window's find keys
// use the options last set here even after the window is closed.
class FindWindow : public QWidget {
  Q_OBJECT
 public:
  FindWindow(Finder& finder, QWidget* owner);

 protected:
  // Closing the window, by Esc too, stops a search it started.
  void closeEvent(QCloseEvent* event) override;

 private:
  QCheckBox* AddCheckBox(const QString& name, const QString& caption, Option<bool>& option);
  // Runs a search of the finder; events are processed during it, the close among them.
  void Search(const std::function<void()>& search);

  FindOptions& find_;
  Finder& finder_;
  QComboBox* 组合框欲查找_;
  bool searching_ = false;
};

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QHash>
#include <QMap>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "app/CommandTable.h"
#include "core/Commands.h"

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class Application;
class SoundList;
class Player;
class SoundListView;
class SoundListController;
class MainToolbar;
class FindWindow;
class SearchDirWindow;
class BatchRenameWindow;
class AboutWindow;
class Dialogs;
struct OptionBinding;

// The main window: toolbar, sound list, status bar and the three pop-up menus, all built from
// the command table; every click, arrow, menu item and key runs its command's row.
class MainWindow : public QWidget {
  Q_OBJECT
 public:
  explicit MainWindow(Application& app, QWidget* parent = nullptr);
  ~MainWindow() override;

  Application& App() { return app_; }
  SoundList& List();
  Player& GetPlayer();
  SoundListView* View() const { return view_; }
  MainToolbar* Toolbar() const { return toolbar_; }
  QMenu* Menu(MenuId menu) const { return menus_.value(menu); }
  // A menu item by its caption (check items and commands alike).
  QAction* MenuItem(const QString& caption) const;
  QLabel* CountPart() const { return countPart_; }
  QLabel* MessagePart() const { return messagePart_; }
  QWidget* OpenFindWindow() const;
  QWidget* OpenAboutWindow() const;
  QWidget* OpenSearchDirWindow() const;
  QWidget* OpenBatchRenameWindow() const;

  // Dispatch, as the toolbar, the menus and the keys do it. A command that changes rows or
  // files does nothing while a long job runs.
  void RunCommand(Command command);
  void OnToolbarClick(int index);
  void OnToolbarArrow(int index);

  // What the commands do beyond the areas' own operations.
  void PopupMenu(MenuId menu);
  void ChooseListIcons(const QString& caption);
  void ApplyListIcons();
  void LayoutMainWindow();
  void SaveListNow();
  void StartRenameInPlace();
  void ShowFindWindow();
  void ShowSearchDirWindow();
  void ShowBatchRenameWindow();
  void ShowAboutWindow();
  void FocusList();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenus();
  void ConnectList();
  void Run(const CommandRow& row);
  // Greys (or brings back) every command that a running job would refuse.
  void ShowBusy(bool busy);
  // Ties the main window's options to its menu items and values, in the order of their
  // sections in the file.
  std::vector<OptionBinding> BindSettings();
  void LoadMainSettings();
  void SaveMainSettings();
  // From a close during a job on, nothing waits for an answer (see closeEvent).
  void AnswerUnattended();

  Application& app_;

  MainToolbar* toolbar_ = nullptr;
  SoundListView* view_ = nullptr;
  SoundListController* listController_ = nullptr;  // a child of the view
  QStatusBar* statusBar_ = nullptr;
  QLabel* countPart_ = nullptr;
  QLabel* messagePart_ = nullptr;
  QMap<MenuId, QMenu*> menus_;
  // The menu item of each row of the command table that has one.
  QHash<const CommandRow*, QAction*> items_;
  QPointer<FindWindow> findWindow_;
  QPointer<SearchDirWindow> searchDirWindow_;
  QPointer<BatchRenameWindow> batchRenameWindow_;
  QPointer<AboutWindow> aboutWindow_;
  bool closeWhenJobEnds_ = false;
  std::unique_ptr<Dialogs> attendedDialogs_;  // put back when the window goes
  bool settingsSaved_ = false;
  std::vector<OptionBinding> settingsBindings_;
};

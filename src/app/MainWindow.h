#pragma once
#include <QHash>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <unordered_map>

#include "core/AppContext.h"
#include "core/CheckStates.h"
#include "core/Commands.h"
#include "settings/SettingsStore.h"

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class SoundList;
class StatusTexts;
class SoundOutput;
class Player;
class HoverTracker;
class FileOperations;
class Finder;
class ColumnSorter;
class SoundListView;
class MainToolbar;
class FindWindow;
class AboutWindow;

// The check marks of the window's menus, known by caption.
class MenuChecks : public CheckStates {
 public:
  bool IsChecked(const QString& caption) const override;
  QHash<QString, QAction*> items;
};

// The main window: toolbar, sound list, status bar, the three pop-up menus, and the command
// table that every click, arrow, menu item and key is dispatched through.
class MainWindow : public QWidget {
  Q_OBJECT
 public:
  MainWindow(const QString& configDir, SoundOutput& sound, QWidget* parent = nullptr);
  ~MainWindow() override;

  AppContext& Context() { return *context_; }
  SoundList& List() { return *list_; }
  SoundListView* View() const { return view_; }
  MainToolbar* Toolbar() const { return toolbar_; }
  Player& GetPlayer() { return *player_; }
  QMenu* Menu(const QString& name) const;
  // A menu item by its caption (check items and commands alike).
  QAction* MenuItem(const QString& caption) const;
  QLabel* CountPart() const { return countPart_; }
  QLabel* MessagePart() const { return messagePart_; }
  QWidget* OpenFindWindow() const;
  QWidget* OpenAboutWindow() const;

  // Dispatch, as the toolbar, the menus and the keys do it.
  void RunCommand(Command command);
  void OnToolbarClick(int index);
  void OnToolbarArrow(int index);
  void ChooseListIcons(QAction* item);
  void ApplyListIcons();
  void LayoutMainWindow();
  void SaveListNow();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenus();
  void BuildCommandTable();
  void ConnectList();
  QAction* AddCheckItem(QMenu* menu, const QString& caption, bool checked);
  QAction* AddCommandItem(QMenu* menu, const QString& caption, Command command);
  void LoadMainSettings();
  void SaveMainSettings();
  void PopupMenu(QMenu* menu);

  std::unique_ptr<SoundList> list_;
  std::unique_ptr<StatusTexts> status_;
  MenuChecks checks_;
  std::unique_ptr<AppContext> context_;
  std::unique_ptr<Player> player_;
  std::unique_ptr<HoverTracker> hover_;
  std::unique_ptr<FileOperations> fileOps_;
  std::unique_ptr<Finder> finder_;
  std::unique_ptr<ColumnSorter> sorter_;
  SettingsStore settings_;
  std::unordered_map<Command, std::function<void()>> commands_;

  MainToolbar* toolbar_ = nullptr;
  SoundListView* view_ = nullptr;
  QStatusBar* statusBar_ = nullptr;
  QLabel* countPart_ = nullptr;
  QLabel* messagePart_ = nullptr;
  QMenu* playMenu_ = nullptr;
  QMenu* importMenu_ = nullptr;
  QMenu* moveMenu_ = nullptr;
  QMenu* iconMenu_ = nullptr;
  QPointer<FindWindow> findWindow_;
  QPointer<AboutWindow> aboutWindow_;
  bool settingsSaved_ = false;
};

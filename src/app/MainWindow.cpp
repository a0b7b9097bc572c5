#include "app/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include "app/AboutWindow.h"
#include "app/ListView.h"
#include "app/Toolbar.h"
#include "core/StatusTexts.h"
#include "fileops/FileOperations.h"
#include "find/Finder.h"
#include "find/gui/FindWindow.h"
#include "list/Import.h"
#include "list/ListFile.h"
#include "list/ListRowSorter.h"
#include "list/SoundList.h"
#include "platform/EventPump.h"
#include "player/HoverTracker.h"
#include "player/ListKeys.h"
#include "player/Player.h"
#include "settings/ConfigDir.h"
#include "ui/Artwork.h"

namespace {
const QString kIconNone = QStringLiteral("无");
const QString kIcon16 = QStringLiteral("16x16");
const QString kIcon32 = QStringLiteral("32x32");
const QString kIcon48 = QStringLiteral("48x48");
}  // namespace

bool MenuChecks::IsChecked(const QString& caption) const {
  const QAction* item = items.value(caption);
  return item && item->isChecked();
}

MainWindow::MainWindow(const QString& configDir, SoundOutput& sound, QWidget* parent)
    : QWidget(parent),
      list_(std::make_unique<SoundList>()),
      status_(std::make_unique<StatusTexts>()) {
  context_ = std::make_unique<AppContext>(
      AppContext{*list_, *status_, sound, checks_, configDir, {}, {}, {}});
  player_ = std::make_unique<Player>(*context_);
  hover_ = std::make_unique<HoverTracker>(*context_, *player_);
  fileOps_ = std::make_unique<FileOperations>(*context_);
  finder_ = std::make_unique<Finder>(*context_, *player_);
  sorter_ = std::make_unique<ColumnSorter>();

  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(QStringLiteral("Plinkbox(Qorb) v1.0"));
  setWindowIcon(ApplicationIcon());
  setAcceptDrops(true);  // 拖放对象1: files dropped anywhere on the window

  toolbar_ = new MainToolbar(this);
  view_ = new SoundListView(this);
  view_->setModel(list_.get());
  view_->setSelectionModel(list_->selectionModel());
  view_->setColumnWidth(SoundList::kNameColumn, 200);
  view_->setColumnWidth(SoundList::kSizeColumn, 100);
  view_->setColumnWidth(SoundList::kDirectoryColumn, 400);
  view_->setGeometry(0, 64, 827, 345);

  statusBar_ = new QStatusBar(this);
  statusBar_->setObjectName(QStringLiteral("状态条"));
  statusBar_->setSizeGripEnabled(false);
  countPart_ = new QLabel(statusBar_);
  countPart_->setObjectName(QStringLiteral("计数部分"));
  countPart_->setFixedWidth(100);
  messagePart_ = new QLabel(statusBar_);
  messagePart_->setObjectName(QStringLiteral("消息部分"));
  messagePart_->setMinimumWidth(1);
  statusBar_->addWidget(countPart_);
  statusBar_->addWidget(messagePart_, 1);
  connect(status_.get(), &StatusTexts::countChanged, countPart_, &QLabel::setText);
  connect(status_.get(), &StatusTexts::messageChanged, messagePart_, &QLabel::setText);

  BuildMenus();
  BuildCommandTable();
  ConnectList();
  move(50, 50);
  resize(835, 485);
  settings_.Open(SettingsFilePath(configDir));
  LoadMainSettings();
  // The keyboard commands are the list's keys: the list has the focus from the start.
  setFocusProxy(view_);
  view_->setFocus();
}

MainWindow::~MainWindow() {
  if (!settingsSaved_) SaveMainSettings();
}

QAction* MainWindow::AddCheckItem(QMenu* menu, const QString& caption, bool checked) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(caption);
  item->setCheckable(true);
  item->setChecked(checked);
  checks_.items.insert(caption, item);
  return item;
}

QAction* MainWindow::AddCommandItem(QMenu* menu, const QString& caption, Command command) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(caption);
  connect(item, &QAction::triggered, this, [this, command] { RunCommand(command); });
  return item;
}

void MainWindow::BuildMenus() {
  playMenu_ = new QMenu(QStringLiteral("播放"), this);
  playMenu_->setObjectName(QStringLiteral("播放"));
  AddCheckItem(playMenu_, Caption::kPlayOnce, true);
  playMenu_->addSeparator();
  AddCheckItem(playMenu_, Caption::kPlayOnSelect, true);
  AddCheckItem(playMenu_, Caption::kPlayOnDoubleClick, true);
  AddCheckItem(playMenu_, Caption::kPlayOnHover, true);
  playMenu_->addSeparator();
  AddCommandItem(playMenu_, QStringLiteral("定位当前播放条目"), Command::kLocatePlaying);

  importMenu_ = new QMenu(QStringLiteral("导入"), this);
  importMenu_->setObjectName(QStringLiteral("导入"));
  AddCommandItem(importMenu_, QStringLiteral("选择文件..."), Command::kImport);
  AddCommandItem(importMenu_, QStringLiteral("检索目录..."), Command::kOpenSearchDir);
  importMenu_->addSeparator();
  AddCheckItem(importMenu_, Caption::kLoadListAtStart, true);
  AddCommandItem(importMenu_, QStringLiteral("立即保存当前列表"), Command::kSaveListNow);
  importMenu_->addSeparator();
  iconMenu_ = importMenu_->addMenu(QStringLiteral("列表图标"));
  iconMenu_->setObjectName(QStringLiteral("列表图标"));
  for (const QString& caption : {kIconNone, kIcon16, kIcon32, kIcon48}) {
    QAction* item = AddCheckItem(iconMenu_, caption, caption == kIcon32);
    // Choosing an item checks it alone; a plain toggle would let it uncheck itself.
    connect(item, &QAction::triggered, this, [this, item] { ChooseListIcons(item); });
    if (caption == kIconNone) iconMenu_->addSeparator();
  }
  importMenu_->addSeparator();
  AddCommandItem(importMenu_, QStringLiteral("查找..."), Command::kOpenFind);
  AddCommandItem(importMenu_, QStringLiteral("查找下一个"), Command::kFindNext);
  AddCommandItem(importMenu_, QStringLiteral("查找上一个"), Command::kFindPrevious);
  AddCommandItem(importMenu_, QStringLiteral("置当前位置为查找点"), Command::kSetFindPoint);

  moveMenu_ = new QMenu(QStringLiteral("移动选项"), this);
  moveMenu_->setObjectName(QStringLiteral("移动选项"));
  AddCheckItem(moveMenu_, Caption::kRemoveAfterMove, true);
  AddCheckItem(moveMenu_, Caption::kSmartRename, true);
}

void MainWindow::BuildCommandTable() {
  SoundList& list = *list_;
  Player& player = *player_;
  FileOperations& ops = *fileOps_;
  commands_ = {
      {Command::kImport, [this] { ImportByDialog(*context_); }},
      {Command::kSelectAll, [&list] { list.ChangeSelection(1); }},
      {Command::kSelectNone, [&list] { list.ChangeSelection(-1); }},
      {Command::kInvertSelection, [&list] { list.ChangeSelection(0); }},
      {Command::kExtendToTop, [&list] { list.SelectRange(list.CurrentRow(), 0); }},
      {Command::kExtendToBottom,
       [&list] { list.SelectRange(list.CurrentRow(), list.RowCount() - 1); }},
      {Command::kPlayPrevious, [&list, &player] { player.PlayRow(list.CurrentRow() - 1); }},
      {Command::kPlayFirst, [&player] { player.PlayRow(0); }},
      {Command::kPlayCurrent, [&player] { player.PlayRow(); }},
      {Command::kPlayNext, [&list, &player] { player.PlayRow(list.CurrentRow() + 1); }},
      {Command::kPlayLast, [&list, &player] { player.PlayRow(list.RowCount() - 1); }},
      {Command::kStop, [&player] { player.StopPlayback(true); }},
      {Command::kStopQuiet, [&player] { player.StopPlayback(false); }},
      {Command::kLocatePlaying,
       [this, &player] {
         player.LocatePlayingRow();
         view_->setFocus();
       }},
      {Command::kDelete, [&ops] { ops.RunFileOperation(kOpDelete); }},
      {Command::kMove, [&ops] { ops.RunFileOperation(kOpMove); }},
      {Command::kCopy, [&ops] { ops.RunFileOperation(kOpCopy); }},
      {Command::kRemoveRows, [&ops] { ops.RunFileOperation(kOpRemoveRows); }},
      {Command::kRemoveAll, [&ops] { ops.RemoveAllRows(); }},
      {Command::kCopyNames, [&ops] { ops.RunFileOperation(kOpCopyNames); }},
      {Command::kCopyPaths, [&ops] { ops.RunFileOperation(kOpCopyPaths); }},
      {Command::kRenameInPlace,
       [this, &list] {
         const int row = list.CurrentRow();
         if (row < 0 || LongJobGuard::Busy()) return;
         view_->setFocus();
         view_->edit(list.index(row, SoundList::kNameColumn));
       }},
      {Command::kShowInFileManager, [&ops] { ops.ShowCurrentInFileManager(); }},
      {Command::kSaveListNow, [this] { SaveListNow(); }},
      {Command::kOpenFind,
       [this] { FindWindow::ShowFor(findWindow_, *context_, *finder_, this); }},
      {Command::kFindNext, [this] { finder_->FindStep(false); }},
      {Command::kFindPrevious, [this] { finder_->FindStep(true); }},
      {Command::kSetFindPoint, [this] { finder_->SetFindPoint(false); }},
      {Command::kOpenSearchDir,
       [this] { status_->SetMessage(QStringLiteral("检索目录窗口尚未提供")); }},
      {Command::kOpenBatchRename,
       [this] { status_->SetMessage(QStringLiteral("批量改名窗口尚未提供")); }},
      {Command::kAbout, [this] { AboutWindow::ShowFor(aboutWindow_, this); }},
      {Command::kExit, [this] { close(); }},
      {Command::kPopupImportMenu, [this] { PopupMenu(importMenu_); }},
      {Command::kPopupPlayMenu, [this] { PopupMenu(playMenu_); }},
      {Command::kPopupMoveMenu, [this] { PopupMenu(moveMenu_); }},
  };
}

void MainWindow::ConnectList() {
  list_->SetRenameHandler(
      [this](int row, const QString& text) { return fileOps_->RenameRowFile(row, text); });
  connect(list_.get(), &SoundList::currentRowChanged, this,
          [this] { player_->OnCurrentRowChanged(); });
  connect(list_.get(), &SoundList::scrollToRowRequested, this, [this](int row) {
    view_->scrollTo(list_->index(row, SoundList::kNameColumn));
  });
  connect(view_, &QAbstractItemView::doubleClicked, this, [this] { player_->OnDoubleClick(); });
  connect(view_, &QAbstractItemView::clicked, this, [this] { hover_->OnClick(); });
  connect(view_, &SoundListView::rowUnderMouse, this,
          [this](int row) { hover_->OnRowUnderMouse(row); });
  connect(view_, &SoundListView::leftButtonPressed, this, [this] { hover_->OnLeftButtonDown(); });
  connect(view_, &SoundListView::leftButtonReleased, this, [this] { hover_->OnLeftButtonUp(); });
  connect(view_->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int column) { sorter_->SortByColumn(*list_, *status_, column); });
  hover_->SetCursorHandler([this](HoverTracker::Cursor cursor) {
    if (cursor == HoverTracker::Cursor::kDefault)
      view_->viewport()->unsetCursor();
    else
      view_->viewport()->setCursor(DragCursor(cursor == HoverTracker::Cursor::kExchange));
  });
  view_->SetKeyHandler([this](int key, int modifiers) {
    const ListKeyResult result = HandleListKey(key, modifiers);
    if (result.command != Command::kNone) RunCommand(result.command);
    return result.passOn;
  });
  connect(toolbar_, &MainToolbar::entryClicked, this, &MainWindow::OnToolbarClick);
  connect(toolbar_, &MainToolbar::arrowClicked, this, &MainWindow::OnToolbarArrow);
}

void MainWindow::RunCommand(Command command) {
  const auto found = commands_.find(command);
  if (found != commands_.end()) found->second();
}

void MainWindow::OnToolbarClick(int index) {
  const auto& entries = ToolbarEntries();
  if (index < 0 || index >= static_cast<int>(entries.size())) return;
  RunCommand(entries[static_cast<size_t>(index)].click);
}

void MainWindow::OnToolbarArrow(int index) {
  const auto& entries = ToolbarEntries();
  if (index < 0 || index >= static_cast<int>(entries.size())) return;
  RunCommand(entries[static_cast<size_t>(index)].arrow);
}

void MainWindow::PopupMenu(QMenu* menu) { menu->popup(QCursor::pos()); }

QMenu* MainWindow::Menu(const QString& name) const {
  for (QMenu* menu : {playMenu_, importMenu_, moveMenu_, iconMenu_})
    if (menu->objectName() == name) return menu;
  return nullptr;
}

QAction* MainWindow::MenuItem(const QString& caption) const {
  for (QMenu* menu : {playMenu_, importMenu_, moveMenu_, iconMenu_})
    for (QAction* item : menu->actions())
      if (item->text() == caption) return item;
  return nullptr;
}

QWidget* MainWindow::OpenFindWindow() const { return findWindow_.data(); }
QWidget* MainWindow::OpenAboutWindow() const { return aboutWindow_.data(); }

void MainWindow::ChooseListIcons(QAction* chosen) {
  for (const QString& caption : {kIconNone, kIcon16, kIcon32, kIcon48})
    checks_.items.value(caption)->setChecked(checks_.items.value(caption) == chosen);
  ApplyListIcons();
}

void MainWindow::ApplyListIcons() {
  int size = 0;
  if (checks_.IsChecked(kIcon16)) size = 16;
  if (checks_.IsChecked(kIcon32)) size = 32;
  if (checks_.IsChecked(kIcon48)) size = 48;
  list_->SetRowIcon(size ? QVariant(RowIcon(size)) : QVariant());
  view_->setIconSize(QSize(size, size));
  view_->verticalHeader()->setDefaultSectionSize(
      std::max(view_->fontMetrics().height() + 6, size + 4));
}

void MainWindow::LayoutMainWindow() {
  const int toolbarHeight = toolbar_->sizeHint().height();
  const int statusHeight = statusBar_->sizeHint().height();
  toolbar_->setGeometry(0, 0, width(), toolbarHeight);
  statusBar_->setGeometry(0, height() - statusHeight, width(), statusHeight);
  view_->setGeometry(0, toolbarHeight, width(), height() - toolbarHeight - statusHeight);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayoutMainWindow();
}

void MainWindow::SaveListNow() {
  SaveListFile(*list_, ListFilePath(context_->configDir));
  ShowMessage(QStringLiteral("OK!"));
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (LongJobGuard::Busy()) {
    // End the running job cleanly first, then close.
    LongJobGuard::RequestStop();
    event->ignore();
    QTimer::singleShot(20, this, [this] { close(); });
    return;
  }
  player_->StopPlayback(false);
  SaveMainSettings();
  settingsSaved_ = true;
  event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) paths << url.toLocalFile();
  if (paths.isEmpty()) return;
  event->acceptProposedAction();
  fileOps_->AddDroppedFiles(paths);
}

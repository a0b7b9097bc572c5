// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QStatusBar>
#include <QUrl>

#include "app/AboutWindow.h"
#include "app/Application.h"
#include "app/MainToolbar.h"
#include "find/gui/FindWindow.h"
#include "list/ListFile.h"
#include "list/gui/SoundListController.h"
#include "list/gui/SoundListView.h"
#include "platform/Dialogs.h"
#include "platform/LongJob.h"
#include "platform/NativePath.h"
#include "platform/ScriptedDialogs.h"
#include "platform/SoundOutput.h"
#include "rename/gui/BatchRenameWindow.h"
#include "scan/gui/SearchDirWindow.h"
#include "settings/ConfigDir.h"
#include "settings/gui/OptionBinder.h"
#include "ui/Artwork.h"
#include "ui/ToolWindow.h"

MainWindow::MainWindow(Application& app, QWidget* parent) : QWidget(parent), app_(app) {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(QStringLiteral("Plinkbox(Qorb) v1.0"));
  setWindowIcon(ApplicationIcon());
  setAcceptDrops(true);  // 拖放对象1: files dropped anywhere on the window

  toolbar_ = new MainToolbar(this);
  view_ = new SoundListView(this);
  listController_ =
      new SoundListController(*view_, app_.List(), app_.Status(), app_.Sound(), app_.GetPlayer(),
                              app_.Options().play, ListKeyBindings());
  view_->setGeometry(0, 64, 827, 345);

  statusBar_ = new QStatusBar(this);
  statusBar_->setObjectName(QStringLiteral("状态条"));
  statusBar_->setSizeGripEnabled(false);
  countPart_ = new QLabel(statusBar_);
  countPart_->setObjectName(QStringLiteral("计数部分"));
  countPart_->setFixedWidth(100);
  countPart_->setTextFormat(Qt::PlainText);
  messagePart_ = new QLabel(statusBar_);
  messagePart_->setObjectName(QStringLiteral("消息部分"));
  messagePart_->setMinimumWidth(1);
  // File names are text, never markup.
  messagePart_->setTextFormat(Qt::PlainText);
  // Room below the baseline, so underscores and descenders show whole.
  for (QLabel* part : {countPart_, messagePart_})
    part->setMinimumHeight(part->fontMetrics().height() + 4);
  statusBar_->addWidget(countPart_);
  statusBar_->addWidget(messagePart_, 1);
  StatusTexts& status = app_.Status();
  countPart_->setText(status.Count());
  messagePart_->setText(status.Message());
  connect(&status, &StatusTexts::countChanged, countPart_, &QLabel::setText);
  connect(&status, &StatusTexts::messageChanged, messagePart_, &QLabel::setText);

  BuildMenus();
  ConnectList();
  connect(&LongJobSignals::Instance(), &LongJobSignals::busyChanged, this, &MainWindow::ShowBusy);
  move(50, 50);
  resize(835, 485);
  settingsBindings_ = BindSettings();
  LoadMainSettings();
  // A settings file that could not be read was set aside: say so once.
  if (const QString notice = app_.Settings().TakeRecoveryNotice(); !notice.isEmpty())
    app_.Status().SetMessage(notice);
  // The keyboard commands are the list's keys: the list has the focus from the start.
  setFocusProxy(view_);
  view_->setFocus();
}

MainWindow::~MainWindow() {
  if (!settingsSaved_) SaveMainSettings();
  if (attendedDialogs_) InstallDialogs(std::move(attendedDialogs_));
}

SoundList& MainWindow::List() { return app_.List(); }
Player& MainWindow::GetPlayer() { return app_.GetPlayer(); }

void MainWindow::ConnectList() {
  SoundList& list = app_.List();
  Player& player = app_.GetPlayer();
  list.SetRenameHandler(
      [this](int row, const QString& text) { return app_.FileOps().RenameRowFile(row, text); });
  connect(&list.Selection(), &RowSelection::currentRowChanged, this,
          [&player] { player.OnCurrentRowChanged(); });
  connect(listController_, &SoundListController::rowActivated, this,
          [&player] { player.OnDoubleClick(); });
  connect(listController_, &SoundListController::commandKeyPressed, this, &MainWindow::RunCommand);
  connect(toolbar_, &MainToolbar::entryClicked, this, &MainWindow::OnToolbarClick);
  connect(toolbar_, &MainToolbar::arrowClicked, this, &MainWindow::OnToolbarArrow);
}

void MainWindow::Run(const CommandRow& row) {
  if (row.changesFiles && LongJobGuard::Busy()) return;
  if (row.run) row.run(*this, row);
}

void MainWindow::RunCommand(Command command) {
  if (const CommandRow* row = FindCommandRow(command)) Run(*row);
}

void MainWindow::OnToolbarClick(int index) {
  if (const CommandRow* row = ToolbarRow(index, false)) Run(*row);
}

void MainWindow::OnToolbarArrow(int index) {
  if (const CommandRow* row = ToolbarRow(index, true)) Run(*row);
}

void MainWindow::ShowBusy(bool busy) {
  for (const CommandRow& row : CommandTable()) {
    if (!row.changesFiles) continue;
    if (QAction* item = items_.value(&row)) item->setEnabled(!busy);
    if (row.toolbar.index >= 0 && !row.toolbar.arrow)
      if (QWidget* button = toolbar_->Button(row.toolbar.index)) button->setEnabled(!busy);
  }
  view_->Header()->setSectionsClickable(!busy);
  if (!busy && closeWhenJobEnds_) {
    closeWhenJobEnds_ = false;
    // Closed once the job's own code has returned, not from inside its last lines.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
  }
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
  SaveListFile(app_.List(), ListFilePath(app_.ConfigDir()));
  ShowMessage(QStringLiteral("OK!"));
}

void MainWindow::StartRenameInPlace() {
  const int row = app_.List().Selection().CurrentRow();
  if (row < 0) return;
  view_->setFocus();
  view_->edit(app_.List().index(row, SoundList::kNameColumn));
}

void MainWindow::ShowFindWindow() {
  ShowToolWindow(findWindow_, [this] { return new FindWindow(app_.GetFinder(), this); });
}

void MainWindow::ShowSearchDirWindow() {
  ShowToolWindow(searchDirWindow_, [this] {
    return new SearchDirWindow(app_.Settings(), app_.Scan(), app_.Tooltips(), this);
  });
}

void MainWindow::ShowBatchRenameWindow() {
  ShowToolWindow(batchRenameWindow_, [this] {
    return new BatchRenameWindow(app_.Settings(), app_.Renamer(), app_.Undo(), app_.List(), this);
  });
}

void MainWindow::ShowAboutWindow() {
  ShowToolWindow(aboutWindow_, [this] {
    auto* about = new AboutWindow(this);
    about->adjustSize();
    about->move(geometry().center() - about->rect().center());
    return about;
  });
}

void MainWindow::FocusList() { view_->setFocus(); }

QWidget* MainWindow::OpenFindWindow() const { return findWindow_.data(); }
QWidget* MainWindow::OpenAboutWindow() const { return aboutWindow_.data(); }
QWidget* MainWindow::OpenSearchDirWindow() const { return searchDirWindow_.data(); }
QWidget* MainWindow::OpenBatchRenameWindow() const { return batchRenameWindow_.data(); }

void MainWindow::closeEvent(QCloseEvent* event) {
  if (LongJobGuard::Busy()) {
    // The running job ends cleanly first; its end closes the window.
    LongJobGuard::RequestStop();
    closeWhenJobEnds_ = true;
    AnswerUnattended();
    event->ignore();
    return;
  }
  app_.GetPlayer().StopPlayback(false);
  SaveMainSettings();
  settingsSaved_ = true;
  event->accept();
}

void MainWindow::AnswerUnattended() {
  // A signal or the session's end may close with nobody there to answer what the job still
  // shows or asks: a notice counts as read and a question as cancelled, without a dialog; one
  // already open is closed the same way.
  if (!attendedDialogs_) attendedDialogs_ = InstallDialogs(std::make_unique<ScriptedDialogs>());
  if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  // Rows dragged out and brought back are files the list already holds.
  if (event->source()) return;
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  QStringList paths;
  // From the URLs' bytes: a name that is not UTF-8 must still name its file.
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) paths << PathFromFileUrl(url);
  if (paths.isEmpty()) return;
  event->acceptProposedAction();
  app_.FileOps().AddDroppedFiles(paths);
}

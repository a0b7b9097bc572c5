// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/gui/SoundListController.h"

#include "core/StatusTexts.h"
#include "list/SoundList.h"
#include "list/gui/SoundListView.h"
#include "platform/SoundOutput.h"
#include "ui/Artwork.h"

SoundListController::SoundListController(SoundListView& view, SoundList& list, StatusTexts& status,
                                         SoundOutput& sound, Player& player,
                                         const PlayOptions& options, std::vector<KeyBinding> keys)
    : QObject(&view),
      view_(view),
      list_(list),
      status_(status),
      hover_(list, options, player),
      keys_(std::move(keys)) {
  view.ShowList(list);
  view.setColumnWidth(SoundList::kNameColumn, 200);
  view.setColumnWidth(SoundList::kSizeColumn, 100);
  view.setColumnWidth(SoundList::kDirectoryColumn, 400);
  view.Header()->SetMarks([this](int column) { return sorter_.Mark(column); });
  view.SetNameToolTip([&sound, &list](int row) { return sound.Describe(list.RowFullPath(row)); });
  connect(&list.Selection(), &RowSelection::scrollToRowRequested, this,
          [this](int row) { view_.scrollTo(list_.index(row, SoundList::kNameColumn)); });
  connect(&view, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& index) { Q_EMIT rowActivated(index.row()); });
  connect(view.Header(), &QHeaderView::sectionClicked, this, &SoundListController::SortByColumn);
  view.SetKeyHandler([this](int key, int modifiers) {
    const ListKeyResult result = HandleListKey(keys_, key, modifiers);
    if (result.command != Command::kNone) Q_EMIT commandKeyPressed(result.command);
    return result.passOn;
  });
  ConnectMouse();
}

void SoundListController::ConnectMouse() {
  connect(&view_, &QAbstractItemView::clicked, this, [this] { hover_.OnClick(); });
  connect(&view_, &SoundListView::rowUnderMouse, this,
          [this](int row) { hover_.OnRowUnderMouse(row); });
  connect(&view_, &SoundListView::leftButtonPressed, this, [this] { hover_.OnLeftButtonDown(); });
  connect(&view_, &SoundListView::leftButtonReleased, this, [this] { hover_.OnLeftButtonUp(); });
  connect(&view_, &SoundListView::dragLeftList, this, [this] { hover_.OnDragLeftList(); });
  hover_.SetDragOutHandler([this](const QStringList& paths) { view_.DragFilesOut(paths); });
  hover_.SetCursorHandler([this](HoverTracker::Cursor cursor) {
    if (cursor == HoverTracker::Cursor::kDefault)
      view_.viewport()->unsetCursor();
    else
      view_.viewport()->setCursor(DragCursor(cursor == HoverTracker::Cursor::kExchange));
  });
}

void SoundListController::SortByColumn(int column) {
  sorter_.SortByColumn(list_, column, [this](const QString& text) { status_.SetMessage(text); });
  view_.Header()->viewport()->update();
  // The selection moved with its files, so the current row's position may have changed.
  UpdateCountPart(status_, list_.Selection());
}

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/Player.h"

#include <QPersistentModelIndex>

#include "core/StatusTexts.h"
#include "list/RowSelection.h"
#include "list/SoundList.h"
#include "platform/EventPump.h"
#include "platform/SoundOutput.h"
#include "settings/MainOptions.h"

void Player::PlayRow(std::optional<int> row, bool leaveSelection) {
  RowSelection& selection = list_.Selection();
  int r = row.value_or(-1);
  // The event round below may remove or move rows: the row asked for is followed through it.
  const bool follow = row && r >= 0 && r < list_.RowCount();
  const QPersistentModelIndex followed(follow ? list_.index(r, 0) : QModelIndex());
  const unsigned request = ++playRequests_;
  StopPlayback();
  PumpEventsNow();
  // A hover or key handled in that event round played a newer row; this request is stale.
  if (request != playRequests_) return;
  if (!row) {
    r = selection.CurrentRow();
  } else if (follow) {
    if (!followed.isValid()) return;  // its row was removed meanwhile: stale as well
    r = followed.row();
  }

  if (!leaveSelection) {
    selectingForPlay_ = true;
    selection.SelectOnly(r);
    selectingForPlay_ = false;
  }
  const bool inList = r >= 0 && r < list_.RowCount();
  status_.SetCount(selection.CountText(r));
  status_.SetMessage(QStringLiteral("播放 ") + (inList ? list_.RowFileName(r) : QString()));
  playingRow_ = r;
  if (!inList) return;

  const bool once = options_.once.Value();
  // The content decides the decoder; silence is explained after the name.
  const PlayResult result = sound_.Play(list_.RowFullPath(r), !once);
  if (result != PlayResult::Started)
    status_.SetMessage(status_.Message() + Player::ReasonText(result));
}

QString Player::ReasonText(PlayResult result) {
  const auto reason = [](const char* text) {
    return QStringLiteral("（无法播放：%1）").arg(QString::fromUtf8(text));
  };
  switch (result) {
    case PlayResult::Started:
      return {};
    case PlayResult::NoDevice:
      return reason("没有声音设备");
    case PlayResult::Missing:
      return reason("文件不存在");
    case PlayResult::Unreadable:
      return reason("无法读取文件");
    case PlayResult::NotSound:
      return reason("不是声音文件");
    case PlayResult::Unsupported:
      return reason("不支持的编码");
    case PlayResult::Damaged:
      return reason("文件已损坏");
    case PlayResult::NoSoundFont:
      return reason("没有 MIDI 音色库");
  }
  return {};
}

void Player::StopPlayback(bool withMessage) {
  sound_.Stop();
  if (withMessage) status_.SetMessage(QStringLiteral("已停止播放"));
}

void Player::LocatePlayingRow() { list_.Selection().SelectOnly(playingRow_); }

void Player::OnCurrentRowChanged() {
  if (selectingForPlay_) return;  // PlayRow writes the count and plays itself
  if (options_.onSelect.Value())
    PlayRow(std::nullopt, true);
  else
    UpdateCountPart(status_, list_.Selection());
}

void Player::OnDoubleClick() {
  if (options_.onDoubleClick.Value()) PlayRow();
}

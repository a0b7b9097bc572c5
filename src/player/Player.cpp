// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/Player.h"

#include <QPersistentModelIndex>

#include "core/AppContext.h"
#include "core/StatusTexts.h"
#include "list/RowSelection.h"
#include "list/SoundList.h"
#include "platform/EventPump.h"
#include "platform/SoundOutput.h"

void Player::PlayRow(std::optional<int> row, bool leaveSelection) {
  SoundList& list = context_.list;
  RowSelection& selection = list.Selection();
  int r = row.value_or(-1);
  // The event round below may remove or move rows: the row asked for is followed through it.
  const bool follow = row && r >= 0 && r < list.RowCount();
  const QPersistentModelIndex followed(follow ? list.index(r, 0) : QModelIndex());
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
  const bool inList = r >= 0 && r < list.RowCount();
  context_.status.SetCount(selection.CountText(r));
  context_.status.SetMessage(QStringLiteral("播放 ") + (inList ? list.RowFileName(r) : QString()));
  playingRow_ = r;
  if (!inList) return;

  const bool once = context_.options.play.once.Value();
  // The content decides the decoder; silence is explained after the name.
  const PlayResult result = context_.sound.Play(list.RowFullPath(r), !once);
  if (result != PlayResult::Started)
    context_.status.SetMessage(context_.status.Message() + Player::ReasonText(result));
}

QString Player::ReasonText(PlayResult result) {
  const auto reason = [](const char* text) {
    return QStringLiteral("（无法播放：%1）").arg(QString::fromUtf8(text));
  };
  switch (result) {
    case PlayResult::Started: return {};
    case PlayResult::NoDevice: return reason("没有声音设备");
    case PlayResult::Missing: return reason("文件不存在");
    case PlayResult::Unreadable: return reason("无法读取文件");
    case PlayResult::NotSound: return reason("不是声音文件");
    case PlayResult::Unsupported: return reason("不支持的编码");
    case PlayResult::Damaged: return reason("文件已损坏");
    case PlayResult::NoSoundFont: return reason("没有 MIDI 音色库");
  }
  return {};
}

void Player::StopPlayback(bool withMessage) {
  context_.sound.Stop();
  if (withMessage) context_.status.SetMessage(QStringLiteral("已停止播放"));
}

void Player::LocatePlayingRow() { context_.list.Selection().SelectOnly(playingRow_); }

void Player::OnCurrentRowChanged() {
  if (selectingForPlay_) return;  // PlayRow writes the count and plays itself
  if (context_.options.play.onSelect.Value())
    PlayRow(std::nullopt, true);
  else
    UpdateCountPart(context_);
}

void Player::OnDoubleClick() {
  if (context_.options.play.onDoubleClick.Value()) PlayRow();
}

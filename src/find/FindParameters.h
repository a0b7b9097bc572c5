// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

// The find options and the find point, program-wide, saved with the main settings.
struct FindParameters {
  QString text;            // 欲查找
  bool regex = false;      // 启用正则
  bool ignoreCase = true;  // 忽略大小写
  bool fuzzy = true;       // 模糊匹配
  int findPoint = -1;      // 当前位置
  bool upward = false;     // not saved
  bool playWhenFound = true;  // 找到时播放
};

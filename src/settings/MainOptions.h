// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "settings/Option.h"

// The main window's options, grouped by the section they are stored in, each with its designed
// default. The menus' check items are stored under their captions. The logic reads them
// (options.play.onHover); the main window binds them to its menu items and saves them.

struct PlayOptions {
  inline static const QString kSection = QStringLiteral("播放");
  Option<bool> once{kSection, QStringLiteral("仅播放一次"), true};
  Option<bool> onSelect{kSection, QStringLiteral("选择时发音"), true};
  Option<bool> onDoubleClick{kSection, QStringLiteral("双击时发音"), true};
  Option<bool> onHover{kSection, QStringLiteral("移过时发音"), true};
};

struct ImportOptions {
  inline static const QString kSection = QStringLiteral("导入");
  Option<bool> loadListAtStart{kSection, QStringLiteral("启动时载入上次列表"), true};
  Option<QString> lastFile{kSection, QStringLiteral("上次文件名"), QString()};
};

// The rows' icon, its value the side in pixels.
enum class RowIconSize { kNone = 0, k16 = 16, k32 = 32, k48 = 48 };

struct ListIconOptions {
  ChoiceOption<RowIconSize> size{QStringLiteral("列表图标"),
                                 {{RowIconSize::kNone, QStringLiteral("无")},
                                  {RowIconSize::k16, QStringLiteral("16x16")},
                                  {RowIconSize::k32, QStringLiteral("32x32")},
                                  {RowIconSize::k48, QStringLiteral("48x48")}},
                                 RowIconSize::k32};
};

struct MoveOptions {
  inline static const QString kSection = QStringLiteral("移动选项");
  Option<QString> lastDirectory{kSection, QStringLiteral("上次目录"), QString()};
  Option<bool> removeAfterMove{kSection, QStringLiteral("移动后移除列表"), true};
  Option<bool> smartRename{kSection, QStringLiteral("重名时智能改名"), true};
};

struct FindOptions {
  inline static const QString kSection = QStringLiteral("查找参数");
  Option<QString> text{kSection, QStringLiteral("欲查找"), QString()};
  Option<bool> regex{kSection, QStringLiteral("启用正则"), false};
  Option<bool> fuzzy{kSection, QStringLiteral("模糊匹配"), true};
  Option<bool> ignoreCase{kSection, QStringLiteral("忽略大小写"), true};
  Option<bool> playWhenFound{kSection, QStringLiteral("找到时播放"), true};
  Option<int> findPoint{kSection, QStringLiteral("当前位置"), -1};
};

struct MainOptions {
  PlayOptions play;
  ImportOptions import;
  ListIconOptions icons;
  MoveOptions move;
  FindOptions find;
};

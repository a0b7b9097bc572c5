#pragma once
#include <QString>
#include <functional>

class SoundList;
class StatusTexts;
class SoundOutput;
class CheckStates;

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

// What the logic of every area reaches: the list, the status texts, the sound output, the menu
// check marks and the program-wide state. Owned by the main window; areas keep a reference.
struct AppContext {
  SoundList& list;
  StatusTexts& status;
  SoundOutput& sound;
  const CheckStates& checks;
  QString configDir;
  QString lastImportFile;       // [导入] 上次文件名
  QString lastTargetDirectory;  // [移动选项] 上次目录
  FindParameters find;          // [查找参数]
};

// Writes "n/m" into the count part: n the current row + 1 (0 for none), m the row count.
void UpdateCountPart(AppContext& context);

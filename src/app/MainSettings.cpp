// Loading and saving the main window's settings, section by section.
#include <QAction>

#include "app/Application.h"
#include "app/MainWindow.h"
#include "core/CheckStates.h"
#include "list/ListFile.h"
#include "settings/ConfigDir.h"

namespace {
const QString kPlaySection = QStringLiteral("播放");
const QString kImportSection = QStringLiteral("导入");
const QString kIconSection = QStringLiteral("列表图标");
const QString kMoveSection = QStringLiteral("移动选项");
const QString kWindowSection = QStringLiteral("主窗口尺寸");
const QString kFindSection = QStringLiteral("查找参数");
const QString kLastFileKey = QStringLiteral("上次文件名");
const QString kLastDirectoryKey = QStringLiteral("上次目录");

const QStringList& PlayItems() {
  static const QStringList items = {Caption::kPlayOnce, Caption::kPlayOnSelect,
                                    Caption::kPlayOnDoubleClick, Caption::kPlayOnHover};
  return items;
}
const QStringList& IconItems() {
  static const QStringList items = {QStringLiteral("无"), QStringLiteral("16x16"),
                                    QStringLiteral("32x32"), QStringLiteral("48x48")};
  return items;
}
}  // namespace

void MainWindow::LoadMainSettings() {
  AppContext& c = app_.Context();
  SettingsStore& settings_ = app_.Settings();
  const SettingsStore::Batch batch(settings_);
  settings_.SetSection(kPlaySection);
  for (const QString& caption : PlayItems()) settings_.LoadMenuCheck(MenuItem(caption));

  settings_.SetSection(kImportSection);
  if (settings_.LoadMenuCheck(MenuItem(Caption::kLoadListAtStart))) {
    LoadListFile(app_.List(), ListFilePath(c.configDir), false);
    UpdateCountPart(c);
  }
  c.lastImportFile = settings_.ReadText(kLastFileKey);

  settings_.SetSection(kIconSection);
  for (const QString& caption : IconItems()) settings_.LoadMenuCheck(MenuItem(caption));
  ApplyListIcons();

  settings_.SetSection(kMoveSection);
  c.lastTargetDirectory = settings_.ReadText(kLastDirectoryKey);
  settings_.LoadMenuCheck(MenuItem(Caption::kRemoveAfterMove));
  settings_.LoadMenuCheck(MenuItem(Caption::kSmartRename));

  settings_.LoadWindowPlacement(this, kWindowSection);

  settings_.SetSection(kFindSection);
  FindParameters& f = app_.Find();
  f.text = settings_.ReadText(QStringLiteral("欲查找"));
  f.regex = settings_.ReadBool(QStringLiteral("启用正则"), false);
  f.fuzzy = settings_.ReadBool(QStringLiteral("模糊匹配"), true);
  f.ignoreCase = settings_.ReadBool(QStringLiteral("忽略大小写"), true);
  f.playWhenFound = settings_.ReadBool(QStringLiteral("找到时播放"), true);
  f.findPoint = static_cast<int>(settings_.ReadNumber(QStringLiteral("当前位置"), -1));
}

void MainWindow::SaveMainSettings() {
  const AppContext& c = app_.Context();
  SettingsStore& settings_ = app_.Settings();
  const SettingsStore::Batch batch(settings_);
  settings_.SetSection(kPlaySection);
  for (const QString& caption : PlayItems()) settings_.SaveMenuCheck(MenuItem(caption));

  settings_.SetSection(kImportSection);
  const QAction* loadAtStart = MenuItem(Caption::kLoadListAtStart);
  settings_.SaveMenuCheck(loadAtStart);
  if (loadAtStart->isChecked()) SaveListFile(app_.List(), ListFilePath(c.configDir));
  settings_.WriteText(kLastFileKey, c.lastImportFile);

  settings_.SetSection(kIconSection);
  for (const QString& caption : IconItems()) settings_.SaveMenuCheck(MenuItem(caption));

  settings_.SetSection(kMoveSection);
  settings_.WriteText(kLastDirectoryKey, c.lastTargetDirectory);
  settings_.SaveMenuCheck(MenuItem(Caption::kRemoveAfterMove));
  settings_.SaveMenuCheck(MenuItem(Caption::kSmartRename));

  settings_.SaveWindowPlacement(this, kWindowSection);

  settings_.SetSection(kFindSection);
  const FindParameters& f = app_.Find();
  settings_.WriteText(QStringLiteral("欲查找"), f.text);
  settings_.WriteBool(QStringLiteral("启用正则"), f.regex);
  settings_.WriteBool(QStringLiteral("模糊匹配"), f.fuzzy);
  settings_.WriteBool(QStringLiteral("忽略大小写"), f.ignoreCase);
  settings_.WriteBool(QStringLiteral("找到时播放"), f.playWhenFound);
  settings_.WriteNumber(QStringLiteral("当前位置"), f.findPoint);
}

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDir>
#include <QWidget>
#include <vector>

#include "scan/DirectoryScan.h"
#include "settings/Option.h"

class QCheckBox;
class QComboBox;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class SettingsStore;
class TooltipHelper;
struct OptionBinding;

// The window's settings with their designed defaults; a check box is stored under its caption.
struct SearchDirOptions {
  inline static const QString kDirectories = QStringLiteral("目录列表");
  inline static const QString kFilter = QStringLiteral("过滤");
  inline static const QString kClassify = QStringLiteral("归类");
  inline static const QString kRest = QStringLiteral("余下");
  inline static const QString kData = QStringLiteral("数据");
  Option<CheckList> directories{kDirectories,
                                kData,
                                {{QDir::homePath() + QStringLiteral("/CloudCache")},
                                 {QDir::homePath() + QStringLiteral("/声音/短音资源")}}};
  Option<bool> recurse{kDirectories, QStringLiteral("遍历子目录"), true};
  Option<QString> lastDirectory{kDirectories, QStringLiteral("上次目录"), QString()};
  Option<bool> filter{kFilter, QStringLiteral("通配过滤"), true};
  Option<QString> filterText{kFilter, kData, QStringLiteral("*.wav|*.mid")};
  Option<bool> classify{kClassify, QStringLiteral("归类路径"), true};
  Option<MultiLineText> expression{
      kClassify, kData, {QDir::homePath() + QStringLiteral("/声音/#扩展名 音频")}};
  Option<bool> copy{kClassify, QStringLiteral("拷贝为副本"), true};
  Option<bool> smartRename{kClassify, QStringLiteral("智能重命名"), true};
  Option<bool> loadList{kRest, QStringLiteral("载入文件列表"), true};
  Option<bool> clearList{kRest, QStringLiteral("清空已有列表"), true};
  Option<bool> quiet{kRest, QStringLiteral("不提示执行过程"), false};
};

// "检索目录": the directories to scan, the filter, the classification expression and the other
// scan options, and the run and stop buttons. A non-modal tool window owned by the main window;
// its state is loaded from the settings when it is created and saved when it is destroyed.
class SearchDirWindow : public QWidget, public ScanWindowPort {
  Q_OBJECT
 public:
  enum class CheckMode { kAll, kNone, kInvert };

  SearchDirWindow(SettingsStore& settings, DirectoryScan& scan, TooltipHelper& tooltips,
                  QWidget* owner);
  ~SearchDirWindow() override;

  // The directory list.
  void AddDirectoryByBrowser();
  void AddDirectoryByInput();
  void ChangeDirectory();
  void RemoveDirectory();
  void ClearDirectories();
  void SetDirectoryChecks(CheckMode mode);
  void MoveDirectory(int step);

  // What the scan reads and shows.
  int DirectoryCount() const override;
  bool DirectoryChecked(int index) const override;
  QString DirectoryText(int index) const override;
  ScanOptions ReadOptions() const override;
  bool ClearListFirst() const override;
  void SetRunning(bool running) override;
  void SetCaption(const QString& caption) override;

 protected:
  // A scan of this window is asked to stop, and the window closes once it has returned.
  void closeEvent(QCloseEvent* event) override;
  // The token list hides when it loses the focus.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void CreateFilterControls();  // and the classification
  void CreateRunControls();     // the other settings and the buttons
  void ConnectControls();
  void AttachTooltips(TooltipHelper& tooltips);
  std::vector<OptionBinding> BindSettings();
  void AppendDirectory(const QString& text, bool checked);
  int SelectedIndex() const;
  void ToggleTokenList();
  void ChooseToken(const QListWidgetItem* item);
  // True when every checked directory was walked.
  bool Run();

  SettingsStore& settings_;
  DirectoryScan& scan_;
  SearchDirOptions options_;
  bool scanning_ = false;
  bool closeAfterScan_ = false;

  QListWidget* 列表框目录_ = nullptr;
  QCheckBox* 选择框遍历_ = nullptr;
  QCheckBox* 选择框过滤_ = nullptr;
  QComboBox* 组合框过滤_ = nullptr;
  QCheckBox* 选择框归类_ = nullptr;
  QPlainTextEdit* 编辑框归类_ = nullptr;
  QPushButton* 按钮功能符插入_ = nullptr;
  QListWidget* 列表框功能符_ = nullptr;
  QCheckBox* 选择框拷贝_ = nullptr;
  QCheckBox* 选择框改名_ = nullptr;
  QCheckBox* 选择框载入列表_ = nullptr;
  QCheckBox* 选择框载入前清空_ = nullptr;
  QCheckBox* 选择框不提示_ = nullptr;
  QPushButton* 按钮执行并关闭_ = nullptr;
  QPushButton* 按钮执行_ = nullptr;
  QPushButton* 按钮停止_ = nullptr;
  std::vector<OptionBinding> settingsBindings_;  // gone before the options and controls
};

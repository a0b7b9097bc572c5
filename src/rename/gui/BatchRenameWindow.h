// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "rename/BatchRename.h"

class QAction;
class QCheckBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;
class SettingsStore;
class SoundList;
struct SettingRow;

// "批量更改文件名": one rename rule per tab, a preview of old and new names, execution and undo
// of the last execution. A non-modal tool window over the main list's rows as they are at each
// run; its controls are loaded from the settings when it is created and saved when destroyed.
class BatchRenameWindow : public QWidget {
  Q_OBJECT
 public:
  // undo is the renamer's program-wide undo list, read to know whether there is anything to undo.
  BatchRenameWindow(SettingsStore& settings, BatchRenamer& renamer, const UndoList& undo,
                    const SoundList& list, QWidget* owner);
  ~BatchRenameWindow() override;

  // The rule of the current tab as the controls stand.
  RenameRule ReadRule() const;
  void AutoPreview();
  void ApplyPreviewPane();
  void UpdatePreview();
  void ExecuteRename();
  void UndoRename();
  // Replaces the selection of 编辑框组合, whichever tab is showing.
  void InsertToken(const QString& token);

 protected:
  // A run of this window is asked to stop, and the window closes once it has returned.
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateNumberPage(QWidget* page);
  void CreateReplacePage(QWidget* page);
  void CreateInsertPage(QWidget* page);
  void CreateDeletePage(QWidget* page);
  void CreateRegexPage(QWidget* page);
  void CreateMorePage(QWidget* page);
  void CreateButtonsAndPreview();
  void CreateMenus();
  void ConnectControls();
  std::vector<SettingRow> SettingsTable();
  // True on tab 更多, where no rule applies; says so unless the window is setting up.
  bool RefuseMoreTab() const;
  std::vector<int> Rows() const;
  // Runs a job of the renamer, telling closeEvent that the window is on the stack meanwhile.
  std::optional<RunResult> RunOwnJob(const std::function<std::optional<RunResult>()>& job);
  // Reports a run that happened, then closes the window if that was asked during the run.
  void FinishRun(const QString& message);

  SettingsStore& settings_;
  BatchRenamer& renamer_;
  const UndoList& undo_;
  const SoundList& list_;
  bool settingUp_ = true;
  bool running_ = false;
  bool closeAfterRun_ = false;

  QTabWidget* 选择夹_ = nullptr;
  QLineEdit* 编辑框起始值_ = nullptr;
  QLineEdit* 编辑框间隔值_ = nullptr;
  QRadioButton* 单选框字母_ = nullptr;
  QRadioButton* 单选框数字_ = nullptr;
  QCheckBox* 选择框小写_ = nullptr;
  QCheckBox* 选择框补零_ = nullptr;
  QCheckBox* 选择框组合_ = nullptr;
  QPlainTextEdit* 编辑框组合_ = nullptr;
  QPushButton* 按钮插入符号_ = nullptr;
  QLineEdit* 编辑框欲替换_ = nullptr;
  QLineEdit* 编辑框替换为_ = nullptr;
  QLineEdit* 编辑框替换次数_ = nullptr;
  QCheckBox* 选择框区分大小写_ = nullptr;
  QLineEdit* 编辑框插入位置_ = nullptr;
  QLineEdit* 编辑框插入字符_ = nullptr;
  QCheckBox* 选择框逆向插入_ = nullptr;
  QCheckBox* 选择框超出不插_ = nullptr;
  QLineEdit* 编辑框删除位置_ = nullptr;
  QLineEdit* 编辑框删除数目_ = nullptr;
  QLineEdit* 编辑框替换字符_ = nullptr;
  QCheckBox* 选择框逆向删除_ = nullptr;
  QLineEdit* 编辑框匹配式_ = nullptr;
  QLineEdit* 编辑框替换式_ = nullptr;
  QCheckBox* 选择框忽略大小写_ = nullptr;
  QCheckBox* 选择框全局匹配_ = nullptr;

  QPushButton* 按钮执行_ = nullptr;
  QPushButton* 按钮改名选项_ = nullptr;
  QPushButton* 按钮预览_ = nullptr;
  QPushButton* 按钮撤销_ = nullptr;
  QPushButton* 按钮关闭_ = nullptr;
  QLineEdit* 编辑框预览数目_ = nullptr;
  QCheckBox* 选择框自动预览_ = nullptr;
  QPushButton* 按钮更新预览_ = nullptr;
  QTreeWidget* 列表框预览_ = nullptr;

  QMenu* 改名选项_ = nullptr;
  QAction* 仅修改选定文件_ = nullptr;
  QMenu* 插入符号_ = nullptr;
};

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "rename/BatchRenamer.h"
#include "settings/Option.h"

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
struct OptionBinding;

// The window's settings with their designed defaults; a check box, radio button or menu item is
// stored under its caption.
struct BatchRenameOptions {
  inline static const QString kMisc = QStringLiteral("杂务");
  inline static const QString kNumber = QStringLiteral("编号");
  inline static const QString kReplace = QStringLiteral("替换");
  inline static const QString kInsert = QStringLiteral("插入");
  inline static const QString kDelete = QStringLiteral("删除");
  Option<int> tab{kMisc, QStringLiteral("选项卡序号"), 0};
  Option<bool> selectedOnly{kMisc, QStringLiteral("仅修改选定文件"), false};
  Option<bool> autoPreview{kMisc, QStringLiteral("自动预览"), true};
  Option<QString> previewCount{kMisc, QStringLiteral("预览数目"), QStringLiteral("20")};
  Option<QString> start{kNumber, QStringLiteral("起始值"), QStringLiteral("1")};
  Option<QString> step{kNumber, QStringLiteral("间隔值"), QStringLiteral("1")};
  Option<bool> letters{kNumber, QStringLiteral("字母"), false};
  Option<bool> digits{kNumber, QStringLiteral("数字"), true};
  Option<bool> lowerCase{kNumber, QStringLiteral("小写"), false};
  Option<bool> zeroFill{kNumber, QStringLiteral("补零"), true};
  Option<bool> combine{kNumber, QStringLiteral("高级组合 (可插入“#编号”代表编号值)"), false};
  Option<MultiLineText> combination{
      kNumber, QStringLiteral("组合表达式"), {QStringLiteral("#主名_#编号.#扩展名")}};
  Option<QString> find{kReplace, QStringLiteral("欲替换"), QString()};
  Option<QString> replaceWith{kReplace, QStringLiteral("替换为"), QString()};
  Option<QString> replaceCount{kReplace, QStringLiteral("替换次数"), QStringLiteral("-1")};
  Option<bool> matchCase{kReplace, QStringLiteral("区分大小写"), false};
  Option<QString> insertAt{kInsert, QStringLiteral("插入位置"), QStringLiteral("1")};
  Option<QString> insertText{kInsert, QStringLiteral("插入字符"), QString()};
  Option<bool> insertBackward{kInsert, QStringLiteral("逆向插入"), false};
  Option<bool> skipBeyond{kInsert, QStringLiteral("超出范围不插入"), false};
  Option<QString> deleteAt{kDelete, QStringLiteral("删除位置"), QStringLiteral("1")};
  Option<QString> deleteCount{kDelete, QStringLiteral("删除数目"), QStringLiteral("2")};
  Option<QString> deleteReplace{kDelete, QStringLiteral("替换字符"), QString()};
  Option<bool> deleteBackward{kDelete, QStringLiteral("逆向删除"), false};
  // The regular-expression keys belong to section 替换.
  Option<QString> pattern{kReplace, QStringLiteral("匹配式"), QString()};
  Option<QString> replacement{kReplace, QStringLiteral("替换式"), QString()};
  Option<bool> ignoreCase{kReplace, QStringLiteral("忽略大小写"), false};
  Option<bool> global{kReplace, QStringLiteral("全局匹配"), false};
};

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
  std::vector<OptionBinding> BindSettings();
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
  BatchRenameOptions options_;
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
  std::vector<OptionBinding> settingsBindings_;  // gone before the options and controls
};

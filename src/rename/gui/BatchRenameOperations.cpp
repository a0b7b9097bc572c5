// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <algorithm>
#include <utility>

#include "list/SoundList.h"
#include "match/RegexMatcher.h"
#include "platform/Dialogs.h"
#include "platform/LongJob.h"
#include "platform/NativePath.h"
#include "rename/gui/BatchRenameWindow.h"
#include "settings/SettingsStore.h"
#include "text/SizeTexts.h"

namespace {

constexpr int kMoreTab = 5;

// A decimal number, truncated toward zero; empty or other text reads as 0.
int DecimalOf(const QString& text) {
  bool ok = false;
  const double value = text.trimmed().toDouble(&ok);
  return ok ? TruncToInt32(value) : 0;
}

}  // namespace

RenameRule BatchRenameWindow::ReadRule() const {
  RenameRule rule;
  rule.kind = RuleKind(std::clamp(选择夹_->currentIndex(), 0, int(RuleKind::RegexRule)));
  rule.start = DecimalOf(编辑框起始值_->text());
  rule.interval = DecimalOf(编辑框间隔值_->text());
  rule.format = {单选框字母_->isChecked(), 选择框小写_->isChecked(), 选择框补零_->isChecked()};
  rule.useExpression = 选择框组合_->isChecked();
  rule.expression = 编辑框组合_->toPlainText();
  rule.findText = 编辑框欲替换_->text();
  rule.replaceWith = 编辑框替换为_->text();
  rule.replaceCount = DecimalOf(编辑框替换次数_->text());
  rule.caseSensitive = 选择框区分大小写_->isChecked();
  rule.insertPosition = DecimalOf(编辑框插入位置_->text());
  rule.insertText = 编辑框插入字符_->text();
  rule.insertFromEnd = 选择框逆向插入_->isChecked();
  rule.skipOutOfRange = 选择框超出不插_->isChecked();
  rule.deletePosition = DecimalOf(编辑框删除位置_->text());
  rule.deleteCount = DecimalOf(编辑框删除数目_->text());
  rule.deleteReplacement = 编辑框替换字符_->text();
  rule.deleteFromEnd = 选择框逆向删除_->isChecked();
  rule.pattern = 编辑框匹配式_->text();
  rule.regexReplacement = 编辑框替换式_->text();
  rule.ignoreCase = 选择框忽略大小写_->isChecked();
  rule.global = 选择框全局匹配_->isChecked();
  return rule;
}

std::vector<int> BatchRenameWindow::Rows() const {
  return RunRows(list_, 仅修改选定文件_->isChecked());
}

bool BatchRenameWindow::RefuseMoreTab() const {
  if (选择夹_->currentIndex() != kMoreTab) return false;
  if (!settingUp_) ShowMessage(QStringLiteral("请切换到有效页！"));
  return true;
}

void BatchRenameWindow::AutoPreview() {
  if (按钮预览_->isChecked() && 选择框自动预览_->isChecked()) UpdatePreview();
}

void BatchRenameWindow::ApplyPreviewPane() {
  const bool shown = 按钮预览_->isChecked();
  // Hidden, the window ends just above the preview row.
  const QRect list = 列表框预览_->geometry();
  setFixedSize(width(), shown ? list.y() + list.height() + 10 : 按钮更新预览_->y());
  按钮预览_->setText(shown ? QStringLiteral("预览↑(&Y)") : QStringLiteral("预览↓(&Y)"));
  if (shown) UpdatePreview();
}

void BatchRenameWindow::UpdatePreview() {
  if (RefuseMoreTab()) return;
  列表框预览_->clear();
  const int limit = DecimalOf(编辑框预览数目_->text());
  if (limit < 1) {
    ShowMessage(QStringLiteral("预览数目至少为 1"));
    return;
  }
  const std::vector<PreviewPair> pairs =
      renamer_.RenameRun(ReadRule(), Rows(), RunMode::PreviewMode, limit).preview;
  QList<QTreeWidgetItem*> items;
  items.reserve(qsizetype(pairs.size()));
  for (const PreviewPair& pair : pairs) {
    auto* item =
        new QTreeWidgetItem(QStringList{DisplayName(pair.oldName), DisplayName(pair.newName)});
    if (pair.failure != RenameFailure::kNone) {
      for (int column : {0, 1}) {
        item->setForeground(column, QBrush(Qt::red));
        item->setToolTip(column, FailureText(pair.failure));
      }
    }
    items << item;
  }
  // One insertion, painted once.
  列表框预览_->setUpdatesEnabled(false);
  列表框预览_->addTopLevelItems(items);
  列表框预览_->setUpdatesEnabled(true);
}

void BatchRenameWindow::ExecuteRename() {
  if (RefuseMoreTab()) return;
  if (!undo_.empty() &&
      ShowMessage(QStringLiteral("存在上次改名的支持撤销的记录，是否继续改名？继续则新的撤销记录将"
                                 "覆盖上次的（仅支持当次改名撤销，无限撤销和高级改名功能请用"
                                 "《Morvane》）"),
                  Dialogs::kOkCancel) != Dialogs::kAnswerOk)
    return;
  const RenameRule rule = ReadRule();
  const std::vector<int> rows = Rows();
  const std::optional<RunResult> result =
      RunOwnJob([&] { return renamer_.RenameRun(rule, rows, RunMode::ExecuteMode).result; });
  if (!result) return;
  FinishRun(QStringLiteral("批量改名完毕，共 %1 条记录，其中失败 %2 条，耗时 %3")
                .arg(QString::number(result->rows), QString::number(result->failures),
                     FormatElapsedTime(result->elapsedMs)) +
            GivenUpNote(result->givenUp));
}

void BatchRenameWindow::UndoRename() {
  if (undo_.empty()) {
    ShowMessage(
        QStringLiteral("当前不存在支持撤销的记录！（仅支持改名后的当次撤销，撤销后记录清零）"));
    return;
  }
  const std::optional<RunResult> result = RunOwnJob([this] { return renamer_.UndoLast(); });
  if (!result) return;
  const QString retryHint =
      result->failures > 0
          ? QStringLiteral("(失败的项目可能因为文件被占用，可在外部调整后重试直到全部修改成功！)")
          : QString();
  FinishRun(QStringLiteral("撤销完毕，共 %1 条记录，其中失败 %2 条%3，耗时 %4")
                .arg(QString::number(result->rows), QString::number(result->failures), retryHint,
                     FormatElapsedTime(result->elapsedMs)));
}

void BatchRenameWindow::InsertToken(const QString& token) {
  编辑框组合_->insertPlainText(token);
  if (编辑框组合_->isVisible()) 编辑框组合_->setFocus();
}

std::optional<RunResult> BatchRenameWindow::RunOwnJob(
    const std::function<std::optional<RunResult>()>& job) {
  running_ = true;
  const std::optional<RunResult> result = job();
  running_ = false;
  return result;
}

void BatchRenameWindow::FinishRun(const QString& message) {
  ShowMessage(message);
  // Queued, so the window outlives the click handler that ran the job.
  if (std::exchange(closeAfterRun_, false))
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void BatchRenameWindow::closeEvent(QCloseEvent* event) {
  // The window is deleted on close; it must not go while its run is on the stack.
  if (running_) {
    LongJobGuard::RequestStop();
    closeAfterRun_ = true;
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/FileOperations.h"

#include <vector>

#include "core/StatusTexts.h"
#include "list/SoundList.h"
#include "platform/Clipboard.h"
#include "platform/ConflictFreeName.h"
#include "platform/Dialogs.h"
#include "platform/FileManager.h"
#include "platform/Files.h"
#include "platform/LongJob.h"
#include "platform/NativePath.h"
#include "settings/MainOptions.h"
#include "text/PathParts.h"

namespace {

// The name in the result message; empty for a command that is no file operation.
QString OperationName(Command command) {
  switch (command) {
    case Command::kDelete:
      return QStringLiteral("删除");
    case Command::kMove:
      return QStringLiteral("移动");
    case Command::kCopy:
      return QStringLiteral("复制");
    case Command::kRemoveRows:
      return QStringLiteral("移除（非物理删除）");
    case Command::kCopyNames:
      return QStringLiteral("复制文件名（每行一个）");
    case Command::kCopyPaths:
      return QStringLiteral("复制文件路径（每行一个）");
    default:
      return QString();
  }
}

// Copying names or paths changes neither files nor rows.
bool CopiesTexts(Command command) {
  return command == Command::kCopyNames || command == Command::kCopyPaths;
}

// The rows are snapshotted when the operation starts; a row is changed or removed only when
// it still holds the file that was worked on.
bool StillHolds(const SoundList& list, int index, const SoundRow& row) {
  if (index >= list.RowCount()) return false;
  const SoundRow& now = list.Row(index);
  return now.fileName == row.fileName && now.directory == row.directory;
}

// The names or paths of rows, joined into the clipboard as the list shows them; copied paths
// also go as URLs that keep every byte. A stop leaves the clipboard as it was rather than half
// filled.
void CopyTexts(Command command, const std::vector<SoundRow>& rows, LongJob& job) {
  QStringList collected;
  collected.reserve(static_cast<qsizetype>(rows.size()));
  for (const SoundRow& row : rows) {
    if (!job.Continue()) return;
    collected << (command == Command::kCopyNames ? row.fileName
                                                 : JoinPath(row.directory, row.fileName));
  }
  QStringList shown;
  shown.reserve(collected.size());
  for (const QString& text : collected) shown << DisplayName(text);
  const QString text = shown.join(PlatformLineBreak());
  if (command == Command::kCopyPaths) {
    SetClipboardTextAndPaths(text, collected);
  } else {
    SetClipboardText(text);
  }
}

}  // namespace

void FileOperations::RunFileOperation(Command command) {
  const QString operation = OperationName(command);
  if (operation.isEmpty()) return;
  LongJob job;
  if (!job.Acquired()) return;

  const std::vector<int> selected = list_.Selection().SelectedRows();
  if (selected.empty()) {
    ShowMessage(QStringLiteral("请先选择要操作的列表！"));
    return;
  }
  std::vector<SoundRow> rows;
  rows.reserve(selected.size());
  for (int index : selected) rows.push_back(list_.Row(index));
  const QString count = QString::number(selected.size());

  QString target;
  if (!AskFirst(command, operation, count, &target)) return;
  status_.SetMessage(QStringLiteral("正在操作，请稍后..."));
  if (CopiesTexts(command)) {
    CopyTexts(command, rows, job);
  } else {
    ChangeFiles(command, selected, rows, target, job);
  }
  status_.SetMessage(QStringLiteral("已经") + operation + u',' + count +
                     QStringLiteral(" 个文件,耗时 ") + job.ElapsedText());
  UpdateCountPart(status_, list_.Selection());
}

bool FileOperations::AskFirst(Command command, const QString& operation, const QString& count,
                              QString* target) {
  if (command == Command::kDelete) {
    return ShowMessage(QStringLiteral("确定要删除选定的 ") + count + QStringLiteral(" 个文件吗？"),
                       Dialogs::kOkCancel) == Dialogs::kAnswerOk;
  }
  if (command != Command::kMove && command != Command::kCopy) return true;
  const QString chosen =
      BrowseForFolder(options_.lastDirectory.Value(), QStringLiteral("将选定的 ") + count +
                                                          QStringLiteral(" 个文件") + operation +
                                                          QStringLiteral("到的目录："));
  if (chosen.isEmpty()) return false;
  options_.lastDirectory.Set(chosen);
  *target = WithoutTrailingSeparators(chosen);
  return true;
}

void FileOperations::ChangeFiles(Command command, const std::vector<int>& selected,
                                 const std::vector<SoundRow>& rows, const QString& target,
                                 LongJob& job) {
  std::vector<int> toRemove;
  // Last to first, as rows that may be removed are always visited.
  for (size_t i = selected.size(); i-- > 0;) {
    if (!job.Continue()) break;
    if (ChangeFile(command, selected[i], rows[i], target)) toRemove.push_back(selected[i]);
  }
  if (!toRemove.empty()) list_.RemoveRows(std::move(toRemove));
}

bool FileOperations::ChangeFile(Command command, int index, const SoundRow& row,
                                const QString& target) {
  const QString path = JoinPath(row.directory, row.fileName);
  const bool smartRename = options_.smartRename.Value();
  switch (command) {
    case Command::kDelete:
      return Files::Delete(path) && StillHolds(list_, index, row);
    case Command::kMove: {
      // With smart renaming every name, numbered or not, is taken by a move that cannot
      // replace a file appearing meanwhile.
      QString name = row.fileName;
      if (smartRename) {
        name = TakeConflictFreeName(target, row.fileName, path,
                                    [&path](const QString& to, bool* taken) {
                                      return Files::MoveNoReplace(path, to, taken);
                                    });
        if (name.isEmpty()) return false;
      } else if (!Files::Move(path, JoinPath(target, name))) {
        return false;
      }
      if (!StillHolds(list_, index, row)) return false;
      list_.SetRowDirectory(index, target);
      list_.SetRowFileName(index, name);
      return options_.removeAfterMove.Value();
    }
    case Command::kCopy:
      if (smartRename) {
        // No source path: a copy onto the file itself takes a numbered name.
        TakeConflictFreeName(target, row.fileName, QString(),
                             [&path](const QString& to, bool* taken) {
                               return Files::CopyNoReplace(path, to, taken);
                             });
      } else {
        Files::Copy(path, JoinPath(target, row.fileName));
      }
      return false;
    default:  // Command::kRemoveRows
      return StillHolds(list_, index, row);
  }
}

void FileOperations::RemoveAllRows() {
  LongJobGuard guard;
  if (!guard.Acquired()) return;
  if (ShowMessage(QStringLiteral("确定要全部移除（非物理删除）吗？"), Dialogs::kOkCancel) !=
      Dialogs::kAnswerOk) {
    return;
  }
  list_.RemoveAllRows();
  UpdateCountPart(status_, list_.Selection());
}

bool FileOperations::RenameRowFile(int row, const QString& editedText) {
  LongJobGuard guard;
  if (!guard.Acquired() || row < 0 || row >= list_.RowCount()) return false;
  const QString oldName = list_.RowFileName(row);
  // An edit ended without a change renames nothing.
  if (editedText == oldName) return true;
  const QString directory = list_.RowDirectory(row);
  if (!IsPlainName(editedText) ||
      !Files::RenameNoReplace(JoinPath(directory, oldName), JoinPath(directory, editedText))) {
    status_.SetMessage(
        QStringLiteral("文件更名失败！请检查文件名格式是否包含非法字符，或该文件是否可写！"));
    return false;
  }
  status_.SetMessage(QStringLiteral("文件【") + oldName + QStringLiteral("】更名为【") +
                     editedText + QStringLiteral("】"));
  return true;
}

void FileOperations::ShowCurrentInFileManager() {
  const int row = list_.Selection().CurrentRow();
  if (row < 0) return;
  if (!ShowInFileManager(list_.RowFullPath(row)))
    ShowMessage(QStringLiteral("无法打开文件管理器来定位该文件！"));
}

void FileOperations::AddDroppedFiles(const QStringList& paths) {
  LongJobGuard guard;
  if (!guard.Acquired()) return;
  QStringList cleaned;
  cleaned.reserve(paths.size());
  for (const QString& path : paths) {
    // A dropped directory arrives as "/a/dir/": its row is "dir" in "/a".
    const QString trimmed = path.size() > 1 ? WithoutTrailingSeparators(path) : path;
    if (!trimmed.isEmpty()) cleaned << trimmed;
  }
  if (cleaned.isEmpty()) return;
  list_.AddPaths(cleaned, false);
  UpdateCountPart(status_, list_.Selection());
  list_.Selection().ScrollIntoView(list_.RowCount() - 1);
}

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandTable.h"

#include <QStringList>

#include "app/Application.h"
#include "app/MainWindow.h"
#include "core/StatusTexts.h"
#include "fileops/FileOperations.h"
#include "find/Finder.h"
#include "list/Import.h"
#include "list/SoundList.h"
#include "player/Player.h"
#include "settings/MainOptions.h"

namespace {

using W = MainWindow;
using R = CommandRow;
using Picture = ToolbarPicture;
namespace Slot = ToolbarSlot;
constexpr KeyGroup kCS = KeyGroup::kCtrlShift;
constexpr KeyGroup kC = KeyGroup::kCtrl;
constexpr KeyGroup kO = KeyGroup::kOther;

QString s(const char16_t* text) { return QString::fromUtf16(text); }

ToolbarPlace Arrow(int slot) { return {.index = slot, .arrow = true}; }

Player& P(W& w) { return w.App().GetPlayer(); }
SoundList& L(W& w) { return w.App().List(); }
RowSelection& S(W& w) { return w.App().List().Selection(); }
FileOperations& F(W& w) { return w.App().FileOps(); }
Finder& Find(W& w) { return w.App().GetFinder(); }

// The options as designed, for their keys: a check or radio item is captioned by the key of
// the option bound to it, and takes its mark from that option.
const MainOptions& Designed() {
  static const MainOptions options;
  return options;
}

R Check(const Option<bool>& option, MenuId menu, bool separatorBefore) {
  return {.caption = option.Key(), .menu = {menu, separatorBefore}, .kind = ItemKind::kCheck};
}

// One radio item per icon size; a separator follows 无.
void AddIconRows(std::vector<R>& t) {
  bool separatorBefore = false;
  for (const auto& choice : Designed().icons.size.Choices()) {
    t.push_back({.caption = choice.key,
                 .menu = {MenuId::kIcons, separatorBefore},
                 .kind = ItemKind::kRadio,
                 .run = [](W& w, const R& r) { w.ChooseListIcons(r.caption); }});
    separatorBefore = choice.value == RowIconSize::kNone;
  }
}

// Menu 导入, with the list file, the row icons and find.
void AddImportRows(std::vector<R>& t) {
  t.push_back({.command = Command::kImport,
               .caption = s(u"选择文件..."),
               .menu = {MenuId::kImport},
               .toolbar = {.index = Slot::kImport,
                           .caption = s(u"导入"),
                           .image = Picture::kImport,
                           .tooltip = s(u"导入短音文件(Ctrl+D)")},
               .keys = {{kC, Qt::Key_O}, {kC, Qt::Key_D}},
               .help = {s(u"导入文件")},
               .changesFiles = true,
               .run = [](W& w, const R&) {
                 Option<QString>& lastFile = w.App().Options().import.lastFile;
                 QString file = lastFile.Value();
                 ImportByDialog(L(w), file);
                 lastFile.Set(file);
               }});
  t.push_back({.command = Command::kOpenSearchDir,
               .caption = s(u"检索目录..."),
               .menu = {MenuId::kImport},
               .keys = {{kC, Qt::Key_J}},
               .help = {s(u"检索目录")},
               .run = [](W& w, const R&) { w.ShowSearchDirWindow(); }});
  t.push_back(Check(Designed().import.loadListAtStart, MenuId::kImport, true));
  t.push_back({.command = Command::kSaveListNow,
               .caption = s(u"立即保存当前列表"),
               .menu = {MenuId::kImport},
               .changesFiles = true,
               .run = [](W& w, const R&) { w.SaveListNow(); }});
  t.push_back(
      {.caption = s(u"列表图标"), .menu = {MenuId::kImport, true}, .kind = ItemKind::kSubmenu});
  AddIconRows(t);
  t.push_back({.command = Command::kOpenFind,
               .caption = s(u"查找..."),
               .menu = {MenuId::kImport, true},
               .keys = {{kC, Qt::Key_F}},
               .help = {s(u"查找")},
               .run = [](W& w, const R&) { w.ShowFindWindow(); }});
  t.push_back({.command = Command::kFindNext,
               .caption = s(u"查找下一个"),
               .menu = {MenuId::kImport},
               .keys = {{kO, Qt::Key_F3}},
               .help = {s(u"查找下一个")},
               .changesFiles = true,
               .run = [](W& w, const R&) { Find(w).FindStep(false); }});
  t.push_back({.command = Command::kFindPrevious,
               .caption = s(u"查找上一个"),
               .menu = {MenuId::kImport},
               .keys = {{kO, Qt::Key_F4}},
               .help = {s(u"查找上一个")},
               .changesFiles = true,
               .run = [](W& w, const R&) { Find(w).FindStep(true); }});
  t.push_back({.command = Command::kSetFindPoint,
               .caption = s(u"置当前位置为查找点"),
               .menu = {MenuId::kImport},
               .run = [](W& w, const R&) { Find(w).SetFindPoint(false); }});
  t.push_back({.command = Command::kPopupImportMenu,
               .toolbar = Arrow(Slot::kImport),
               .run = [](W& w, const R&) { w.PopupMenu(MenuId::kImport); }});
}

// Menu 播放 and the play entries of the toolbar.
void AddPlayRows(std::vector<R>& t) {
  const PlayOptions& play = Designed().play;
  t.push_back(Check(play.once, MenuId::kPlay, false));
  t.push_back(Check(play.onSelect, MenuId::kPlay, true));
  t.push_back(Check(play.onDoubleClick, MenuId::kPlay, false));
  t.push_back(Check(play.onHover, MenuId::kPlay, false));
  t.push_back({.command = Command::kLocatePlaying,
               .caption = s(u"定位当前播放条目"),
               .menu = {MenuId::kPlay, true},
               .run = [](W& w, const R&) {
                 P(w).LocatePlayingRow();
                 w.FocusList();
               }});
  t.push_back({.command = Command::kPlayPrevious,
               .toolbar = {.index = Slot::kPrevious,
                           .caption = s(u"向上"),
                           .image = Picture::kPrevious,
                           .tooltip = s(u"播放上一条(↑)，点向下三角播放第一条(Ctrl+↑)")},
               .help = {s(u"上一条"), s(u"↑")},
               .run = [](W& w, const R&) { P(w).PlayRow(S(w).CurrentRow() - 1); }});
  t.push_back({.command = Command::kPlayFirst,
               .toolbar = Arrow(Slot::kPrevious),
               .keys = {{kC, Qt::Key_Up}},
               .help = {s(u"第一条")},
               .run = [](W& w, const R&) { P(w).PlayRow(0); }});
  t.push_back({.command = Command::kPlayCurrent,
               .toolbar = {.index = Slot::kPlay,
                           .caption = s(u"播放"),
                           .image = Picture::kPlay,
                           .tooltip = s(u"播放当前选定(空格)")},
               .keys = {{kO, Qt::Key_Space}},
               .help = {s(u"播放当前选定")},
               .run = [](W& w, const R&) { P(w).PlayRow(); }});
  t.push_back({.command = Command::kPopupPlayMenu,
               .toolbar = Arrow(Slot::kPlay),
               .run = [](W& w, const R&) { w.PopupMenu(MenuId::kPlay); }});
  t.push_back({.command = Command::kPlayNext,
               .toolbar = {.index = Slot::kNext,
                           .caption = s(u"向下"),
                           .image = Picture::kNext,
                           .tooltip = s(u"播放下一条(↓)，点向下三角播放最后一条(Ctrl+↓)")},
               .help = {s(u"下一条"), s(u"↓")},
               .run = [](W& w, const R&) { P(w).PlayRow(S(w).CurrentRow() + 1); }});
  t.push_back({.command = Command::kPlayLast,
               .toolbar = Arrow(Slot::kNext),
               .keys = {{kC, Qt::Key_Down}},
               .help = {s(u"最后一条")},
               .run = [](W& w, const R&) { P(w).PlayRow(L(w).RowCount() - 1); }});
  t.push_back({.command = Command::kStop,
               .toolbar = {.index = Slot::kStop,
                           .caption = s(u"停止"),
                           .image = Picture::kStop,
                           .tooltip = s(u"停止播放(Ctrl+T)")},
               .run = [](W& w, const R&) { P(w).StopPlayback(true); }});
  t.push_back({.command = Command::kStopQuiet,
               .keys = {{kC, Qt::Key_T}},
               .help = {s(u"停止播放")},
               .run = [](W& w, const R&) { P(w).StopPlayback(false); }});
}

void AddSelectionRows(std::vector<R>& t) {
  t.push_back({.command = Command::kSelectAll,
               .toolbar = {.index = Slot::kSelectAll,
                           .caption = s(u"全选"),
                           .image = Picture::kSelectAll,
                           .tooltip = s(u"全选列表(Ctrl+1) Ctrl+Shift+↑↓可从当前选择到最顶或最底")},
               .keys = {{kC, Qt::Key_1}},
               .help = {s(u"全选")},
               .run = [](W& w, const R&) { S(w).ChangeSelection(1); }});
  t.push_back({.command = Command::kSelectNone,
               .toolbar = {.index = Slot::kSelectNone,
                           .caption = s(u"去选"),
                           .image = Picture::kSelectNone,
                           .tooltip = s(u"全不选列表(Ctrl+2)")},
               .keys = {{kC, Qt::Key_2}},
               .help = {s(u"全不选")},
               .run = [](W& w, const R&) { S(w).ChangeSelection(-1); }});
  t.push_back({.command = Command::kInvertSelection,
               .toolbar = {.index = Slot::kInvert,
                           .caption = s(u"反选"),
                           .image = Picture::kInvert,
                           .tooltip = s(u"反选列表(Ctrl+3)")},
               .keys = {{kC, Qt::Key_3}},
               .help = {s(u"反选")},
               .run = [](W& w, const R&) { S(w).ChangeSelection(0); }});
  t.push_back({.command = Command::kExtendToTop,
               .keys = {{kCS, Qt::Key_Up}},
               .help = {s(u"从当前选择到最顶")},
               .run = [](W& w, const R&) { S(w).SelectRange(S(w).CurrentRow(), 0); }});
  t.push_back(
      {.command = Command::kExtendToBottom,
       .keys = {{kCS, Qt::Key_Down}},
       .help = {s(u"从当前选择到最底")},
       .run = [](W& w, const R&) { S(w).SelectRange(S(w).CurrentRow(), L(w).RowCount() - 1); }});
}

// Rows out of the list, and the names and paths to the clipboard.
void AddRowListRows(std::vector<R>& t) {
  t.push_back({.command = Command::kRemoveRows,
               .toolbar = {.index = Slot::kRemove,
                           .caption = s(u"移除"),
                           .image = Picture::kRemove,
                           .tooltip = s(u"移除（非物理删除）选定文件(Ctrl+Y)，点向下三角清空全部")},
               .keys = {{kC, Qt::Key_Y}},
               .help = {s(u"移除条目（不删除文件）")},
               .changesFiles = true,
               .run = [](W& w, const R&) { F(w).RunFileOperation(Command::kRemoveRows); }});
  t.push_back({.command = Command::kRemoveAll,
               .toolbar = Arrow(Slot::kRemove),
               .changesFiles = true,
               .run = [](W& w, const R&) { F(w).RemoveAllRows(); }});
  t.push_back({.command = Command::kCopyNames,
               .toolbar = {.index = Slot::kNames,
                           .caption = s(u"名称"),
                           .image = Picture::kCopyNames,
                           .tooltip = s(u"复制选定文件的名称(Ctrl+M)")},
               .keys = {{kC, Qt::Key_M}},
               .help = {s(u"复制名称")},
               .changesFiles = true,
               .run = [](W& w, const R&) { F(w).RunFileOperation(Command::kCopyNames); }});
  t.push_back({.command = Command::kCopyPaths,
               .toolbar = {.index = Slot::kPaths,
                           .caption = s(u"路径"),
                           .image = Picture::kCopyPaths,
                           .tooltip = s(u"复制选定文件的路径(Ctrl+L)")},
               .keys = {{kC, Qt::Key_L}},
               .help = {s(u"复制路径")},
               .changesFiles = true,
               .run = [](W& w, const R&) { F(w).RunFileOperation(Command::kCopyPaths); }});
}

// The file work of the toolbar, with menu 移动选项.
void AddFileRows(std::vector<R>& t) {
  t.push_back({.command = Command::kDelete,
               .toolbar = {.index = Slot::kDelete,
                           .caption = s(u"删除"),
                           .image = Picture::kDelete,
                           .tooltip = s(u"删除选定文件(Del)")},
               .keys = {{kO, Qt::Key_Delete}},
               .help = {s(u"删除文件")},
               .changesFiles = true,
               .run = [](W& w, const R&) { F(w).RunFileOperation(Command::kDelete); }});
  t.push_back({.command = Command::kMove,
               .toolbar = {.index = Slot::kMove,
                           .caption = s(u"移动"),
                           .image = Picture::kMove,
                           .tooltip = s(u"移动选定文件(Ctrl+X)")},
               .keys = {{kC, Qt::Key_X}},
               .help = {s(u"移动")},
               .changesFiles = true,
               .run = [](W& w, const R&) { F(w).RunFileOperation(Command::kMove); }});
  t.push_back({.command = Command::kPopupMoveMenu,
               .toolbar = Arrow(Slot::kMove),
               .run = [](W& w, const R&) { w.PopupMenu(MenuId::kMove); }});
  t.push_back(Check(Designed().move.removeAfterMove, MenuId::kMove, false));
  t.push_back(Check(Designed().move.smartRename, MenuId::kMove, false));
  t.push_back({.command = Command::kCopy,
               .toolbar = {.index = Slot::kCopy,
                           .caption = s(u"复制"),
                           .image = Picture::kCopy,
                           .tooltip = s(u"复制选定文件(Ctrl+C)")},
               .keys = {{kC, Qt::Key_C}},
               .help = {s(u"复制")},
               .changesFiles = true,
               .run = [](W& w, const R&) { F(w).RunFileOperation(Command::kCopy); }});
  t.push_back({.command = Command::kRenameInPlace,
               .toolbar = {.index = Slot::kRename,
                           .caption = s(u"改名"),
                           .image = Picture::kRename,
                           .tooltip = s(u"修改当前文件名称(F2)，点向下三角可批量改名(Ctrl+F2)")},
               .keys = {{kO, Qt::Key_F2}},
               .help = {s(u"改名")},
               .changesFiles = true,
               .run = [](W& w, const R&) { w.StartRenameInPlace(); }});
  t.push_back({.command = Command::kOpenBatchRename,
               .toolbar = Arrow(Slot::kRename),
               .keys = {{kC, Qt::Key_F2}},
               .help = {s(u"批量改名")},
               .run = [](W& w, const R&) { w.ShowBatchRenameWindow(); }});
  t.push_back({.command = Command::kShowInFileManager,
               .toolbar = {.index = Slot::kLocate,
                           .caption = s(u"定位"),
                           .image = Picture::kLocate,
                           .tooltip = s(u"在资源管理器里定位该文件(Enter)")},
               .keys = {{kO, Qt::Key_Return}, {kO, Qt::Key_Enter}},
               .help = {s(u"定位文件")},
               .run = [](W& w, const R&) { F(w).ShowCurrentInFileManager(); }});
  AddRowListRows(t);
}

void AddWindowRows(std::vector<R>& t) {
  t.push_back({.command = Command::kAbout,
               .toolbar = {.index = Slot::kAbout,
                           .caption = s(u"关于"),
                           .image = Picture::kAbout,
                           .tooltip = s(u"显示关于信息(F1)")},
               .keys = {{kO, Qt::Key_F1}},
               .help = {s(u"关于")},
               .run = [](W& w, const R&) { w.ShowAboutWindow(); }});
  t.push_back({.command = Command::kExit,
               .toolbar = {.index = Slot::kExit,
                           .caption = s(u"退出"),
                           .image = Picture::kExit,
                           .tooltip = s(u"退出程序(Alt+F4)")},
               .help = {s(u"退出"), s(u"Alt+F4")},
               .run = [](W& w, const R&) { w.close(); }});
}

std::vector<R> BuildTable() {
  std::vector<R> t;
  AddImportRows(t);
  AddPlayRows(t);
  AddSelectionRows(t);
  AddFileRows(t);
  AddWindowRows(t);
  return t;
}

QString KeyName(int key) {
  switch (key) {
    case Qt::Key_Up:
      return QStringLiteral("↑");
    case Qt::Key_Down:
      return QStringLiteral("↓");
    case Qt::Key_Space:
      return QStringLiteral("空格");
    case Qt::Key_Delete:
      return QStringLiteral("Del");
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return QStringLiteral("Enter");
    default:
      if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return u'F' + QString::number(key - Qt::Key_F1 + 1);
      return QString(QChar(key));
  }
}

QString ChordText(const KeyChord& chord) {
  switch (chord.group) {
    case KeyGroup::kCtrlShift:
      return QStringLiteral("Ctrl+Shift+") + KeyName(chord.key);
    case KeyGroup::kCtrl:
      return QStringLiteral("Ctrl+") + KeyName(chord.key);
    default:
      return KeyName(chord.key);
  }
}

}  // namespace

const std::vector<CommandRow>& CommandTable() {
  static const std::vector<CommandRow> table = BuildTable();
  return table;
}

const CommandRow* FindCommandRow(Command command) {
  if (command == Command::kNone) return nullptr;
  for (const CommandRow& row : CommandTable())
    if (row.command == command) return &row;
  return nullptr;
}

const CommandRow* ToolbarRow(int index, bool arrow) {
  if (index < 0) return nullptr;
  for (const CommandRow& row : CommandTable())
    if (row.toolbar.index == index && row.toolbar.arrow == arrow) return &row;
  return nullptr;
}

const std::vector<KeyBinding>& ListKeyBindings() {
  static const std::vector<KeyBinding> bindings = [] {
    std::vector<KeyBinding> all;
    for (const CommandRow& row : CommandTable())
      for (const KeyChord& chord : row.keys) all.push_back({chord, row.command});
    return all;
  }();
  return bindings;
}

QStringList HelpKeyLines() {
  QStringList lines;
  for (const CommandRow& row : CommandTable()) {
    if (row.help.text.isEmpty()) continue;
    QString keys = row.help.shownKeys;
    if (keys.isEmpty()) {
      QStringList chords;
      for (const KeyChord& chord : row.keys) {
        const QString text = ChordText(chord);
        if (!chords.contains(text)) chords << text;
      }
      keys = chords.join(QStringLiteral(" / "));
    }
    lines << keys + QStringLiteral("　") + row.help.text;
  }
  return lines;
}

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

namespace {

using W = MainWindow;
using R = CommandRow;
constexpr KeyGroup kCS = KeyGroup::kCtrlShift;
constexpr KeyGroup kC = KeyGroup::kCtrl;
constexpr KeyGroup kO = KeyGroup::kOther;
// Whether a running job refuses the command (it changes rows or files, or is a job itself).
constexpr bool kRefusedInJob = true;
constexpr bool kLiveInJob = false;

QString s(const char16_t* text) { return QString::fromUtf16(text); }

MenuPlace Menu(MenuId menu, bool separatorBefore = false) {
  MenuPlace place;
  place.menu = menu;
  place.separatorBefore = separatorBefore;
  return place;
}

ToolbarPlace Click(int index, const QString& caption, int image, const QString& tooltip) {
  ToolbarPlace place;
  place.index = index;
  place.caption = caption;
  place.image = image;
  place.tooltip = tooltip;
  return place;
}

ToolbarPlace Arrow(int index) {
  ToolbarPlace place;
  place.index = index;
  place.arrow = true;
  return place;
}

HelpLine Help(const QString& text, const QString& shownKeys = QString()) {
  HelpLine line;
  line.text = text;
  line.shownKeys = shownKeys;
  return line;
}

Player& P(W& w) { return w.App().GetPlayer(); }
SoundList& L(W& w) { return w.App().List(); }
RowSelection& S(W& w) { return w.App().List().Selection(); }
FileOperations& F(W& w) { return w.App().FileOps(); }
Finder& Find(W& w) { return w.App().GetFinder(); }

R Check(const QString& caption, MenuId menu, bool separatorBefore) {
  R row;
  row.caption = caption;
  row.menu = Menu(menu, separatorBefore);
  row.kind = ItemKind::kCheck;
  row.checked = true;  // every check item of the menus starts checked
  return row;
}

R Icons(const QString& caption, bool separatorBefore, bool checked) {
  R row;
  row.caption = caption;
  row.menu = Menu(MenuId::kIcons, separatorBefore);
  row.kind = ItemKind::kRadio;
  row.checked = checked;
  row.run = [](W& w, const R& r) { w.ChooseListIcons(r.caption); };
  return row;
}

std::vector<R> BuildTable() {
  std::vector<R> t;
  // Menu 导入
  t.push_back({Command::kImport, s(u"选择文件..."), Menu(MenuId::kImport), ItemKind::kCommand, false,
               Click(0, s(u"导入"), 0, s(u"导入短音文件(Ctrl+D)")), {{kC, Qt::Key_O}, {kC, Qt::Key_D}},
               Help(s(u"导入文件")), kRefusedInJob,
               [](W& w, const R&) {
                 ImportByDialog(L(w), w.App().Context().lastImportFile);
               }});
  t.push_back({Command::kOpenSearchDir, s(u"检索目录..."), Menu(MenuId::kImport), ItemKind::kCommand,
               false, {}, {{kC, Qt::Key_J}}, Help(s(u"检索目录")), kLiveInJob,
               [](W& w, const R&) { w.ShowSearchDirWindow(); }});
  t.push_back(Check(s(u"启动时载入上次列表"), MenuId::kImport, true));
  t.push_back({Command::kSaveListNow, s(u"立即保存当前列表"), Menu(MenuId::kImport),
               ItemKind::kCommand, false, {}, {}, {}, kRefusedInJob,
               [](W& w, const R&) { w.SaveListNow(); }});
  {
    R icons;
    icons.caption = s(u"列表图标");
    icons.menu = Menu(MenuId::kImport, true);
    icons.kind = ItemKind::kSubmenu;
    t.push_back(icons);
  }
  t.push_back(Icons(s(u"无"), false, false));
  t.push_back(Icons(s(u"16x16"), true, false));
  t.push_back(Icons(s(u"32x32"), false, true));
  t.push_back(Icons(s(u"48x48"), false, false));
  t.push_back({Command::kOpenFind, s(u"查找..."), Menu(MenuId::kImport, true), ItemKind::kCommand,
               false, {}, {{kC, Qt::Key_F}}, Help(s(u"查找")), kLiveInJob,
               [](W& w, const R&) { w.ShowFindWindow(); }});
  t.push_back({Command::kFindNext, s(u"查找下一个"), Menu(MenuId::kImport), ItemKind::kCommand,
               false, {}, {{kO, Qt::Key_F3}}, Help(s(u"查找下一个")), kRefusedInJob,
               [](W& w, const R&) { Find(w).FindStep(false); }});
  t.push_back({Command::kFindPrevious, s(u"查找上一个"), Menu(MenuId::kImport), ItemKind::kCommand,
               false, {}, {{kO, Qt::Key_F4}}, Help(s(u"查找上一个")), kRefusedInJob,
               [](W& w, const R&) { Find(w).FindStep(true); }});
  t.push_back({Command::kSetFindPoint, s(u"置当前位置为查找点"), Menu(MenuId::kImport),
               ItemKind::kCommand, false, {}, {}, {}, kLiveInJob,
               [](W& w, const R&) { Find(w).SetFindPoint(false); }});
  t.push_back({Command::kPopupImportMenu, {}, {}, ItemKind::kCommand, false, Arrow(0), {}, {},
               kLiveInJob, [](W& w, const R&) { w.PopupMenu(MenuId::kImport); }});

  // Menu 播放 and the play entries of the toolbar
  t.push_back(Check(s(u"仅播放一次"), MenuId::kPlay, false));
  t.push_back(Check(s(u"选择时发音"), MenuId::kPlay, true));
  t.push_back(Check(s(u"双击时发音"), MenuId::kPlay, false));
  t.push_back(Check(s(u"移过时发音"), MenuId::kPlay, false));
  t.push_back({Command::kLocatePlaying, s(u"定位当前播放条目"), Menu(MenuId::kPlay, true),
               ItemKind::kCommand, false, {}, {}, {}, kLiveInJob, [](W& w, const R&) {
                 P(w).LocatePlayingRow();
                 w.FocusList();
               }});
  t.push_back({Command::kPlayPrevious, {}, {}, ItemKind::kCommand, false,
               Click(2, s(u"向上"), 1, s(u"播放上一条(↑)，点向下三角播放第一条(Ctrl+↑)")), {},
               Help(s(u"上一条"), s(u"↑")), kLiveInJob,
               [](W& w, const R&) { P(w).PlayRow(S(w).CurrentRow() - 1); }});
  t.push_back({Command::kPlayFirst, {}, {}, ItemKind::kCommand, false, Arrow(2),
               {{kC, Qt::Key_Up}}, Help(s(u"第一条")), kLiveInJob,
               [](W& w, const R&) { P(w).PlayRow(0); }});
  t.push_back({Command::kPlayCurrent, {}, {}, ItemKind::kCommand, false,
               Click(3, s(u"播放"), 2, s(u"播放当前选定(空格)")), {{kO, Qt::Key_Space}},
               Help(s(u"播放当前选定")), kLiveInJob, [](W& w, const R&) { P(w).PlayRow(); }});
  t.push_back({Command::kPopupPlayMenu, {}, {}, ItemKind::kCommand, false, Arrow(3), {}, {},
               kLiveInJob, [](W& w, const R&) { w.PopupMenu(MenuId::kPlay); }});
  t.push_back({Command::kPlayNext, {}, {}, ItemKind::kCommand, false,
               Click(4, s(u"向下"), 3, s(u"播放下一条(↓)，点向下三角播放最后一条(Ctrl+↓)")), {},
               Help(s(u"下一条"), s(u"↓")), kLiveInJob,
               [](W& w, const R&) { P(w).PlayRow(S(w).CurrentRow() + 1); }});
  t.push_back({Command::kPlayLast, {}, {}, ItemKind::kCommand, false, Arrow(4),
               {{kC, Qt::Key_Down}}, Help(s(u"最后一条")), kLiveInJob,
               [](W& w, const R&) { P(w).PlayRow(L(w).RowCount() - 1); }});
  t.push_back({Command::kStop, {}, {}, ItemKind::kCommand, false,
               Click(5, s(u"停止"), 4, s(u"停止播放(Ctrl+T)")), {}, {}, kLiveInJob,
               [](W& w, const R&) { P(w).StopPlayback(true); }});
  t.push_back({Command::kStopQuiet, {}, {}, ItemKind::kCommand, false, {}, {{kC, Qt::Key_T}},
               Help(s(u"停止播放")), kLiveInJob, [](W& w, const R&) { P(w).StopPlayback(false); }});

  // Selection
  t.push_back({Command::kSelectAll, {}, {}, ItemKind::kCommand, false,
               Click(7, s(u"全选"), 5, s(u"全选列表(Ctrl+1) Ctrl+Shift+↑↓可从当前选择到最顶或最底")),
               {{kC, Qt::Key_1}}, Help(s(u"全选")), kLiveInJob,
               [](W& w, const R&) { S(w).ChangeSelection(1); }});
  t.push_back({Command::kSelectNone, {}, {}, ItemKind::kCommand, false,
               Click(8, s(u"去选"), 6, s(u"全不选列表(Ctrl+2)")), {{kC, Qt::Key_2}},
               Help(s(u"全不选")), kLiveInJob, [](W& w, const R&) { S(w).ChangeSelection(-1); }});
  t.push_back({Command::kInvertSelection, {}, {}, ItemKind::kCommand, false,
               Click(9, s(u"反选"), 7, s(u"反选列表(Ctrl+3)")), {{kC, Qt::Key_3}},
               Help(s(u"反选")), kLiveInJob, [](W& w, const R&) { S(w).ChangeSelection(0); }});
  t.push_back({Command::kExtendToTop, {}, {}, ItemKind::kCommand, false, {}, {{kCS, Qt::Key_Up}},
               Help(s(u"从当前选择到最顶")), kLiveInJob,
               [](W& w, const R&) { S(w).SelectRange(S(w).CurrentRow(), 0); }});
  t.push_back({Command::kExtendToBottom, {}, {}, ItemKind::kCommand, false, {},
               {{kCS, Qt::Key_Down}}, Help(s(u"从当前选择到最底")), kLiveInJob, [](W& w, const R&) {
                 S(w).SelectRange(S(w).CurrentRow(), L(w).RowCount() - 1);
               }});

  // Files and rows, and menu 移动选项
  t.push_back({Command::kDelete, {}, {}, ItemKind::kCommand, false,
               Click(11, s(u"删除"), 8, s(u"删除选定文件(Del)")), {{kO, Qt::Key_Delete}},
               Help(s(u"删除文件")), kRefusedInJob, [](W& w, const R&) { F(w).RunFileOperation(kOpDelete); }});
  t.push_back({Command::kMove, {}, {}, ItemKind::kCommand, false,
               Click(12, s(u"移动"), 9, s(u"移动选定文件(Ctrl+X)")), {{kC, Qt::Key_X}},
               Help(s(u"移动")), kRefusedInJob, [](W& w, const R&) { F(w).RunFileOperation(kOpMove); }});
  t.push_back({Command::kPopupMoveMenu, {}, {}, ItemKind::kCommand, false, Arrow(12), {}, {},
               kLiveInJob, [](W& w, const R&) { w.PopupMenu(MenuId::kMove); }});
  t.push_back(Check(s(u"移动后移除列表"), MenuId::kMove, false));
  t.push_back(Check(s(u"重名时智能改名"), MenuId::kMove, false));
  t.push_back({Command::kCopy, {}, {}, ItemKind::kCommand, false,
               Click(13, s(u"复制"), 10, s(u"复制选定文件(Ctrl+C)")), {{kC, Qt::Key_C}},
               Help(s(u"复制")), kRefusedInJob, [](W& w, const R&) { F(w).RunFileOperation(kOpCopy); }});
  t.push_back({Command::kRenameInPlace, {}, {}, ItemKind::kCommand, false,
               Click(14, s(u"改名"), 11, s(u"修改当前文件名称(F2)，点向下三角可批量改名(Ctrl+F2)")),
               {{kO, Qt::Key_F2}}, Help(s(u"改名")), kRefusedInJob,
               [](W& w, const R&) { w.StartRenameInPlace(); }});
  t.push_back({Command::kOpenBatchRename, {}, {}, ItemKind::kCommand, false, Arrow(14),
               {{kC, Qt::Key_F2}}, Help(s(u"批量改名")), kLiveInJob, [](W& w, const R&) { w.ShowBatchRenameWindow(); }});
  t.push_back({Command::kShowInFileManager, {}, {}, ItemKind::kCommand, false,
               Click(15, s(u"定位"), 12, s(u"在资源管理器里定位该文件(Enter)")),
               {{kO, Qt::Key_Return}, {kO, Qt::Key_Enter}}, Help(s(u"定位文件")), kLiveInJob,
               [](W& w, const R&) { F(w).ShowCurrentInFileManager(); }});
  t.push_back({Command::kRemoveRows, {}, {}, ItemKind::kCommand, false,
               Click(17, s(u"移除"), 13, s(u"移除（非物理删除）选定文件(Ctrl+Y)，点向下三角清空全部")),
               {{kC, Qt::Key_Y}}, Help(s(u"移除条目（不删除文件）")), kRefusedInJob,
               [](W& w, const R&) { F(w).RunFileOperation(kOpRemoveRows); }});
  t.push_back({Command::kRemoveAll, {}, {}, ItemKind::kCommand, false, Arrow(17), {}, {}, kRefusedInJob,
               [](W& w, const R&) { F(w).RemoveAllRows(); }});
  t.push_back({Command::kCopyNames, {}, {}, ItemKind::kCommand, false,
               Click(18, s(u"名称"), 14, s(u"复制选定文件的名称(Ctrl+M)")), {{kC, Qt::Key_M}},
               Help(s(u"复制名称")), kRefusedInJob,
               [](W& w, const R&) { F(w).RunFileOperation(kOpCopyNames); }});
  t.push_back({Command::kCopyPaths, {}, {}, ItemKind::kCommand, false,
               Click(19, s(u"路径"), 15, s(u"复制选定文件的路径(Ctrl+L)")), {{kC, Qt::Key_L}},
               Help(s(u"复制路径")), kRefusedInJob,
               [](W& w, const R&) { F(w).RunFileOperation(kOpCopyPaths); }});

  // Windows
  t.push_back({Command::kAbout, {}, {}, ItemKind::kCommand, false,
               Click(21, s(u"关于"), 16, s(u"显示关于信息(F1)")), {{kO, Qt::Key_F1}},
               Help(s(u"关于")), kLiveInJob, [](W& w, const R&) { w.ShowAboutWindow(); }});
  t.push_back({Command::kExit, {}, {}, ItemKind::kCommand, false,
               Click(22, s(u"退出"), 17, s(u"退出程序(Alt+F4)")), {}, Help(s(u"退出"), s(u"Alt+F4")),
               kLiveInJob, [](W& w, const R&) { w.close(); }});
  return t;
}

QString KeyName(int key) {
  switch (key) {
    case Qt::Key_Up: return QStringLiteral("↑");
    case Qt::Key_Down: return QStringLiteral("↓");
    case Qt::Key_Space: return QStringLiteral("空格");
    case Qt::Key_Delete: return QStringLiteral("Del");
    case Qt::Key_Return:
    case Qt::Key_Enter: return QStringLiteral("Enter");
    default:
      if (key >= Qt::Key_F1 && key <= Qt::Key_F35) return u'F' + QString::number(key - Qt::Key_F1 + 1);
      return QString(QChar(key));
  }
}

QString ChordText(const KeyChord& chord) {
  switch (chord.group) {
    case KeyGroup::kCtrlShift: return QStringLiteral("Ctrl+Shift+") + KeyName(chord.key);
    case KeyGroup::kCtrl: return QStringLiteral("Ctrl+") + KeyName(chord.key);
    default: return KeyName(chord.key);
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

#include "app/Toolbar.h"

#include <QAction>
#include <QMouseEvent>
#include <QStyleOptionToolButton>

#include "ui/Artwork.h"

const std::vector<ToolbarEntry>& ToolbarEntries() {
  static const std::vector<ToolbarEntry> entries = {
      {QStringLiteral("导入"), 0, QStringLiteral("导入短音文件(Ctrl+D)"), true,
       Command::kImport, Command::kPopupImportMenu},
      {},
      {QStringLiteral("向上"), 1, QStringLiteral("播放上一条(↑)，点向下三角播放第一条(Ctrl+↑)"), true,
       Command::kPlayPrevious, Command::kPlayFirst},
      {QStringLiteral("播放"), 2, QStringLiteral("播放当前选定(空格)"), true, Command::kPlayCurrent,
       Command::kPopupPlayMenu},
      {QStringLiteral("向下"), 3, QStringLiteral("播放下一条(↓)，点向下三角播放最后一条(Ctrl+↓)"), true,
       Command::kPlayNext, Command::kPlayLast},
      {QStringLiteral("停止"), 4, QStringLiteral("停止播放(Ctrl+T)"), false, Command::kStop},
      {},
      {QStringLiteral("全选"), 5, QStringLiteral("全选列表(Ctrl+1) Ctrl+Shift+↑↓可从当前选择到最顶或最底"),
       false, Command::kSelectAll},
      {QStringLiteral("去选"), 6, QStringLiteral("全不选列表(Ctrl+2)"), false, Command::kSelectNone},
      {QStringLiteral("反选"), 7, QStringLiteral("反选列表(Ctrl+3)"), false, Command::kInvertSelection},
      {},
      {QStringLiteral("删除"), 8, QStringLiteral("删除选定文件(Del)"), false, Command::kDelete},
      {QStringLiteral("移动"), 9, QStringLiteral("移动选定文件(Ctrl+X)"), true, Command::kMove,
       Command::kPopupMoveMenu},
      {QStringLiteral("复制"), 10, QStringLiteral("复制选定文件(Ctrl+C)"), false, Command::kCopy},
      {QStringLiteral("改名"), 11, QStringLiteral("修改当前文件名称(F2)，点向下三角可批量改名(Ctrl+F2)"), true,
       Command::kRenameInPlace, Command::kOpenBatchRename},
      {QStringLiteral("定位"), 12, QStringLiteral("在资源管理器里定位该文件(Enter)"), false,
       Command::kShowInFileManager},
      {},
      {QStringLiteral("移除"), 13, QStringLiteral("移除（非物理删除）选定文件(Ctrl+Y)，点向下三角清空全部"), true,
       Command::kRemoveRows, Command::kRemoveAll},
      {QStringLiteral("名称"), 14, QStringLiteral("复制选定文件的名称(Ctrl+M)"), false, Command::kCopyNames},
      {QStringLiteral("路径"), 15, QStringLiteral("复制选定文件的路径(Ctrl+L)"), false, Command::kCopyPaths},
      {},
      {QStringLiteral("关于"), 16, QStringLiteral("显示关于信息(F1)"), false, Command::kAbout},
      {QStringLiteral("退出"), 17, QStringLiteral("退出程序(Alt+F4)"), false, Command::kExit},
  };
  return entries;
}

ArrowToolButton::ArrowToolButton(bool hasArrow, QWidget* parent)
    : QToolButton(parent), hasArrow_(hasArrow) {
  if (hasArrow_) {
    // The style draws the arrow part only for a button that has a menu or actions of its own.
    setPopupMode(QToolButton::MenuButtonPopup);
    addAction(new QAction(this));
  }
}

QRect ArrowToolButton::ArrowRect() const {
  if (!hasArrow_) return {};
  QStyleOptionToolButton option;
  initStyleOption(&option);
  return style()->subControlRect(QStyle::CC_ToolButton, &option, QStyle::SC_ToolButtonMenu, this);
}

void ArrowToolButton::mousePressEvent(QMouseEvent* event) {
  if (hasArrow_ && event->button() == Qt::LeftButton &&
      ArrowRect().contains(event->position().toPoint())) {
    event->accept();
    Q_EMIT arrowClicked();
    return;
  }
  QToolButton::mousePressEvent(event);
}

MainToolbar::MainToolbar(QWidget* parent) : QToolBar(parent) {
  setObjectName(QStringLiteral("工具条"));
  setMovable(false);
  setFloatable(false);
  setIconSize(QSize(32, 32));
  setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  // Compact buttons and a narrow arrow part, so all 23 entries fit the designed width.
  setStyleSheet(QStringLiteral(
      "QToolBar { spacing: 0px; padding: 1px; }"
      "QToolBar::separator { width: 5px; }"
      "QToolButton { padding: 1px 1px; border: 1px solid transparent; border-radius: 3px; }"
      "QToolButton:hover { border-color: #9ab; background: #e8f0fa; }"
      "QToolButton:pressed { background: #cddcef; }"
      "QToolButton[popupMode=\"1\"] { padding-right: 10px; }"
      "QToolButton::menu-button { width: 9px; border: none; }"
      "QToolButton::menu-arrow { width: 7px; height: 7px; }"));
  const auto& entries = ToolbarEntries();
  for (int index = 0; index < static_cast<int>(entries.size()); ++index) {
    const ToolbarEntry& entry = entries[static_cast<size_t>(index)];
    if (entry.caption.isEmpty()) {
      addSeparator();
      buttons_.push_back(nullptr);
      continue;
    }
    auto* button = new ArrowToolButton(entry.hasArrow, this);
    button->setObjectName(entry.caption);
    button->setText(entry.caption);
    button->setToolTip(entry.tooltip);
    button->setIcon(ToolbarImage(entry.image));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    connect(button, &QToolButton::clicked, this, [this, index] { Q_EMIT entryClicked(index); });
    connect(button, &ArrowToolButton::arrowClicked, this,
            [this, index] { Q_EMIT arrowClicked(index); });
    addWidget(button);
    buttons_.push_back(button);
  }
}

ArrowToolButton* MainToolbar::Button(int index) const {
  if (index < 0 || index >= static_cast<int>(buttons_.size())) return nullptr;
  return buttons_[static_cast<size_t>(index)];
}

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AboutWindow.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "app/CommandTable.h"
#include "platform/Dialogs.h"
#include "ui/Artwork.h"

AboutWindow::AboutWindow(QWidget* owner) : QWidget(owner, Qt::Window | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("AboutWindow"));
  setWindowTitle(QStringLiteral("关于 Plinkbox"));

  picture_ = new QLabel(this);
  picture_->setObjectName(QStringLiteral("图片框"));
  picture_->setPixmap(AboutPicture());
  picture_->setAlignment(Qt::AlignCenter);
  picture_->setCursor(Qt::PointingHandCursor);
  picture_->setToolTip(QStringLiteral("点击图片查看帮助"));
  picture_->installEventFilter(this);

  auto* name = new QLabel(QStringLiteral("Plinkbox"), this);
  name->setObjectName(QStringLiteral("标签名称"));
  QFont big = name->font();
  big.setPointSizeF(big.pointSizeF() * 2);
  big.setBold(true);
  name->setFont(big);
  name->setAlignment(Qt::AlignCenter);
  auto* version = new QLabel(QStringLiteral("v1.0 · 短音试听与整理"), this);
  version->setObjectName(QStringLiteral("标签版本"));
  version->setAlignment(Qt::AlignCenter);
  auto* hint = new QLabel(QStringLiteral("点击图片查看帮助，点击别处或按 Esc 关闭"), this);
  hint->setObjectName(QStringLiteral("标签提示"));
  hint->setAlignment(Qt::AlignCenter);
  hint->setStyleSheet(QStringLiteral("color: #666;"));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(28, 24, 28, 20);
  layout->setSpacing(10);
  layout->addWidget(picture_);
  layout->addWidget(name);
  layout->addWidget(version);
  layout->addWidget(hint);
}

QString AboutWindow::HelpText() {
  return QStringLiteral(
             "Plinkbox 用于快速试听短音文件（WAV 波形、MID 序列、MP3 音频）并整理它们："
             "鼠标移过、选中或双击列表条目即可发音；可删除、移动、复制选定文件，移除条目，"
             "复制名称或路径，就地改名，按名称或大小排序，按通配符或正则表达式查找，"
             "并在文件管理器中定位文件。\n\n"
             "播放选项（点“播放”按钮的向下三角）：仅播放一次、选择时发音、双击时发音、"
             "移过时发音、定位当前播放条目。\n\n"
             "按键：\n") +
         HelpKeyLines().join(u'\n') +
         QStringLiteral(
             "\n\n把文件从文件管理器拖到列表上即可加入；在列表里按住一条拖到另一条上可交换两者；"
             "点列标题可排序。");
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == picture_ && event->type() == QEvent::MouseButtonPress) {
    ShowMessage(HelpText());
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void AboutWindow::mousePressEvent(QMouseEvent* event) {
  event->accept();
  close();
}

void AboutWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient gradient(0, 0, 0, height());
  gradient.setColorAt(0, QColor(0xfb, 0xf8, 0xff));
  gradient.setColorAt(1, QColor(0xe8, 0xe0, 0xf5));
  painter.fillRect(rect(), gradient);
  painter.setPen(QPen(QColor(0x7a, 0x4f, 0xb8), 2));
  painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

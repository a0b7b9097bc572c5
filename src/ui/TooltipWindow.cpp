// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TooltipWindow.h"

#include <QApplication>
#include <QCursor>
#include <QHelpEvent>
#include <QPainterPath>
#include <QScreen>
#include <QStringList>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <QToolTip>
#include <algorithm>
#include <utility>

namespace {

constexpr int kGap = 2;     // between a centred tip and its control
constexpr int kRadius = 6;  // of a balloon's corners

// Breaks one line of a multi-line tip so no piece is wider than maxWidth.
void WrapLine(const QString& line, const QFontMetrics& metrics, int maxWidth, QStringList& out) {
  const auto fits = [&](const QString& s) { return metrics.horizontalAdvance(s) <= maxWidth; };
  QString current;
  bool open = false;     // current is a line being filled
  bool wrapped = false;  // spaces at a wrap are dropped rather than starting the next line
  for (const QString& word : line.split(u' ')) {
    if (open) {
      const QString joined = current + u' ' + word;
      if (fits(joined)) {
        current = joined;
        continue;
      }
      out << current;
      open = false;
      wrapped = true;
    }
    if (wrapped && word.isEmpty()) continue;
    // A word wider than the tip breaks between whole characters, at least one per line.
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, word);
    qsizetype from = 0;
    qsizetype last = 0;
    for (qsizetype to = graphemes.toNextBoundary(); to != -1; to = graphemes.toNextBoundary()) {
      if (last > from && !fits(word.mid(from, to - from))) {
        out << word.mid(from, last - from);
        from = last;
      }
      last = to;
    }
    current = word.mid(from);
    open = true;
  }
  if (open) out << current;
}

QString Css(const QColor& colour) {
  return QStringLiteral("rgba(%1, %2, %3, %4)")
      .arg(colour.red())
      .arg(colour.green())
      .arg(colour.blue())
      .arg(colour.alpha());
}

// QToolTip keeps a single label, shared by every widget's tips.
QWidget* VisibleTip() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->objectName() == QLatin1String("qtooltip_label") && widget->isVisible())
      return widget;
  return nullptr;
}

}  // namespace

QString TooltipLines(const QString& text, const QFontMetrics& metrics, int maxWidth) {
  QString lines = text;
  lines.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
  if (maxWidth <= 0) return lines.replace(u'\n', u' ');
  QStringList out;
  for (const QString& line : lines.split(u'\n')) WrapLine(line, metrics, maxWidth, out);
  return out.join(u'\n');
}

TooltipWindow::TooltipWindow(quintptr handle, int maxWidth, bool balloon)
    : handle_(handle), maxWidth_(maxWidth), balloon_(balloon) {
  hover_.setSingleShot(true);
  connect(&hover_, &QTimer::timeout, this, &TooltipWindow::ShowHovered);
}

TooltipWindow::~TooltipWindow() { TearDown(); }

void TooltipWindow::TearDown() {
  if (!alive_) return;
  alive_ = false;
  HideTip();
  for (const Tool& tool : tools_) {
    if (!tool.control) continue;
    tool.control->removeEventFilter(this);
    disconnect(tool.control, nullptr, this, nullptr);
  }
  tools_.clear();
}

const TooltipWindow::Tool* TooltipWindow::Find(const QObject* control) const {
  if (!control) return nullptr;
  const auto it = std::find_if(tools_.begin(), tools_.end(),
                               [&](const Tool& tool) { return tool.control == control; });
  return it == tools_.end() ? nullptr : &*it;
}

TooltipWindow::Tool* TooltipWindow::Find(const QObject* control) {
  return const_cast<Tool*>(std::as_const(*this).Find(control));
}

bool TooltipWindow::AddTool(QWidget* control, const QString& text, bool centred) {
  if (!control) return false;
  if (Tool* tool = Find(control)) {
    tool->text = text;
    tool->centred = centred;
    return true;
  }
  tools_.push_back({control, text, centred});
  control->installEventFilter(this);
  // Dropped at once, so a window opened again does not pile up tools of its earlier self.
  connect(control, &QObject::destroyed, this, &TooltipWindow::DropDestroyed);
  return true;
}

bool TooltipWindow::RemoveTool(QWidget* control) {
  if (!Find(control)) return false;
  control->removeEventFilter(this);
  disconnect(control, nullptr, this, nullptr);
  if (hovered_ == control) hover_.stop();
  std::erase_if(tools_, [&](const Tool& tool) { return tool.control == control; });
  return true;
}

void TooltipWindow::DropDestroyed() {
  std::erase_if(tools_, [](const Tool& tool) { return tool.control.isNull(); });
}

bool TooltipWindow::SetToolText(QWidget* control, const QString& text) {
  Tool* tool = Find(control);
  if (tool) tool->text = text;
  return tool != nullptr;
}

std::optional<QString> TooltipWindow::ToolText(QWidget* control) const {
  const Tool* tool = Find(control);
  if (!tool) return std::nullopt;
  return tool->text;
}

std::vector<QWidget*> TooltipWindow::Controls() const {
  std::vector<QWidget*> controls;
  for (const Tool& tool : tools_)
    if (tool.control) controls.push_back(tool.control);
  return controls;
}

QColor TooltipWindow::BackColor() const {
  return back_.isValid() ? back_ : QToolTip::palette().color(QPalette::ToolTipBase);
}

QColor TooltipWindow::TextColor() const {
  return text_.isValid() ? text_ : QToolTip::palette().color(QPalette::ToolTipText);
}

void TooltipWindow::SetDelays(int initialMs, int displayMs) {
  if (initialMs > 0) initialMs_ = initialMs;
  if (displayMs > 0) displayMs_ = displayMs;
}

int TooltipWindow::SetMaxWidth(int pixels) {
  const int previous = maxWidth_;
  maxWidth_ = std::max(pixels, 0);
  return previous;
}

void TooltipWindow::HideTip() {
  hover_.stop();
  // At program end the helper may outlive the application and its tip.
  if (!QCoreApplication::instance()) return;
  if (!shown_.isEmpty() && QToolTip::isVisible() && QToolTip::text() == shown_)
    QToolTip::hideText();
  shown_.clear();
}

bool TooltipWindow::eventFilter(QObject* watched, QEvent* event) {
  const Tool* tool = Find(watched);
  if (!tool) {
    // The tip label: another widget's tip restyled it, so our balloon outline no longer fits.
    auto* tip = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::StyleChange && tip->styleSheet() != StyleSheet()) {
      tip->clearMask();
      tip->removeEventFilter(this);
    }
    return false;
  }
  switch (event->type()) {
    case QEvent::ToolTip:
      // With an initial delay of our own the hover timer shows the tip instead.
      if (initialMs_ <= 0) Show(*tool, static_cast<QHelpEvent*>(event)->globalPos());
      return true;
    case QEvent::Enter:
      if (initialMs_ > 0) {
        hovered_ = tool->control;
        hover_.start(initialMs_);
      }
      break;
    case QEvent::MouseMove:
      // The pointer has to rest for the whole delay.
      if (hover_.isActive() && hovered_ == watched) hover_.start(initialMs_);
      break;
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
      if (hovered_ == watched) hover_.stop();
      break;
    default:
      break;
  }
  return false;
}

void TooltipWindow::ShowHovered() {
  if (const Tool* tool = Find(hovered_)) Show(*tool, QCursor::pos());
}

void TooltipWindow::Show(Tool tool, QPoint globalPos) {
  QWidget* control = tool.control;
  QString lines = TooltipLines(tool.text, QFontMetrics(QToolTip::font()), maxWidth_);
  // QToolTip takes text that looks like HTML for rich text; ours is always plain.
  if (Qt::mightBeRichText(lines))
    lines = QStringLiteral("<p style='white-space:pre'>%1</p>").arg(lines.toHtmlEscaped());
  // The control's rect makes the tip go when the pointer leaves the control.
  QToolTip::showText(globalPos, lines, control, control->rect(), displayMs_ > 0 ? displayMs_ : -1);
  QWidget* tip = VisibleTip();
  if (!tip) {
    shown_.clear();
    return;
  }
  shown_ = lines;
  // Styled on the tip label itself, not through a global QToolTip style: QToolTip resets the
  // label's style sheet when it next shows another widget's tip, so those keep their own look.
  const QString sheet = StyleSheet();
  if (!sheet.isEmpty()) {
    tip->setStyleSheet(sheet);
    tip->resize(tip->sizeHint());
  }
  if (balloon_) {
    // The window itself is square; the mask cuts its corners to the rounded border.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(QPointF(0, 0), tip->size()), kRadius, kRadius);
    tip->setMask(QRegion(outline.toFillPolygon().toPolygon()));
    tip->installEventFilter(this);
  }
  const QRect area = control->screen()->availableGeometry();
  QRect placed = tip->frameGeometry();
  if (tool.centred) {
    const QRect owner(control->mapToGlobal(QPoint(0, 0)), control->size());
    placed.moveTopLeft({owner.center().x() - placed.width() / 2, owner.bottom() + 1 + kGap});
    if (placed.bottom() > area.bottom()) placed.moveBottom(owner.top() - 1 - kGap);
  }
  placed.moveLeft(std::clamp(placed.left(), area.left(),
                             std::max(area.left(), area.right() + 1 - placed.width())));
  placed.moveTop(std::clamp(placed.top(), area.top(),
                            std::max(area.top(), area.bottom() + 1 - placed.height())));
  tip->move(placed.topLeft());
}

QString TooltipWindow::StyleSheet() const {
  if (!balloon_ && !back_.isValid() && !text_.isValid()) return {};
  const QColor text = TextColor();
  QString sheet =
      QStringLiteral("color: %1; background-color: %2;").arg(Css(text), Css(BackColor()));
  if (balloon_) {
    QColor border = text;  // a softer frame than the text
    border.setAlpha(text.alpha() * 3 / 5);
    sheet += QStringLiteral(" border: 1px solid %1; border-radius: %2px; padding: 3px 6px;")
                 .arg(Css(border))
                 .arg(kRadius);
  }
  return sheet;
}

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/gui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "settings/SettingsStore.h"

namespace {

QRect CentredOnScreen(const QWidget* window, const QSize& size) {
  const QScreen* screen = window->screen();
  if (!screen) return QRect(window->pos(), size);
  QRect rect(QPoint(), size);
  rect.moveCenter(screen->availableGeometry().center());
  return rect;
}

// Stored bounds made reachable: no larger than the available desktop and on it, the top-left
// corner on a screen (not in a gap between screens of unequal size). In 64 bits, as a stored
// position near the integer limit plus a size overflows.
QRect FitToScreens(const QWidget* window, qint64 x, qint64 y, qint64 width, qint64 height) {
  const QScreen* screen = window->screen();
  if (!screen) return window->geometry();
  const auto fit = [&](const QRect& area) {
    width = std::clamp<qint64>(width, 1, area.width());
    height = std::clamp<qint64>(height, 1, area.height());
    x = std::clamp<qint64>(x, area.left(), qint64(area.left()) + area.width() - width);
    y = std::clamp<qint64>(y, area.top(), qint64(area.top()) + area.height() - height);
  };
  fit(screen->availableVirtualGeometry());
  if (!QGuiApplication::screenAt(QPoint(int(x), int(y)))) fit(screen->availableGeometry());
  return QRect(int(x), int(y), int(width), int(height));
}

int PlacementCode(const QWidget* window) {
  if (window->isMinimized()) return 2;
  if (window->isMaximized()) return 3;
  return window->geometry() == CentredOnScreen(window, window->size()) ? 1 : 0;
}

}  // namespace

void SaveWindowPlacement(const SettingsStore& store, QWidget* window, const QString& section) {
  if (!window) return;
  if (!section.isEmpty()) store.SetSection(section);
  const int code = PlacementCode(window);
  store.WriteNumber(QStringLiteral("位置"), code);
  if (code >= 2) return;
  const QRect bounds = window->geometry();
  store.WriteNumber(QStringLiteral("左边"), bounds.x());
  store.WriteNumber(QStringLiteral("顶边"), bounds.y());
  store.WriteNumber(QStringLiteral("宽度"), bounds.width());
  store.WriteNumber(QStringLiteral("高度"), bounds.height());
}

void LoadWindowPlacement(const SettingsStore& store, QWidget* window, const QString& section) {
  if (!window) return;
  if (!section.isEmpty()) store.SetSection(section);
  const int code = TruncToInt32(store.ReadNumber(QStringLiteral("位置"), PlacementCode(window)));
  if (code == 2 || code == 3) {
    window->setWindowState(code == 2 ? Qt::WindowMinimized : Qt::WindowMaximized);
    return;
  }
  window->setWindowState(Qt::WindowNoState);
  const QRect current = window->geometry();
  bool stored = false;
  const auto read = [&store, &stored](const char16_t* key, int fallback) {
    const double value = store.ReadNumber(QString::fromUtf16(key), qQNaN());
    if (std::isnan(value)) return fallback;
    stored = true;
    return TruncToInt32(value);
  };
  const int left = read(u"左边", current.x());
  const int top = read(u"顶边", current.y());
  QSize size(read(u"宽度", current.width()), read(u"高度", current.height()));
  // Sizes that cannot be a window keep the current size.
  if (size.width() < 1 || size.height() < 1) size = current.size();
  // Stored bounds are fitted to the screens; the window's own are left as they are.
  const auto place = [window, stored](int x, int y, const QSize& s) {
    return stored ? FitToScreens(window, x, y, s.width(), s.height()) : QRect(QPoint(x, y), s);
  };
  QRect bounds = place(left, top, size);
  if (code == 1) {
    // A window larger than its screen still shows its top-left corner.
    const QRect centred = CentredOnScreen(window, bounds.size());
    bounds = place(centred.x(), centred.y(), centred.size());
  }
  window->setGeometry(bounds);
}

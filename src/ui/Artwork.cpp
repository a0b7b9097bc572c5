// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Artwork.h"

#include <QPainter>
#include <QSvgRenderer>

#include <array>

void InitArtwork() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(plinkbox);
    return true;
  }();
  (void)registered;
}

namespace {

constexpr std::array<const char*, kToolbarImageCount> kToolbarFiles = {
    "00-import",     "01-previous",    "02-play",          "03-next",   "04-stop",
    "05-select-all", "06-select-none", "07-select-invert", "08-delete", "09-move",
    "10-copy",       "11-rename",      "12-locate",        "13-remove", "14-copy-names",
    "15-copy-paths", "16-about",       "17-exit",
};

QString ToolbarPath(int index) {
  return QStringLiteral(":/toolbar/%1.svg").arg(QLatin1String(kToolbarFiles[index]));
}

QString RowIconPath(int size) { return QStringLiteral(":/row-icon-%1.svg").arg(size); }

// Draws the whole drawing into `area`; false when the file is not a valid SVG.
bool Paint(const QString& path, QPainter& painter, const QRectF& area) {
  QSvgRenderer renderer(path);
  if (!renderer.isValid()) return false;
  renderer.render(&painter, area);
  return true;
}

QPixmap Render(const QString& path, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  const bool painted = Paint(path, painter, QRectF(0, 0, size, size));
  painter.end();
  return painted ? pixmap : QPixmap();
}

// Pixmaps rendered from the vector drawing for each size, so no size is a scaled bitmap.
QIcon IconOf(const QString& path, std::initializer_list<int> sizes) {
  QIcon icon;
  for (int size : sizes) {
    const QPixmap pixmap = Render(path, size);
    if (pixmap.isNull()) return QIcon();
    icon.addPixmap(pixmap);
  }
  return icon;
}

bool IsRowIconSize(int size) { return size == 16 || size == 32 || size == 48; }

}  // namespace

QIcon ToolbarImage(int index) {
  InitArtwork();
  if (index < 0 || index >= kToolbarImageCount) return QIcon();
  return IconOf(ToolbarPath(index), {16, 24, 32, 48, 64});
}

QIcon RowIcon(int size) {
  InitArtwork();
  if (!IsRowIconSize(size)) return QIcon();
  // The double size serves screens with a device pixel ratio of 2.
  return IconOf(RowIconPath(size), {size, 2 * size});
}

QIcon ApplicationIcon() {
  InitArtwork();
  QIcon icon;
  for (int size : {16, 32, 48}) icon.addPixmap(Render(RowIconPath(size), size));
  icon.addPixmap(Render(RowIconPath(48), 128));
  return icon;
}

QCursor DragCursor(bool exchange) {
  InitArtwork();
  const QString path =
      exchange ? QStringLiteral(":/cursor-exchange.svg") : QStringLiteral(":/cursor-no-target.svg");
  return QCursor(Render(path, 32), 0, 0);
}

QPixmap AboutPicture() {
  InitArtwork();
  constexpr int kIcon = 96, kDisc = 40, kGap = 4, kMargin = 8;
  // Play, previous, next over stop, import, locate.
  constexpr std::array<int, 6> kDiscs = {2, 1, 3, 4, 0, 12};
  QPixmap picture(kMargin * 3 + kIcon + 3 * kDisc + 2 * kGap, kMargin * 2 + kIcon);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  Paint(RowIconPath(48), painter, QRectF(kMargin, kMargin, kIcon, kIcon));
  const int left = kMargin * 2 + kIcon;
  const int top = kMargin + (kIcon - 2 * kDisc - kGap) / 2;
  for (size_t i = 0; i < kDiscs.size(); ++i) {
    const int column = static_cast<int>(i % 3), row = static_cast<int>(i / 3);
    Paint(ToolbarPath(kDiscs[i]), painter,
          QRectF(left + column * (kDisc + kGap), top + row * (kDisc + kGap), kDisc, kDisc));
  }
  painter.end();
  return picture;
}

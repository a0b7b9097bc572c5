// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: renders an SVG drawing to a square PNG, for the icon theme's fixed sizes.
//   plinkbox_render_icon IN.svg SIZE OUT.png
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");  // runs in builds without a display
  QGuiApplication app(argc, argv);
  const QStringList args = QGuiApplication::arguments();
  bool sizeOk = false;
  const int size = args.size() == 4 ? args[2].toInt(&sizeOk) : 0;
  if (!sizeOk || size <= 0) {
    std::fputs("usage: plinkbox_render_icon IN.svg SIZE OUT.png\n", stderr);
    return 2;
  }
  QSvgRenderer renderer(args[1]);
  if (!renderer.isValid()) return 1;
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter, QRectF(0, 0, size, size));
  painter.end();
  return image.save(args[3], "PNG") ? 0 : 1;
}

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDirIterator>
#include <QImage>
#include <QSvgRenderer>
#include <QtTest>

#include "ui/Artwork.h"

namespace {

enum class Hue { Green, Blue, Red, Purple, Grey };

Hue HueAt(const QImage& image, int x, int y) {
  const QColor color = image.pixelColor(x, y);
  if (color.hsvSaturation() < 40) return Hue::Grey;
  const int hue = color.hsvHue();
  if (hue >= 80 && hue < 170) return Hue::Green;
  if (hue >= 170 && hue < 250) return Hue::Blue;
  if (hue >= 250 && hue < 320) return Hue::Purple;
  return Hue::Red;
}

// Near-white pixels in the disc's middle band, where the symbols sit and the gloss has faded.
int WhitePixelsInMiddle(const QImage& image) {
  const int s = image.width();
  int count = 0;
  for (int y = s * 13 / 32; y <= s * 21 / 32; ++y)
    for (int x = s * 9 / 32; x <= s * 23 / 32; ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.alpha() > 200 && c.red() > 230 && c.green() > 230 && c.blue() > 230) ++count;
    }
  return count;
}

int OpaquePixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y).alpha() > 200) ++count;
  return count;
}

QImage ImageOf(const QIcon& icon, int size) {
  return icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

Q_DECLARE_METATYPE(Hue)

class TestUi : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() { InitArtwork(); }

  void everyResourceIsValidSvg() {
    int count = 0;
    for (QDirIterator it(QStringLiteral(":/"), {QStringLiteral("*.svg")}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
      const QString path = it.next();
      QVERIFY2(QSvgRenderer(path).isValid(), qPrintable(path));
      ++count;
    }
    QCOMPARE(count, kToolbarImageCount + 3 + 2);
  }

  void toolbarImage_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<Hue>("hue");
    QTest::addColumn<bool>("symbol");
    const struct {
      Hue hue;
      bool symbol;
    } table[kToolbarImageCount] = {
        {Hue::Green, true}, {Hue::Blue, true},  {Hue::Blue, true},  {Hue::Blue, true},
        {Hue::Blue, true},  {Hue::Blue, false}, {Hue::Red, false},  {Hue::Green, false},
        {Hue::Red, true},   {Hue::Green, true}, {Hue::Green, true}, {Hue::Green, true},
        {Hue::Blue, true},  {Hue::Red, true},   {Hue::Blue, true},  {Hue::Blue, true},
        {Hue::Blue, true},  {Hue::Green, true},
    };
    for (int i = 0; i < kToolbarImageCount; ++i)
      QTest::addRow("%d", i) << i << table[i].hue << table[i].symbol;
  }

  void toolbarImage() {
    QFETCH(int, index);
    QFETCH(Hue, hue);
    QFETCH(bool, symbol);
    const QIcon icon = ToolbarImage(index);
    QVERIFY(!icon.isNull());
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    const QImage image = ImageOf(icon, 32);
    QCOMPARE(image.size(), QSize(32, 32));
    QVERIFY(OpaquePixels(image) > 32 * 32 / 2);
    // Lower disc body, below every symbol.
    QCOMPARE(HueAt(image, 16, 25), hue);
    QCOMPARE(WhitePixelsInMiddle(image) > 10, symbol);
  }

  void toolbarImageOutsideTheListIsNull() {
    QVERIFY(ToolbarImage(-1).isNull());
    QVERIFY(ToolbarImage(kToolbarImageCount).isNull());
  }

  void rowIcon_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("16") << 16;
    QTest::newRow("32") << 32;
    QTest::newRow("48") << 48;
  }

  void rowIcon() {
    QFETCH(int, size);
    const QIcon icon = RowIcon(size);
    QVERIFY(icon.availableSizes().contains(QSize(size, size)));
    const QImage image = ImageOf(icon, size);
    QCOMPARE(image.size(), QSize(size, size));
    QVERIFY(OpaquePixels(image) > size * size / 2);
    QCOMPARE(HueAt(image, size / 2, size * 13 / 16), Hue::Purple);
    QVERIFY(WhitePixelsInMiddle(image) > size / 4);
    QVERIFY(ApplicationIcon().availableSizes().contains(QSize(size, size)));
  }

  void rowIconOfAnotherSizeIsNull() {
    QVERIFY(RowIcon(0).isNull());
    QVERIFY(RowIcon(24).isNull());
  }

  void dragCursor_data() {
    QTest::addColumn<bool>("exchange");
    QTest::addColumn<Hue>("triangle");
    QTest::newRow("no target") << false << Hue::Grey;
    QTest::newRow("exchange") << true << Hue::Red;
  }

  void dragCursor() {
    QFETCH(bool, exchange);
    QFETCH(Hue, triangle);
    const QCursor cursor = DragCursor(exchange);
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    QCOMPARE(cursor.hotSpot(), QPoint(0, 0));
    const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(32, 32));
    // The arrow's tip is drawn exactly at the hot spot.
    QVERIFY(image.pixelColor(0, 0).alpha() > 200);
    QCOMPARE(HueAt(image, 22, 15), triangle);
    QCOMPARE(HueAt(image, 22, 22), triangle);
  }

  void aboutPicture() {
    const QImage image = AboutPicture().toImage().convertToFormat(QImage::Format_ARGB32);
    QVERIFY(image.width() > 96 && image.height() >= 96);
    QVERIFY(OpaquePixels(image) > 96 * 96 / 2);
  }
};

QTEST_MAIN(TestUi)
#include "tst_ui.moc"

#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

// Writes a test file whole; a file that cannot be written fails the test.
inline void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
  file.write(bytes);
}

// The whole file, or nothing when it cannot be read.
inline QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

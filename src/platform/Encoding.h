#pragma once
#include <QByteArray>
#include <QString>
#include <QStringView>

// Text of a file that may be UTF-8 (with or without BOM) or, when it is not valid UTF-8, GBK.
QString DecodeTextFile(const QByteArray& bytes);
bool IsValidUtf8(const QByteArray& bytes);

// Compares two texts in the byte order of their GB18030 encoding (digits < capitals < small
// letters < Chinese characters in GBK order): <0, 0 or >0.
int CompareGb18030(QStringView a, QStringView b);
inline bool LessGb18030(QStringView a, QStringView b) { return CompareGb18030(a, b) < 0; }

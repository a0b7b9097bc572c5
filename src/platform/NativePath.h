#pragma once
#include <QByteArray>
#include <QString>

// File names on Linux are bytes. Valid UTF-8 decodes as usual; every byte that is not part of
// valid UTF-8 becomes the lone surrogate U+DC00 + byte, and goes back to that same byte, so a
// name that is not UTF-8 survives the round trip through QString unchanged.
QByteArray ToNativePath(const QString& path);
QString FromNativePath(const QByteArray& bytes);

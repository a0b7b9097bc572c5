#pragma once
#include <QString>

void SetClipboardText(const QString& text);
QString ClipboardText();

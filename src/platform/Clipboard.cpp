#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

// Without a GUI application there is no clipboard: writes are dropped, reads give "".
void SetClipboardText(const QString& text) {
  if (qGuiApp) QGuiApplication::clipboard()->setText(text);
}

QString ClipboardText() { return qGuiApp ? QGuiApplication::clipboard()->text() : QString(); }

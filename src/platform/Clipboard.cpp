// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>

#include "platform/NativePath.h"

// Without a GUI application there is no clipboard: writes are dropped, reads give "".
void SetClipboardText(const QString& text) {
  if (qGuiApp) QGuiApplication::clipboard()->setText(text);
}

void SetClipboardTextAndPaths(const QString& text, const QStringList& paths) {
  if (!qGuiApp) return;
  auto data = std::make_unique<QMimeData>();
  data->setText(text);
  // Built from the bytes, not with setUrls: QUrl would read the names as UTF-8.
  QByteArray uris;
  for (const QString& path : paths) uris += FileUrlBytes(path) + "\r\n";
  data->setData(QStringLiteral("text/uri-list"), uris);
  QGuiApplication::clipboard()->setMimeData(data.release());  // the clipboard owns it
}

QString ClipboardText() { return qGuiApp ? QGuiApplication::clipboard()->text() : QString(); }

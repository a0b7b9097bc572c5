// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The list's drag past its edge: the selected rows leave the window as files.
#include <unistd.h>

#include <QAction>
#include <QMimeData>
#include <QScopeGuard>

#include "RecordingSound.h"
#include "WindowHarness.h"
#include "list/RowSelection.h"
#include "list/SoundList.h"
#include "platform/Files.h"
#include "platform/NativePath.h"
#include "ui/Artwork.h"

namespace {

void SendAt(SoundListView* view, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons,
            Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  SendMouseAt(view, type, QPointF(pos), button, buttons, modifiers);
}

QPoint RowPoint(SoundListView* view, int row) {
  return QPoint(20, view->rowViewportPosition(row) + 2);
}

QStringList Names(SoundList& list) {
  QStringList names;
  for (int row = 0; row < list.RowCount(); ++row) names << list.RowFileName(row);
  return names;
}

}  // namespace

class DragOutTest : public QObject, public WindowHarness {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() { InitArtwork(); }
  void init() { Start(); }
  void cleanup() { Stop(); }

  void dragPastTheEdgeCarriesTheSelectedFiles_data() {
    QTest::addColumn<bool>("sideways");
    QTest::newRow("below the list") << false;
    QTest::newRow("past the right edge, level with a row") << true;
  }

  void dragPastTheEdgeCarriesTheSelectedFiles() {
    QFETCH(bool, sideways);
    RecordingSound sound;
    auto window = OpenWindow(sound);
    window->MenuItem(QStringLiteral("移过时发音"))->setChecked(false);
    const QByteArray gbk = ToNativePath(SoundDir()) + "/\xB9\xC4.wav";  // 鼓.wav in GBK
    QVERIFY(WriteNative(gbk, "x"));
    // QTemporaryDir removes only names that are UTF-8.
    const auto removeGbk = qScopeGuard([&gbk] { ::unlink(gbk.constData()); });
    QStringList paths = MakeSounds({"a.wav", "鼓 #1%.wav"});
    paths.insert(1, FromNativePath(gbk));
    paths << MakeSounds({"d.wav"});
    SoundList& list = window->List();
    list.AddPaths(paths, false);
    const QStringList names = Names(list);

    SoundListView* view = window->View();
    std::vector<QByteArray> uriLists;
    view->SetDragRunner([&](std::unique_ptr<QMimeData> data) {
      uriLists.push_back(data->data(QStringLiteral("text/uri-list")));
    });
    // A click on row 1 and a shift-press on row 2: rows 1 and 2 are the drag's.
    SendAt(view, QEvent::MouseButtonPress, RowPoint(view, 1), Qt::LeftButton);
    SendAt(view, QEvent::MouseButtonRelease, RowPoint(view, 1), Qt::NoButton);
    SendAt(view, QEvent::MouseMove, RowPoint(view, 2), Qt::NoButton);
    SendAt(view, QEvent::MouseButtonPress, RowPoint(view, 2), Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(list.Selection().SelectedRows(), (std::vector<int>{1, 2}));
    const QPoint out = sideways ? QPoint(view->viewport()->width() + 5, RowPoint(view, 3).y())
                                : QPoint(20, view->viewport()->height() + 5);
    if (!sideways) SendAt(view, QEvent::MouseMove, RowPoint(view, 3), Qt::LeftButton);
    SendAt(view, QEvent::MouseMove, out, Qt::LeftButton);

    QCOMPARE(uriLists.size(), size_t(1));
    const QList<QByteArray> uris = uriLists[0].split('\n');
    QCOMPARE(uris.size(), 3);  // two lines and the end after the last
    QVERIFY(uris[0].contains("/%B9%C4.wav"));
    for (int i = 0; i < 2; ++i)
      QCOMPARE(PathFromFileUrl(QUrl::fromEncoded(uris[i].trimmed())), paths[i + 1]);
    QCOMPARE(view->viewport()->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(Names(list), names);
    for (const QString& path : paths) QVERIFY(Files::Exists(path));

    // The drag took the release; the next press and release exchange two rows as before.
    SendAt(view, QEvent::MouseMove, RowPoint(view, 0), Qt::NoButton);
    SendAt(view, QEvent::MouseButtonPress, RowPoint(view, 0), Qt::LeftButton);
    SendAt(view, QEvent::MouseMove, RowPoint(view, 3), Qt::LeftButton);
    SendAt(view, QEvent::MouseButtonRelease, RowPoint(view, 3), Qt::NoButton);
    QStringList exchanged = names;
    exchanged.swapItemsAt(0, 3);
    QCOMPARE(Names(list), exchanged);
    QCOMPARE(uriLists.size(), size_t(1));
  }
};

QTEST_MAIN(DragOutTest)
#include "tst_drag_out.moc"

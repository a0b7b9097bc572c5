// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "TestFiles.h"
#include "settings/SettingsStore.h"
#include "settings/gui/WindowPlacement.h"

// What the store puts right instead of refusing: an unreadable settings file, and stored window
// bounds that no screen can show.
class TestSettingsRepair : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void unreadableFileSetAside_data();
  void unreadableFileSetAside();
  void placementFitsTheScreens_data();
  void placementFitsTheScreens();
};

void TestSettingsRepair::unreadableFileSetAside_data() {
  QTest::addColumn<QByteArray>("bytes");  // empty: a directory in the file's place
  const QString text = QStringLiteral("[播放]\na=1\n");
  QTest::newRow("nul byte") << QByteArray("[播放]\na=1\n\0\n", 14);
  QTest::newRow("utf-16") << "\xFF\xFE" + QByteArray(reinterpret_cast<const char*>(text.utf16()),
                                                     text.size() * 2);
  QTest::newRow("missing bracket") << QByteArray("[播放\na=1\n");
  QTest::newRow("directory") << QByteArray();
}

void TestSettingsRepair::unreadableFileSetAside() {
  QFETCH(QByteArray, bytes);
  QTemporaryDir dir;
  const QString path = dir.filePath("Plinkbox.ini");
  WriteFile(path + ".bad", "earlier");
  QVERIFY(QDir(dir.path()).mkdir("Plinkbox.ini.bad1"));
  if (bytes.isEmpty())
    QVERIFY(QDir(dir.path()).mkpath("Plinkbox.ini/inside"));
  else
    WriteFile(path, bytes);
  SettingsStore store;
  store.Open(path, "播放", true);
  QCOMPARE(store.TakeRecoveryNotice(),
           QStringLiteral("设置文件无法读取，已另存为 Plinkbox.ini.bad2 并恢复默认设置"));
  QCOMPARE(store.TakeRecoveryNotice(), QString());
  // Nothing replaced, the unreadable one kept whole, an empty file in its place.
  QCOMPARE(ReadFile(path + ".bad"), QByteArray("earlier"));
  QVERIFY(QFileInfo(path + ".bad1").isDir());
  QVERIFY(bytes.isEmpty() ? QFileInfo(path + ".bad2/inside").isDir()
                          : ReadFile(path + ".bad2") == bytes);
  QVERIFY(QFileInfo(path).isFile());
  QCOMPARE(ReadFile(path), QByteArray());
  QCOMPARE(store.ReadText("a", "默认"), QStringLiteral("默认"));
  QVERIFY(store.WriteText("a", "2"));
  QCOMPARE(ReadFile(path), QByteArray("[播放]\na=2\n"));
}

void TestSettingsRepair::placementFitsTheScreens_data() {
  QTest::addColumn<QStringList>("stored");  // 位置, 左边, 顶边, 宽度, 高度; "" not stored
  QTest::addColumn<QRect>("expected");
  const QRect d = QGuiApplication::primaryScreen()->availableVirtualGeometry();
  QTest::newRow("larger than the desktop") << QStringList{"0", "40", "50", "100000", "100000"} << d;
  QTest::newRow("int limits") << QStringList{"0", "2147483647", "2147483647", "300", "200"}
                              << QRect(d.right() - 299, d.bottom() - 199, 300, 200);
  QTest::newRow("beyond int") << QStringList{"0", "-1e300", "-9e9", "300", "200"}
                              << QRect(d.topLeft(), QSize(300, 200));
  QTest::newRow("nothing stored: the window's own")
      << QStringList{"", "", "", "", ""} << QRect(50, 50, 2000, 100);
}

void TestSettingsRepair::placementFitsTheScreens() {
  QFETCH(QStringList, stored);
  QFETCH(QRect, expected);
  QTemporaryDir dir;
  SettingsStore store;
  store.Open(dir.filePath("Plinkbox.ini"), "主窗口尺寸", true);
  const QStringList keys{"位置", "左边", "顶边", "宽度", "高度"};
  for (int i = 0; i < keys.size(); ++i)
    if (!stored[i].isEmpty()) QVERIFY(store.WriteText(keys[i], stored[i]));
  QWidget window;
  window.setGeometry(50, 50, 2000, 100);
  LoadWindowPlacement(store, &window, QString());
  QCOMPARE(window.geometry(), expected);
}

QTEST_MAIN(TestSettingsRepair)
#include "tst_settings_repair.moc"

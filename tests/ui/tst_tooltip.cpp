// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QToolTip>
#include <QtTest>
#include <memory>

#include "ui/TooltipHelper.h"
#include "ui/TooltipWindow.h"

namespace {

QWidget* Tip() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->objectName() == QLatin1String("qtooltip_label") && widget->isVisible())
      return widget;
  return nullptr;
}

}  // namespace

class TestTooltip : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void secondCreateKeepsTheFirst() {
    TooltipHelper helper;
    const TooltipHandle first = helper.Create(true, true);
    QVERIFY(first != 0);
    QCOMPARE(helper.Create(), TooltipHandle(0));
    QCOMPARE(helper.GetHandle(), first);
    QCOMPARE(helper.SetMaxTipWidth(0), 1024);
  }

  // Before Create, or after Destroy through the helper or a copy sharing its window.
  void withoutWindowEverythingFails_data() {
    QTest::addColumn<int>("destroyer");  // none, the helper or its copy
    QTest::newRow("never created") << -1;
    QTest::newRow("destroyed") << 0;
    QTest::newRow("destroyed by a copy") << 1;
  }

  void withoutWindowEverythingFails() {
    QFETCH(int, destroyer);
    QWidget control;
    TooltipHelper helper;
    if (destroyer >= 0) {
      helper.Create(true, true);
      helper.AddTool(&control, QStringLiteral("提示"));
      TooltipHelper copy = helper;
      QCOMPARE(copy.GetToolCount(), 1);
      QCOMPARE((destroyer ? copy : helper).Destroy(), 1);
    }
    QString text = QStringLiteral("unchanged");
    std::vector<QWidget*> controls;
    const QList<int> results{helper.AddTool(&control, text),
                             helper.RemoveTool(&control),
                             helper.SetBackColor(Qt::yellow),
                             helper.SetToolText(&control, text),
                             helper.SetDelays(10, 10),
                             helper.Destroy(),
                             helper.Hide(),
                             helper.SetMaxTipWidth(100),
                             helper.GetToolCount(),
                             helper.GetToolWindows(controls),
                             helper.GetToolText(&control, text, 100),
                             int(helper.GetHandle())};
    QCOMPARE(results, QList<int>(results.size(), 0));
    QCOMPARE(text, QStringLiteral("unchanged"));
  }

  void lines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("widthOf");  // the tip is as wide as this text; empty: 0
    QTest::addColumn<QStringList>("lines");
    const QString wide(200, u'w');
    QTest::newRow("CR LF") << "目录\r\n编号\r\n文件名\r\n扩展名" << wide
                           << QStringList{"目录", "编号", "文件名", "扩展名"};
    QTest::newRow("LF, CR") << "a\nb\rc\r\n\r\nd" << wide << QStringList{"a", "b", "c", "", "d"};
    QTest::newRow("one line") << "a\r\nb\nc" << QString() << QStringList{"a b c"};
    QTest::newRow("at spaces") << "aaaa aaaa aaaa"
                               << "aaaa aaaa" << QStringList{"aaaa aaaa", "aaaa"};
    QTest::newRow("spaces at a wrap go") << "aaaa    aaaa"
                                         << "aaaa" << QStringList{"aaaa", "aaaa"};
    QTest::newRow("long word") << "xxxxxxx x"
                               << "xxx" << QStringList{"xxx", "xxx", "x x"};
    QTest::newRow("chinese") << "音频文件音频文件"
                             << "音频文" << QStringList{"音频文", "件音频", "文件"};
    QTest::newRow("surrogate pairs") << "😀😀😀"
                                     << "😀" << QStringList{"😀", "😀", "😀"};
  }

  void lines() {
    QFETCH(QString, text);
    QFETCH(QString, widthOf);
    QFETCH(QStringList, lines);
    const QFontMetrics metrics(QToolTip::font());
    const int width = widthOf.isEmpty() ? 0 : metrics.horizontalAdvance(widthOf);
    QCOMPARE(TooltipLines(text, metrics, width).split(u'\n'), lines);
  }

  void toolTipEventShowsOurTipCentred() {
    TooltipHelper helper;
    helper.Create(true, true);
    QWidget control;
    control.setGeometry(300, 200, 160, 30);
    control.setToolTip(QStringLiteral("the control's own"));
    control.show();
    // Active before its tip shows: a later activation would close the tip at once.
    QVERIFY(QTest::qWaitForWindowActive(&control));
    helper.AddTool(&control, QStringLiteral("目录\r\n编号\r\n文件名\r\n扩展名"), true);
    QHelpEvent event(QEvent::ToolTip, {10, 5}, control.mapToGlobal(QPoint(10, 5)));
    QApplication::sendEvent(&control, &event);
    QVERIFY(QToolTip::isVisible() && Tip());
    QCOMPARE(QToolTip::text().split(u'\n').size(), 4);
    const QRect owner(control.mapToGlobal(QPoint(0, 0)), control.size());
    const QRect tip = Tip()->frameGeometry();
    QVERIFY(qAbs(tip.center().x() - owner.center().x()) <= 1 && tip.top() > owner.bottom());
    QToolTip::hideText();
  }

  // A window opened again registers its new control; the deleted one's never piles up.
  void deletedControlDropsOut() {
    TooltipHelper helper;
    helper.Create(true, true);
    for (int opening = 0; opening < 3; ++opening) {
      const auto control = std::make_unique<QWidget>();
      helper.AddTool(control.get(), QStringLiteral("提示"), true);
      std::vector<QWidget*> controls{nullptr, nullptr};
      QCOMPARE(helper.GetToolWindows(controls), 1);
      QCOMPARE(controls, std::vector<QWidget*>{control.get()});
    }
    QCOMPARE(helper.GetToolCount(), 0);
  }
};

QTEST_MAIN(TestTooltip)
#include "tst_tooltip.moc"

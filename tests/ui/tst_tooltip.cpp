#include <QApplication>
#include <QToolTip>
#include <QtTest>
#include <memory>

#include "ui/TooltipHelper.h"
#include "ui/TooltipWindow.h"

namespace {

const QString kFourLines = QStringLiteral("目录\r\n编号\r\n文件名\r\n扩展名");

QWidget* Tip() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->objectName() == QLatin1String("qtooltip_label") && widget->isVisible())
      return widget;
  return nullptr;
}

void SendToolTip(QWidget* control) {
  QHelpEvent event(QEvent::ToolTip, {10, 5}, control->mapToGlobal(QPoint(10, 5)));
  QApplication::sendEvent(control, &event);
}

// Active before its tip shows: a later activation would close the tip at once.
std::unique_ptr<QWidget> ShownControl(const QString& ownTip = {}) {
  auto control = std::make_unique<QWidget>();
  control->setGeometry(300, 200, 160, 30);
  control->setToolTip(ownTip);
  control->show();
  if (!QTest::qWaitForWindowActive(control.get())) qWarning("the control did not become active");
  return control;
}

}  // namespace

class TestTooltip : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void cleanup() {
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
  }

  void secondCreateKeepsTheFirst() {
    TooltipHelper helper;
    const TooltipHandle first = helper.Create(true, true);
    QVERIFY(first != 0);
    QCOMPARE(helper.Create(), TooltipHandle(0));
    QCOMPARE(helper.GetHandle(), first);
    QCOMPARE(helper.SetMaxTipWidth(0), 1024);
    helper.Destroy();
    const TooltipHandle second = helper.Create();
    QVERIFY(second != 0 && second != first);
  }

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
      QCOMPARE((destroyer ? copy : helper).Destroy(), 1);
    }
    QString text = QStringLiteral("unchanged");
    std::vector<QWidget*> controls;
    const QList<int> results{helper.AddTool(&control, text), helper.RemoveTool(&control),
                             helper.SetBackColor(Qt::yellow), helper.SetTextColor(Qt::black),
                             helper.SetToolText(&control, text), helper.SetDelays(10, 10),
                             helper.Destroy(), helper.Hide(), helper.SetMaxTipWidth(100),
                             helper.GetToolCount(), helper.GetToolWindows(controls),
                             helper.GetToolText(&control, text, 100), int(helper.GetHandle())};
    QCOMPARE(results, QList<int>(results.size(), 0));
    QCOMPARE(text, QStringLiteral("unchanged"));
    QVERIFY(!helper.GetBackColor().isValid() && !helper.GetTextColor().isValid());
  }

  void lines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("widthOf");  // the tip is as wide as this text; empty: 0
    QTest::addColumn<QStringList>("lines");
    const QString wide(200, u'w');
    QTest::newRow("CR LF") << kFourLines << wide << QStringList{"目录", "编号", "文件名", "扩展名"};
    QTest::newRow("LF, CR") << "a\nb\rc\r\n\r\nd" << wide << QStringList{"a", "b", "c", "", "d"};
    QTest::newRow("one line") << "a\r\nb\nc" << QString() << QStringList{"a b c"};
    QTest::newRow("at spaces") << "aaaa aaaa aaaa" << "aaaa aaaa"
                               << QStringList{"aaaa aaaa", "aaaa"};
    QTest::newRow("spaces at a wrap go") << "aaaa    aaaa" << "aaaa" << QStringList{"aaaa", "aaaa"};
    QTest::newRow("long word") << "xxxxxxx x" << "xxx" << QStringList{"xxx", "xxx", "x x"};
    QTest::newRow("chinese") << "音频文件音频文件" << "音频文"
                             << QStringList{"音频文", "件音频", "文件"};
    QTest::newRow("surrogate pairs") << "😀😀😀" << "😀" << QStringList{"😀", "😀", "😀"};
    QTest::newRow("narrower than a character") << "abc" << "." << QStringList{"a", "b", "c"};
  }

  void lines() {
    QFETCH(QString, text);
    QFETCH(QString, widthOf);
    QFETCH(QStringList, lines);
    const QFontMetrics metrics(QToolTip::font());
    const int width = widthOf.isEmpty() ? 0 : metrics.horizontalAdvance(widthOf);
    QCOMPARE(TooltipLines(text, metrics, width).split(u'\n'), lines);
  }

  void toolTipEventShowsOurTip() {
    TooltipHelper helper;
    helper.Create(true, true);
    const auto control = ShownControl(QStringLiteral("the control's own"));
    helper.AddTool(control.get(), kFourLines, true);
    SendToolTip(control.get());
    QVERIFY(QToolTip::isVisible() && Tip());
    QCOMPARE(QToolTip::text().split(u'\n').size(), 4);
    const QRect owner(control->mapToGlobal(QPoint(0, 0)), control->size());
    const QRect tip = Tip()->frameGeometry();
    QVERIFY(qAbs(tip.center().x() - owner.center().x()) <= 1 && tip.top() > owner.bottom());
    QVERIFY(!Tip()->mask().isEmpty());
    // Another widget's tip reuses the visible label without our balloon.
    const auto other = ShownControl(QStringLiteral("plain"));
    SendToolTip(other.get());
    QCOMPARE(QToolTip::text(), QStringLiteral("plain"));
    QVERIFY(!Tip()->styleSheet().contains(QLatin1String("border")) && Tip()->mask().isEmpty());
  }

  // The second call must leave the delays of the first.
  void delays_data() {
    QTest::addColumn<QPoint>("first");  // initial delay, display time
    QTest::addColumn<QPoint>("second");
    QTest::newRow("initial, then 0") << QPoint(60, 0) << QPoint(0, 0);
    QTest::newRow("initial, then -1") << QPoint(60, 0) << QPoint(-1, -1);
    QTest::newRow("display, then -5") << QPoint(0, 100) << QPoint(-5, -5);
  }

  void delays() {
    QFETCH(QPoint, first);
    QFETCH(QPoint, second);
    const bool deferred = first.x() > 0;
    TooltipHelper helper;
    helper.Create(true);
    const auto control = ShownControl();
    helper.AddTool(control.get(), QStringLiteral("提示"));
    helper.SetDelays(first.x(), first.y());
    helper.SetDelays(second.x(), second.y());
    SendToolTip(control.get());
    QCOMPARE(QToolTip::isVisible(), !deferred);
    if (deferred) {
      QEnterEvent enter({1, 1}, {1, 1}, control->mapToGlobal(QPointF(1, 1)));
      QApplication::sendEvent(control.get(), &enter);
      QTRY_COMPARE(QToolTip::text(), QStringLiteral("提示"));
    }
    // The default display time is many seconds.
    if (first.y() > 0) QTRY_VERIFY_WITH_TIMEOUT(!QToolTip::isVisible(), 3000);
    QCOMPARE(helper.Hide(), 1);
    QTRY_VERIFY(!QToolTip::isVisible());
  }

  void destroyedControlDropsOut() {
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

  void copiesAndAttachShareOneWindow() {
    const auto control = ShownControl(QStringLiteral("own"));
    {
      TooltipHelper helper;
      const TooltipHandle handle = helper.Create(true, true);
      const TooltipHelper copy = helper;
      helper.AddTool(control.get(), QStringLiteral("提示"));
      TooltipHelper attached;
      QCOMPARE(attached.Attach(handle), TooltipHandle(0));
      QCOMPARE(copy.GetToolCount() + attached.GetToolCount(), 2);
      QCOMPARE(attached.Attach(handle + 1000), handle);
      QCOMPARE(attached.GetHandle(), TooltipHandle(0));
    }
    // With the last helper gone, so is the window: the control answers for itself again.
    SendToolTip(control.get());
    QCOMPARE(QToolTip::text(), QStringLiteral("own"));
  }

  void toolTextCutsWholeCharacters() {
    TooltipHelper helper;
    helper.Create();
    QWidget control;
    const QString full = QStringLiteral("音频a😀");  // UTF-8: 3, 3, 1, 4 bytes
    helper.AddTool(&control, full);
    const int unitsFor[][2] = {{0, 0}, {3, 0}, {4, 1}, {7, 2}, {8, 3}, {11, 3}, {12, 5}, {99, 5}};
    for (const auto [bytes, units] : unitsFor) {
      QString text;
      QCOMPARE(helper.GetToolText(&control, text, bytes), 1);
      QCOMPARE(text, full.left(units));
    }
    QString text;
    QCOMPARE(helper.GetToolText(nullptr, text, 99), 0);
  }
};

QTEST_MAIN(TestTooltip)
#include "tst_tooltip.moc"

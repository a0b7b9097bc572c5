// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "TestFiles.h"
#include "settings/gui/OptionBinder.h"

namespace {

// One control or value of every kind, and the table that binds them.
struct Window {
  QAction once{QStringLiteral("仅播放一次")};
  QCheckBox recurse{QStringLiteral("遍历子目录")};
  QRadioButton copy{QStringLiteral("复制")};
  QLineEdit filter;
  QPlainTextEdit notes;
  QComboBox kind;
  QListWidget dirs;
  QWidget frame;
  QString lastFile = QStringLiteral("旧");
  bool regex = false;
  int point = 5;
  QString customSaw;  // what the custom row found when it ran

  Option<bool> onceOption{"播放", "仅播放一次", false}, recurseOption{"播放", "遍历", false},
      copyOption{"播放", "复制", false}, regexOption{"导入", "启用正则", true};
  Option<QString> filterOption{"导入", "过滤", {}}, kindOption{"导入", "类型", {}},
      lastFileOption{"导入", "上次文件名", "默认"};
  Option<MultiLineText> notesOption{"导入", "备注", {}};
  Option<CheckList> dirsOption{"导入", "目录", {}};
  Option<int> pointOption{"导入", "当前位置", -1};
  std::vector<OptionBinding> bindings;

  Window() {
    once.setCheckable(true);
    kind.setEditable(true);
    const auto custom = [this](const SettingsStore& store) {
      customSaw = QStringLiteral("%1 %2 %3")
                      .arg(once.isChecked())
                      .arg(recurse.isChecked())
                      .arg(store.Section());
    };
    bindings = {
        Bind(onceOption, &once),
        Step("播放", custom, [](const SettingsStore& s) { s.WriteText("步骤", "存"); }),
        Bind(recurseOption, &recurse),
        Bind(copyOption, &copy),
        Bind(filterOption, &filter),
        Bind(notesOption, &notes),
        Bind(kindOption, &kind),
        Bind(dirsOption, &dirs),
        Bind(lastFileOption, &lastFile),
        Bind(regexOption, &regex),
        Bind(pointOption, &point),
        BindPlacement("主窗口尺寸", &frame),
    };
  }

  // Values first, then the check list's items: "text" + check state.
  QStringList State() const {
    const QRect r = frame.geometry();
    QStringList state{filter.text(), notes.toPlainText(), kind.currentText(), lastFile};
    for (const bool on : {once.isChecked(), recurse.isChecked(), copy.isChecked(), regex})
      state << QString::number(on);
    state << QString::number(point)
          << QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    for (int i = 0; i < dirs.count(); ++i)
      state << dirs.item(i)->text() + QString::number(dirs.item(i)->checkState());
    return state;
  }
};

enum class Size { kNone, kSmall, kLarge };

// One bound control or value of each kind that the window tables use, in section 甲.
struct Kinds {
  QAction item{"仅播放一次"}, none{"无"}, small{"16x16"}, large{"48x48"};
  QCheckBox box{"遍历子目录"};
  QWidget page;  // the radio buttons exclude each other here
  QRadioButton* letters = new QRadioButton("字母", &page);
  QRadioButton* digits = new QRadioButton("数字", &page);
  QLineEdit line;
  QPlainTextEdit text;
  QComboBox combo;
  QListWidget list;
  QTabWidget tabs;
  int value = 0;
  Option<bool> itemOption{"甲", "仅播放一次", false}, boxOption{"甲", "遍历子目录", true},
      lettersOption{"甲", "字母", false}, digitsOption{"甲", "数字", true};
  Option<QString> lineOption{"甲", "单行", "1"}, comboOption{"甲", "类型", "*.wav"},
      aloneOption{"甲", "上次目录", {}};
  Option<MultiLineText> textOption{"甲", "多行", {"x"}};
  Option<CheckList> listOption{"甲", "目录", {{"D"}, {"E", true, -7}}};
  Option<int> tabsOption{"甲", "选项卡序号", 1}, valueOption{"甲", "当前位置", -1};
  ChoiceOption<Size> sizeOption{
      "甲", {{Size::kNone, "无"}, {Size::kSmall, "16x16"}, {Size::kLarge, "48x48"}}, Size::kSmall};
  std::vector<OptionBinding> bindings;

  Kinds() {
    for (QAction* action : {&item, &none, &small, &large}) action->setCheckable(true);
    combo.setEditable(true);
    for (const char* caption : {"编号", "替换", "插入"}) tabs.addTab(new QWidget, caption);
    const auto itemOf = [this](const QString& key) {
      return key == "无" ? &none : key == "16x16" ? &small : &large;
    };
    bindings = {Bind(itemOption, &item),    Bind(boxOption, &box),     Bind(lettersOption, letters),
                Bind(digitsOption, digits), Bind(lineOption, &line),   Bind(comboOption, &combo),
                Bind(aloneOption),          Bind(textOption, &text),   Bind(listOption, &list),
                Bind(tabsOption, &tabs),    Bind(valueOption, &value), Bind(sizeOption, itemOf)};
  }

  QStringList State() const {
    QStringList state{line.text(), text.toPlainText(), combo.currentText(), aloneOption.Value()};
    for (const bool on :
         {item.isChecked(), box.isChecked(), letters->isChecked(), digits->isChecked(),
          none.isChecked(), small.isChecked(), large.isChecked()})
      state << QString::number(on);
    state << QString::number(tabs.currentIndex()) << QString::number(value);
    for (const CheckItem& i : CheckListOf(&list))
      state << QStringLiteral("%1 %2 %3").arg(i.text).arg(i.checked).arg(i.data);
    return state;
  }
};

using Change = void (*)(Kinds&);

}  // namespace

Q_DECLARE_METATYPE(Change)

class TestSettingsTable : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void roundTripInTableOrder();
  void missingKeysKeepControlsAndGiveDefaults();
  void bindingRoundTrips_data();
  void bindingRoundTrips();
};

void TestSettingsTable::roundTripInTableOrder() {
  QTemporaryDir dir;
  SettingsStore store;
  store.Open(dir.filePath("Plinkbox.ini"), "其他", true);
  Window saved;
  saved.once.setChecked(true);
  saved.copy.setChecked(true);
  saved.filter.setText("*.wav");
  saved.notes.setPlainText("a\nb");
  saved.kind.setEditText("鼓");
  auto* item = new QListWidgetItem("D:/音效", &saved.dirs);
  item->setCheckState(Qt::Checked);
  saved.lastFile = "列表.ini";
  saved.point = -7;
  saved.frame.setGeometry(40, 50, 300, 200);
  SaveSettings(store, saved.bindings);
  QCOMPARE(store.Section(), QStringLiteral("其他"));
  QCOMPARE(QString::fromUtf8(ReadFile(store.FilePath())),
           QStringLiteral("[播放]\n仅播放一次=真\n步骤=存\n遍历=假\n复制=真\n\n[导入]\n"
                          "过滤=*.wav\n备注=a【→↓】b\n类型=鼓\n目录=D:/音效【==】真【==】0\n"
                          "上次文件名=列表.ini\n启用正则=假\n当前位置=-7\n\n[主窗口尺寸]\n"
                          "位置=0\n左边=40\n顶边=50\n宽度=300\n高度=200\n"));

  Window loaded;
  loaded.recurse.setChecked(true);
  new QListWidgetItem("旧目录", &loaded.dirs);
  LoadSettings(store, loaded.bindings);
  QCOMPARE(loaded.State(), saved.State());
  // Ran after the menu item's row and before the check box's.
  QCOMPARE(loaded.customSaw, QStringLiteral("1 1 播放"));
  QCOMPARE(store.Section(), QStringLiteral("其他"));
}

void TestSettingsTable::missingKeysKeepControlsAndGiveDefaults() {
  QTemporaryDir dir;
  SettingsStore store;
  store.Open(dir.filePath("Plinkbox.ini"));
  WriteFile(store.FilePath(), "[导入]\n当前位置=12.9\n");
  Window window;
  window.recurse.setChecked(true);
  window.filter.setText("x");
  window.notes.setPlainText("y");
  window.kind.setEditText("z");
  new QListWidgetItem("旧目录", &window.dirs);
  window.frame.setGeometry(10, 20, 200, 100);
  QStringList expected = window.State();
  expected[3] = "默认";
  expected[7] = "1";
  expected[8] = "12";  // truncated toward zero
  LoadSettings(store, window.bindings);
  QCOMPARE(window.State(), expected);
  // Loading writes nothing.
  QCOMPARE(ReadFile(store.FilePath()), QByteArray("[导入]\n当前位置=12.9\n"));
}

void TestSettingsTable::bindingRoundTrips_data() {
  QTest::addColumn<Change>("change");  // as the user or the window changes the control
  QTest::addColumn<QString>("stored");
  QTest::newRow("menu item") << Change([](Kinds& k) { k.item.trigger(); }) << "仅播放一次=真";
  QTest::newRow("check box") << Change([](Kinds& k) { k.box.click(); }) << "遍历子目录=假";
  QTest::newRow("radio button") << Change([](Kinds& k) { k.letters->click(); })
                                << "字母=真\n数字=假";
  QTest::newRow("line edit") << Change([](Kinds& k) { QTest::keyClicks(&k.line, " 2"); })
                             << "单行=1 2";
  QTest::newRow("combo box") << Change([](Kinds& k) { QTest::keyClicks(&k.combo, "|*.mid"); })
                             << "类型=*.wav|*.mid";
  QTest::newRow("option alone") << Change([](Kinds& k) { k.aloneOption.Set("/音效"); })
                                << "上次目录=/音效";
  QTest::newRow("multi-line text")
      << Change([](Kinds& k) { k.text.appendPlainText("y"); }) << "多行=x【→↓】y";
  QTest::newRow("check list") << Change([](Kinds& k) {
    k.list.item(0)->setCheckState(Qt::Checked);
    new QListWidgetItem("F", &k.list);
  }) << "目录=D【==】真【==】0【→↓】E【==】真【==】-7【→↓】F【==】假【==】0";
  QTest::newRow("tab") << Change([](Kinds& k) { k.tabs.setCurrentIndex(2); }) << "选项卡序号=2";
  QTest::newRow("value") << Change([](Kinds& k) { k.value = 12; }) << "当前位置=12";
  QTest::newRow("radio menu items") << Change([](Kinds& k) {
    k.small.setChecked(false);
    k.large.setChecked(true);
  }) << "无=假\n16x16=假\n48x48=真";
}

// Every kind of binding: a change reaches the option, saving writes it as the store's control
// operations always have, and loading shows it in a window of its own.
void TestSettingsTable::bindingRoundTrips() {
  QFETCH(Change, change);
  QFETCH(QString, stored);
  QTemporaryDir dir;
  SettingsStore store;
  store.Open(dir.filePath("Plinkbox.ini"));
  Kinds saved;
  const QStringList designed = saved.State();
  change(saved);
  QVERIFY(saved.State() != designed);
  SaveSettings(store, saved.bindings);
  QVERIFY2(QString::fromUtf8(ReadFile(store.FilePath())).contains(u'\n' + stored + u'\n'),
           ReadFile(store.FilePath()).constData());
  Kinds loaded;
  LoadSettings(store, loaded.bindings);
  QCOMPARE(loaded.State(), saved.State());
}

QTEST_MAIN(TestSettingsTable)
#include "tst_settings_table.moc"

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
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

}  // namespace

class TestSettingsTable : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void roundTripInTableOrder();
  void missingKeysKeepControlsAndGiveDefaults();
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

QTEST_MAIN(TestSettingsTable)
#include "tst_settings_table.moc"

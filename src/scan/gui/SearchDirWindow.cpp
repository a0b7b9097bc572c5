// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/gui/SearchDirWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <functional>
#include <memory>

#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/LongJob.h"
#include "settings/SettingsStore.h"
#include "settings/gui/OptionBinder.h"
#include "ui/PlacedControls.h"
#include "ui/TooltipHelper.h"

namespace {

const QString kCaption = QStringLiteral("检索目录");
const QString kChooseDirectory = QStringLiteral("选择目录...");

}  // namespace

SearchDirWindow::SearchDirWindow(SettingsStore& settings, DirectoryScan& scan,
                                 TooltipHelper& tooltips, QWidget* owner)
    : QWidget(owner, Qt::Tool), settings_(settings), scan_(scan) {
  setObjectName(QStringLiteral("SearchDirWindow"));
  setWindowTitle(kCaption);
  setFixedSize(358, 368);
  move(50, 50);
  CreateControls();
  settingsBindings_ = BindSettings();
  ConnectControls();
  AttachTooltips(tooltips);
  LoadSettings(settings_, settingsBindings_);
}

SearchDirWindow::~SearchDirWindow() { SaveSettings(settings_, settingsBindings_); }

std::vector<OptionBinding> SearchDirWindow::BindSettings() {
  SearchDirOptions& o = options_;
  return {
      Bind(o.directories, 列表框目录_),
      Bind(o.recurse, 选择框遍历_),
      Bind(o.lastDirectory),
      Bind(o.filter, 选择框过滤_),
      Bind(o.filterText, 组合框过滤_),
      Bind(o.classify, 选择框归类_),
      Bind(o.expression, 编辑框归类_),
      Bind(o.copy, 选择框拷贝_),
      Bind(o.smartRename, 选择框改名_),
      Bind(o.loadList, 选择框载入列表_),
      Bind(o.clearList, 选择框载入前清空_),
      Bind(o.quiet, 选择框不提示_),
  };
}

void SearchDirWindow::CreateControls() {
  AddLabel(this, QStringLiteral("标签1"), QStringLiteral("欲检索目录："), {8, 8, 64, 20});
  AddLine(this, QStringLiteral("外形框3"), {75, 16, 269, 8});

  const struct {
    QString name;
    QString caption;
    int left;
    std::function<void()> operation;
  } listButtons[] = {
      {QStringLiteral("按钮添加目录"), QStringLiteral("+"), 8, [this] { AddDirectoryByBrowser(); }},
      {QStringLiteral("按钮移除目录"), QStringLiteral("-"), 28, [this] { RemoveDirectory(); }},
      {QStringLiteral("按钮修改目录"), QStringLiteral("="), 48, [this] { ChangeDirectory(); }},
      {QStringLiteral("按钮清空目录"), QStringLiteral("×"), 68, [this] { ClearDirectories(); }},
      {QStringLiteral("按钮添加目录框"), QStringLiteral("√"), 88,
       [this] { AddDirectoryByInput(); }},
      {QStringLiteral("按钮全选目录"), QStringLiteral("●"), 120,
       [this] { SetDirectoryChecks(CheckMode::kAll); }},
      {QStringLiteral("按钮去选目录"), QStringLiteral("○"), 140,
       [this] { SetDirectoryChecks(CheckMode::kNone); }},
      {QStringLiteral("按钮反选目录"), QStringLiteral("◎"), 160,
       [this] { SetDirectoryChecks(CheckMode::kInvert); }},
      {QStringLiteral("按钮上移目录"), QStringLiteral("↑"), 192, [this] { MoveDirectory(-1); }},
      {QStringLiteral("按钮下移目录"), QStringLiteral("↓"), 212, [this] { MoveDirectory(1); }},
  };
  for (const auto& entry : listButtons)
    connect(AddButton(this, entry.name, entry.caption, {entry.left, 32, 20, 20}),
            &QPushButton::clicked, this, entry.operation);
  选择框遍历_ = AddCheck<QCheckBox>(this, QStringLiteral("选择框遍历"),
                                    QStringLiteral("遍历子目录"), {264, 32, 88, 20});

  列表框目录_ = new QListWidget(this);
  列表框目录_->setObjectName(QStringLiteral("列表框目录"));
  列表框目录_->setGeometry(8, 56, 336, 64);
  CreateFilterControls();
  CreateRunControls();
}

void SearchDirWindow::CreateFilterControls() {
  AddLabel(this, QStringLiteral("标签2"), QStringLiteral("过滤和转移"), {8, 128, 64, 20});
  AddLine(this, QStringLiteral("外形框4"), {75, 136, 269, 8});
  选择框过滤_ = AddCheck<QCheckBox>(this, QStringLiteral("选择框过滤"), QStringLiteral("通配过滤"),
                                    {8, 152, 72, 20});
  组合框过滤_ = new QComboBox(this);
  组合框过滤_->setObjectName(QStringLiteral("组合框过滤"));
  组合框过滤_->setGeometry(80, 152, 264, 20);
  组合框过滤_->setEditable(true);
  // The items stay as designed, and typing is never completed into a longer item.
  组合框过滤_->setInsertPolicy(QComboBox::NoInsert);
  组合框过滤_->setCompleter(nullptr);
  组合框过滤_->addItems({QStringLiteral("*.wav|*.mid|*.mp3"), QStringLiteral("*.wav|*.mid"),
                         QStringLiteral("*.wav|*.mp3"), QStringLiteral("*.mid|*.mp3"),
                         QStringLiteral("*.mp3"), QStringLiteral("*.wav"), QStringLiteral("*.mid"),
                         QStringLiteral("*.*")});
  组合框过滤_->setCurrentIndex(1);  // the designed filter's item; the text is the option's

  选择框归类_ = AddCheck<QCheckBox>(this, QStringLiteral("选择框归类"), QStringLiteral("归类路径"),
                                    {8, 186, 72, 20});
  // One line high, yet it keeps the line breaks a stored expression may hold.
  编辑框归类_ = new QPlainTextEdit(this);
  编辑框归类_->setObjectName(QStringLiteral("编辑框归类"));
  编辑框归类_->setGeometry(80, 186, 244, 20);
  编辑框归类_->setLineWrapMode(QPlainTextEdit::NoWrap);
  编辑框归类_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  编辑框归类_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  编辑框归类_->setTabChangesFocus(true);
  编辑框归类_->document()->setDocumentMargin(1);  // the default margin clips a 20-pixel line

  按钮功能符插入_ =
      AddButton(this, QStringLiteral("按钮功能符插入"), QStringLiteral("▼"), {324, 186, 20, 20});
  QFont arrowFont = 按钮功能符插入_->font();
  arrowFont.setFamily(QStringLiteral("宋体"));
  arrowFont.setBold(true);
  按钮功能符插入_->setFont(arrowFont);
  // A click must not take the focus from the token list, or the list would hide on the press
  // and show again on the release.
  按钮功能符插入_->setFocusPolicy(Qt::TabFocus);

  选择框拷贝_ = AddCheck<QCheckBox>(this, QStringLiteral("选择框拷贝"),
                                    QStringLiteral("拷贝为副本"), {80, 212, 80, 20});
  选择框改名_ = AddCheck<QCheckBox>(this, QStringLiteral("选择框改名"),
                                    QStringLiteral("智能重命名"), {186, 212, 80, 20});
}

void SearchDirWindow::CreateRunControls() {
  AddLabel(this, QStringLiteral("标签6"), QStringLiteral("其他设置项"), {8, 232, 64, 20});
  AddLine(this, QStringLiteral("外形框2"), {72, 240, 272, 8});
  选择框载入列表_ = AddCheck<QCheckBox>(this, QStringLiteral("选择框载入列表"),
                                        QStringLiteral("载入文件列表"), {8, 258, 96, 20});
  选择框载入前清空_ = AddCheck<QCheckBox>(this, QStringLiteral("选择框载入前清空"),
                                          QStringLiteral("清空已有列表"), {112, 258, 96, 20});
  选择框不提示_ = AddCheck<QCheckBox>(this, QStringLiteral("选择框不提示"),
                                      QStringLiteral("不提示执行过程"), {241, 258, 104, 20});

  AddLine(this, QStringLiteral("外形框5"), {0, 288, 352, 8});
  按钮执行并关闭_ = AddButton(this, QStringLiteral("按钮执行并关闭"), QStringLiteral("执行并关闭"),
                              {8, 302, 88, 32});
  按钮执行_ =
      AddButton(this, QStringLiteral("按钮执行"), QStringLiteral("执行"), {106, 302, 54, 32});
  按钮停止_ =
      AddButton(this, QStringLiteral("按钮停止"), QStringLiteral("停止"), {227, 302, 54, 32});
  按钮停止_->hide();
  // A running scan is asked to stop by the close itself, however the window is closed.
  connect(AddButton(this, QStringLiteral("按钮关闭"), QStringLiteral("关闭"), {290, 302, 54, 32}),
          &QPushButton::clicked, this, &QWidget::close);

  // Created last and raised, so it drops over the check boxes below the expression.
  列表框功能符_ = new QListWidget(this);
  列表框功能符_->setObjectName(QStringLiteral("列表框功能符"));
  列表框功能符_->setGeometry(283, 207, 60, 68);
  列表框功能符_->addItems({QStringLiteral("#扩展名"), QStringLiteral("#主名"),
                           QStringLiteral("#文件名"), QStringLiteral("#目录名"),
                           QStringLiteral("#目录路径")});
  列表框功能符_->hide();
  列表框功能符_->raise();
  列表框功能符_->installEventFilter(this);
}

void SearchDirWindow::ConnectControls() {
  connect(按钮功能符插入_, &QPushButton::clicked, this, &SearchDirWindow::ToggleTokenList);
  connect(列表框功能符_, &QListWidget::itemClicked, this, &SearchDirWindow::ChooseToken);
  connect(列表框功能符_, &QListWidget::itemActivated, this, &SearchDirWindow::ChooseToken);

  connect(按钮执行_, &QPushButton::clicked, this, [this] { Run(); });
  connect(按钮执行并关闭_, &QPushButton::clicked, this, [this] {
    if (Run()) close();
  });
  connect(按钮停止_, &QPushButton::clicked, this, &RequestScanStop);

  // Another window's job would refuse the scan; the buttons say so while it runs.
  const auto showBusy = [this](bool busy) {
    按钮执行_->setEnabled(!busy);
    按钮执行并关闭_->setEnabled(!busy);
  };
  connect(&LongJobSignals::Instance(), &LongJobSignals::busyChanged, this, showBusy);
  showBusy(LongJobGuard::Busy());
}

void SearchDirWindow::AttachTooltips(TooltipHelper& tooltips) {
  const QString filterTip =
      QStringList{QStringLiteral("通配符有三个，? * |"), QStringLiteral("? 匹配零个或一个半角字符"),
                  QStringLiteral("* 匹配零个或无限个字符"),
                  QStringLiteral("| 同时并排多组表达式，匹配其中之一即可")}
          .join(QStringLiteral("\r\n"));
  const std::pair<QString, QString> tips[] = {
      {QStringLiteral("按钮添加目录"), QStringLiteral("添加目录（目录树）")},
      {QStringLiteral("按钮移除目录"), QStringLiteral("移除目录")},
      {QStringLiteral("按钮修改目录"), QStringLiteral("修改目录")},
      {QStringLiteral("按钮清空目录"), QStringLiteral("清空目录")},
      {QStringLiteral("按钮添加目录框"), QStringLiteral("添加目录（输入框）")},
      {QStringLiteral("按钮全选目录"), QStringLiteral("全选中目录")},
      {QStringLiteral("按钮去选目录"), QStringLiteral("全不选目录")},
      {QStringLiteral("按钮反选目录"), QStringLiteral("全反选目录")},
      {QStringLiteral("按钮上移目录"), QStringLiteral("上移目录")},
      {QStringLiteral("按钮下移目录"), QStringLiteral("下移目录")},
      {QStringLiteral("选择框遍历"), QStringLiteral("检索时包括下级子目录")},
      {QStringLiteral("列表框目录"),
       QStringLiteral("列出了要检索（加载或归类）的目录，勾选的将参与检索")},
      {QStringLiteral("选择框过滤"),
       QStringLiteral("是否启用过滤。使用过滤规则可以很好地得到想要的文件")},
      {QStringLiteral("组合框过滤"), filterTip},
      {QStringLiteral("选择框归类"), QStringLiteral("检索出文件后是否将其转移（归类）到新的地方")},
      {QStringLiteral("编辑框归类"),
       QStringLiteral("文件转移（归类）到的目录位置。可使用功能符（#目录路径、#目录名、#文件名、"
                      "#主名、#扩展名等）进行组合")},
      {QStringLiteral("按钮功能符插入"), QStringLiteral("点击弹出功能符列表")},
      {QStringLiteral("列表框功能符"), QStringLiteral("点击可插入功能符到左边编辑框的当前位置")},
      {QStringLiteral("选择框改名"),
       QStringLiteral("转移文件到新目录位置时遇到重名时是否自动智能改名。不改名则将后来者居上覆盖"
                      "掉已有文件")},
      {QStringLiteral("选择框拷贝"), QStringLiteral("选上则转移行为为复制，不选为移动")},
      {QStringLiteral("选择框载入列表"),
       QStringLiteral("是否将检索到的列表即时显示到主界面的短音试听列表框中")},
      {QStringLiteral("选择框载入前清空"), QStringLiteral("是否先清空原已有列表")},
      {QStringLiteral("选择框不提示"),
       QStringLiteral("是否在检索进行时禁止动态（在标题栏）提示检索到的文件名（这将明显提高执行速"
                      "度）")},
      {QStringLiteral("按钮执行"), QStringLiteral("开始检索...")},
      {QStringLiteral("按钮执行并关闭"), QStringLiteral("开始检索...完毕后自动关闭窗口")},
      {QStringLiteral("按钮停止"), QStringLiteral("停止检索")},
      {QStringLiteral("按钮关闭"), QStringLiteral("关闭窗口")},
  };
  for (const auto& [name, text] : tips) tooltips.AddTool(findChild<QWidget*>(name), text, true);
}

void SearchDirWindow::AppendDirectory(const QString& text, bool checked) {
  auto* item = new QListWidgetItem(text, 列表框目录_);
  item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  item->setData(Qt::UserRole, 0);
  item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

int SearchDirWindow::SelectedIndex() const {
  const QList<QListWidgetItem*> selected = 列表框目录_->selectedItems();
  return selected.isEmpty() ? -1 : 列表框目录_->row(selected.first());
}

void SearchDirWindow::AddDirectoryByBrowser() {
  const QString folder = BrowseForFolder(options_.lastDirectory.Value(), kChooseDirectory);
  if (folder.isEmpty()) return;
  options_.lastDirectory.Set(folder);
  AppendDirectory(folder, true);
}

void SearchDirWindow::AddDirectoryByInput() {
  bool ok = false;
  const QString text = CurrentDialogs().InputText(QStringLiteral("输入目录路径（尾部不含斜杠）："),
                                                  ClipboardText(), &ok);
  if (ok) AppendDirectory(text, false);
}

void SearchDirWindow::ChangeDirectory() {
  const int index = SelectedIndex();
  if (index < 0) return;
  const QString folder = BrowseForFolder(列表框目录_->item(index)->text(), kChooseDirectory);
  if (folder.isEmpty()) return;
  options_.lastDirectory.Set(folder);
  列表框目录_->item(index)->setText(folder);
}

void SearchDirWindow::RemoveDirectory() {
  const int index = SelectedIndex();
  if (index < 0) return;
  const std::unique_ptr<QListWidgetItem> removed(列表框目录_->takeItem(index));
  列表框目录_->setCurrentRow(std::min(index, 列表框目录_->count() - 1));
}

void SearchDirWindow::ClearDirectories() {
  if (ShowMessage(QStringLiteral("确定要清空目录列表吗？"), Dialogs::kOkCancel) ==
      Dialogs::kAnswerOk)
    列表框目录_->clear();
}

void SearchDirWindow::SetDirectoryChecks(CheckMode mode) {
  for (int i = 0; i < 列表框目录_->count(); ++i) {
    QListWidgetItem* item = 列表框目录_->item(i);
    const bool checked = mode == CheckMode::kAll ||
                         (mode == CheckMode::kInvert && item->checkState() != Qt::Checked);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  }
}

void SearchDirWindow::MoveDirectory(int step) {
  const int from = SelectedIndex();
  const int to = from + step;
  if (from < 0 || to < 0 || to >= 列表框目录_->count()) return;
  QListWidgetItem* a = 列表框目录_->item(from);
  QListWidgetItem* b = 列表框目录_->item(to);
  const QString text = a->text();
  const Qt::CheckState check = a->checkState();
  const QVariant value = a->data(Qt::UserRole);
  a->setText(b->text());
  a->setCheckState(b->checkState());
  a->setData(Qt::UserRole, b->data(Qt::UserRole));
  b->setText(text);
  b->setCheckState(check);
  b->setData(Qt::UserRole, value);
  列表框目录_->setCurrentRow(to);
}

void SearchDirWindow::ToggleTokenList() {
  if (列表框功能符_->isVisible()) {
    列表框功能符_->hide();
    return;
  }
  列表框功能符_->show();
  // Focused, so that leaving it hides it again.
  列表框功能符_->setFocus();
}

void SearchDirWindow::ChooseToken(const QListWidgetItem* item) {
  // A click may also activate the item; only the first of the two inserts.
  if (!item || 列表框功能符_->isHidden()) return;
  列表框功能符_->hide();
  编辑框归类_->insertPlainText(item->text());
  编辑框归类_->setFocus();
}

bool SearchDirWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == 列表框功能符_ && event->type() == QEvent::FocusOut) 列表框功能符_->hide();
  return QWidget::eventFilter(watched, event);
}

bool SearchDirWindow::Run() {
  scanning_ = true;
  const bool completed = scan_.RunScan(*this);
  scanning_ = false;
  // After the click handler has returned, so the window outlives the call that ran the scan.
  if (closeAfterScan_) QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
  return completed;
}

void SearchDirWindow::closeEvent(QCloseEvent* event) {
  // The window is deleted on close; it must not go while its scan is on the stack.
  if (scanning_ && scan_.Running()) {
    RequestScanStop();
    closeAfterScan_ = true;
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

int SearchDirWindow::DirectoryCount() const { return 列表框目录_->count(); }

bool SearchDirWindow::DirectoryChecked(int index) const {
  const QListWidgetItem* item = 列表框目录_->item(index);
  return item && item->checkState() == Qt::Checked;
}

QString SearchDirWindow::DirectoryText(int index) const {
  const QListWidgetItem* item = 列表框目录_->item(index);
  return item ? item->text() : QString();
}

ScanOptions SearchDirWindow::ReadOptions() const {
  ScanOptions options;
  options.recurse = 选择框遍历_->isChecked();
  if (选择框过滤_->isChecked()) options.filter = 组合框过滤_->currentText();
  if (选择框归类_->isChecked()) options.expression = 编辑框归类_->toPlainText();
  options.copy = 选择框拷贝_->isChecked();
  options.smartRename = 选择框改名_->isChecked();
  options.quiet = 选择框不提示_->isChecked();
  options.load = 选择框载入列表_->isChecked();
  return options;
}

bool SearchDirWindow::ClearListFirst() const {
  return 选择框载入列表_->isChecked() && 选择框载入前清空_->isChecked();
}

void SearchDirWindow::SetRunning(bool running) {
  按钮停止_->setVisible(running);
  按钮执行并关闭_->setVisible(!running);
  按钮执行_->setVisible(!running);
}

void SearchDirWindow::SetCaption(const QString& caption) { setWindowTitle(caption); }

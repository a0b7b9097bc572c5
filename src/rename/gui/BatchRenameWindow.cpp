// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/gui/BatchRenameWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCursor>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QUrl>
#include <QUrlQuery>

#include "platform/LongJob.h"
#include "settings/gui/SettingsTable.h"
#include "ui/PlacedControls.h"

namespace {

// What the links of tabs 正则 and 更多 search the web for.
const QString kRegexDebuggerWords = QStringLiteral("正则表达式 在线调试器");
const QString kRenameToolWords = QStringLiteral("Morvane 批量改名");

QUrl SearchUrl(const QString& address, const QString& queryKey, const QString& words) {
  QUrl url(address);
  QUrlQuery query;
  query.addQueryItem(queryKey, words);
  url.setQuery(query);
  return url;
}

// An edit box (name "编辑框…") with its label ("标签…") to the left of it, at topLeft.
QLineEdit* AddField(QWidget* parent, const QString& name, const QString& caption,
                    const QString& text, const QPoint& topLeft, int labelWidth, int editWidth) {
  AddLabel(parent, QStringLiteral("标签") + name.mid(3), caption,
           {topLeft.x(), topLeft.y() + 1, labelWidth, 20});
  auto* edit = new QLineEdit(text, parent);
  edit->setObjectName(name);
  edit->setGeometry(topLeft.x() + labelWidth, topLeft.y(), editWidth, 22);
  return edit;
}

// Opens the address in the browser, never through a shell.
void AddLink(QWidget* parent, const QString& name, const QString& caption, const QUrl& url,
             const QRect& bounds) {
  QLabel* link = AddLabel(parent, name,
                          QStringLiteral("<a href=\"%1\">%2</a>")
                              .arg(url.toString(QUrl::FullyEncoded).toHtmlEscaped(),
                                   caption.toHtmlEscaped()),
                          bounds);
  link->setTextFormat(Qt::RichText);
  QObject::connect(link, &QLabel::linkActivated, link,
                   [url] { QDesktopServices::openUrl(url); });
}

}  // namespace

BatchRenameWindow::BatchRenameWindow(SettingsStore& settings, BatchRenamer& renamer,
                                     const UndoList& undo, const SoundList& list, QWidget* owner)
    : QWidget(owner, Qt::Tool), settings_(settings), renamer_(renamer), undo_(undo), list_(list) {
  setObjectName(QStringLiteral("BatchRenameWindow"));
  setWindowTitle(QStringLiteral("批量更改文件名"));
  setFixedSize(334, 457);

  选择夹_ = new QTabWidget(this);
  选择夹_->setObjectName(QStringLiteral("选择夹"));
  选择夹_->setGeometry(0, 0, 330, 153);
  const struct {
    QString caption;
    void (BatchRenameWindow::*create)(QWidget*);
  } pages[] = {
      {QStringLiteral("编号"), &BatchRenameWindow::CreateNumberPage},
      {QStringLiteral("替换"), &BatchRenameWindow::CreateReplacePage},
      {QStringLiteral("插入"), &BatchRenameWindow::CreateInsertPage},
      {QStringLiteral("删除"), &BatchRenameWindow::CreateDeletePage},
      {QStringLiteral("正则"), &BatchRenameWindow::CreateRegexPage},
      {QStringLiteral("更多"), &BatchRenameWindow::CreateMorePage},
  };
  for (const auto& [caption, create] : pages) {
    auto* page = new QWidget(选择夹_);
    (this->*create)(page);
    选择夹_->addTab(page, caption);
  }
  CreateButtonsAndPreview();
  CreateMenus();
  ConnectControls();

  LoadSettings(settings_, SettingsTable());
  ApplyPreviewPane();
  settingUp_ = false;
}

BatchRenameWindow::~BatchRenameWindow() { SaveSettings(settings_, SettingsTable()); }

void BatchRenameWindow::CreateNumberPage(QWidget* page) {
  编辑框起始值_ = AddField(page, QStringLiteral("编辑框起始值"), QStringLiteral("起始值："),
                           QStringLiteral("1"), {8, 8}, 52, 60);
  编辑框间隔值_ = AddField(page, QStringLiteral("编辑框间隔值"), QStringLiteral("间隔值："),
                           QStringLiteral("1"), {136, 8}, 52, 60);
  单选框字母_ = AddCheck<QRadioButton>(page, QStringLiteral("单选框字母"), QStringLiteral("字母"),
                                       {8, 36, 56, 20}, false);
  单选框数字_ = AddCheck<QRadioButton>(page, QStringLiteral("单选框数字"), QStringLiteral("数字"),
                                       {68, 36, 56, 20}, true);
  选择框小写_ = AddCheck<QCheckBox>(page, QStringLiteral("选择框小写"), QStringLiteral("小写"),
                                    {136, 36, 56, 20}, false);
  选择框补零_ = AddCheck<QCheckBox>(page, QStringLiteral("选择框补零"), QStringLiteral("补零"),
                                    {196, 36, 56, 20}, true);
  选择框组合_ = AddCheck<QCheckBox>(page, QStringLiteral("选择框组合"),
                                    QStringLiteral("高级组合 (可插入“#编号”代表编号值)"),
                                    {8, 62, 300, 20}, false);
  // One line high, yet it keeps the line breaks a stored expression may hold.
  编辑框组合_ = new QPlainTextEdit(QStringLiteral("#主名_#编号.#扩展名"), page);
  编辑框组合_->setObjectName(QStringLiteral("编辑框组合"));
  编辑框组合_->setGeometry(8, 88, 284, 22);
  编辑框组合_->setLineWrapMode(QPlainTextEdit::NoWrap);
  编辑框组合_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  编辑框组合_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  编辑框组合_->setTabChangesFocus(true);
  编辑框组合_->document()->setDocumentMargin(1);  // the default margin clips a 22-pixel line
  按钮插入符号_ = AddButton(page, QStringLiteral("按钮插入符号"), QStringLiteral("▼"),
                            {292, 88, 22, 22});
}

void BatchRenameWindow::CreateReplacePage(QWidget* page) {
  编辑框欲替换_ = AddField(page, QStringLiteral("编辑框欲替换"), QStringLiteral("欲替换的："),
                           {}, {8, 8}, 64, 240);
  编辑框替换为_ = AddField(page, QStringLiteral("编辑框替换为"), QStringLiteral("替换为的："),
                           {}, {8, 36}, 64, 240);
  编辑框替换次数_ = AddField(page, QStringLiteral("编辑框替换次数"), QStringLiteral("替换次数："),
                             QStringLiteral("-1"), {8, 64}, 64, 60);
  选择框区分大小写_ = AddCheck<QCheckBox>(page, QStringLiteral("选择框区分大小写"),
                                          QStringLiteral("区分大小写"), {148, 65, 100, 20}, false);
}

void BatchRenameWindow::CreateInsertPage(QWidget* page) {
  编辑框插入位置_ = AddField(page, QStringLiteral("编辑框插入位置"), QStringLiteral("插入位置："),
                             QStringLiteral("1"), {8, 8}, 64, 60);
  编辑框插入字符_ = AddField(page, QStringLiteral("编辑框插入字符"), QStringLiteral("插入字符："),
                             {}, {8, 36}, 64, 240);
  选择框逆向插入_ = AddCheck<QCheckBox>(page, QStringLiteral("选择框逆向插入"),
                                        QStringLiteral("逆向插入"), {8, 64, 100, 20}, false);
  选择框超出不插_ = AddCheck<QCheckBox>(page, QStringLiteral("选择框超出不插"),
                                        QStringLiteral("超出范围不插入"), {120, 64, 140, 20}, false);
}

void BatchRenameWindow::CreateDeletePage(QWidget* page) {
  编辑框删除位置_ = AddField(page, QStringLiteral("编辑框删除位置"), QStringLiteral("删除位置："),
                             QStringLiteral("1"), {8, 8}, 64, 60);
  编辑框删除数目_ = AddField(page, QStringLiteral("编辑框删除数目"), QStringLiteral("删除数目："),
                             QStringLiteral("2"), {148, 8}, 64, 60);
  编辑框替换字符_ = AddField(page, QStringLiteral("编辑框替换字符"), QStringLiteral("替换字符："),
                             {}, {8, 36}, 64, 240);
  选择框逆向删除_ = AddCheck<QCheckBox>(page, QStringLiteral("选择框逆向删除"),
                                        QStringLiteral("逆向删除"), {8, 64, 100, 20}, false);
}

void BatchRenameWindow::CreateRegexPage(QWidget* page) {
  编辑框匹配式_ = AddField(page, QStringLiteral("编辑框匹配式"), QStringLiteral("匹配表达式："),
                           {}, {8, 8}, 76, 228);
  编辑框替换式_ = AddField(page, QStringLiteral("编辑框替换式"), QStringLiteral("替换表达式："),
                           {}, {8, 36}, 76, 228);
  选择框忽略大小写_ = AddCheck<QCheckBox>(page, QStringLiteral("选择框忽略大小写"),
                                          QStringLiteral("忽略大小写"), {8, 64, 96, 20}, false);
  选择框全局匹配_ = AddCheck<QCheckBox>(page, QStringLiteral("选择框全局匹配"),
                                        QStringLiteral("全局匹配"), {108, 64, 96, 20}, false);
  AddLink(page, QStringLiteral("链接正则调试器"), QStringLiteral(">>> 正则调试器"),
          SearchUrl(QStringLiteral("https://www.baidu.com/s"), QStringLiteral("wd"),
                    kRegexDebuggerWords),
          {212, 64, 100, 20});
}

void BatchRenameWindow::CreateMorePage(QWidget* page) {
  AddLabel(page, QStringLiteral("标签推荐"),
           QStringLiteral("本窗口仅支持当次改名的撤销。需要无限撤销和高级改名功能，推荐使用专业"
                          "批量改名工具《Morvane》，可点击下面的链接搜索下载："),
           {8, 8, 306, 64})
      ->setWordWrap(true);
  const struct {
    QString caption;
    QUrl url;
  } links[] = {
      {QStringLiteral("谷歌搜索"), SearchUrl(QStringLiteral("https://www.google.com/search"),
                                             QStringLiteral("q"), kRenameToolWords)},
      {QStringLiteral("百度搜索"), SearchUrl(QStringLiteral("https://www.baidu.com/s"),
                                             QStringLiteral("wd"), kRenameToolWords)},
      // Tencent's web search.
      {QStringLiteral("腾讯搜索"), SearchUrl(QStringLiteral("https://www.sogou.com/web"),
                                             QStringLiteral("query"), kRenameToolWords)},
      // The original 狗狗 search is gone; a search that is still there stands in for it.
      {QStringLiteral("狗狗搜索"), SearchUrl(QStringLiteral("https://cn.bing.com/search"),
                                             QStringLiteral("q"), kRenameToolWords)},
  };
  int left = 8;
  for (const auto& [caption, url] : links) {
    AddLink(page, QStringLiteral("链接") + caption, caption, url, {left, 84, 70, 20});
    left += 78;
  }
}

void BatchRenameWindow::CreateButtonsAndPreview() {
  按钮执行_ = AddButton(this, QStringLiteral("按钮执行"), QStringLiteral("执行(&Z)"),
                        {8, 163, 56, 32});
  按钮改名选项_ = AddButton(this, QStringLiteral("按钮改名选项"), QStringLiteral("▼"),
                            {64, 163, 20, 32});
  按钮预览_ = AddButton(this, QStringLiteral("按钮预览"), QStringLiteral("预览↓(&Y)"),
                        {92, 163, 76, 32});
  按钮预览_->setCheckable(true);
  按钮撤销_ = AddButton(this, QStringLiteral("按钮撤销"), QStringLiteral("撤销(&C)"),
                        {176, 163, 72, 32});
  按钮关闭_ = AddButton(this, QStringLiteral("按钮关闭"), QStringLiteral("关闭(&G)"),
                        {256, 163, 70, 32});

  编辑框预览数目_ = AddField(this, QStringLiteral("编辑框预览数目"), QStringLiteral("预览数目："),
                             QStringLiteral("20"), {8, 205}, 64, 48);
  选择框自动预览_ = AddCheck<QCheckBox>(this, QStringLiteral("选择框自动预览"),
                                        QStringLiteral("自动预览"), {132, 206, 80, 20}, true);
  按钮更新预览_ = AddButton(this, QStringLiteral("按钮更新预览"), QStringLiteral("◎更新预览◎"),
                            {224, 205, 96, 22});
  列表框预览_ = new QTreeWidget(this);
  列表框预览_->setObjectName(QStringLiteral("列表框预览"));
  列表框预览_->setGeometry(8, 232, 312, 186);
  列表框预览_->setHeaderLabels({QStringLiteral("原文件名"), QStringLiteral("新文件名")});
  列表框预览_->setColumnWidth(0, 150);
  列表框预览_->setRootIsDecorated(false);
  列表框预览_->setUniformRowHeights(true);
  列表框预览_->setAllColumnsShowFocus(true);
}

void BatchRenameWindow::CreateMenus() {
  改名选项_ = new QMenu(this);
  改名选项_->setObjectName(QStringLiteral("改名选项"));
  仅修改选定文件_ = 改名选项_->addAction(QStringLiteral("仅修改选定文件"));
  仅修改选定文件_->setObjectName(QStringLiteral("仅修改选定文件"));
  仅修改选定文件_->setCheckable(true);

  插入符号_ = new QMenu(this);
  插入符号_->setObjectName(QStringLiteral("插入符号"));
  for (const QString& token : {QStringLiteral("#编号"), QStringLiteral("#主名"),
                               QStringLiteral("#扩展名"), QStringLiteral("#文件名"),
                               QStringLiteral("#目录名")})
    插入符号_->addAction(token);
}

void BatchRenameWindow::ConnectControls() {
  connect(按钮执行_, &QPushButton::clicked, this, &BatchRenameWindow::ExecuteRename);
  connect(按钮改名选项_, &QPushButton::clicked, this, [this] { 改名选项_->popup(QCursor::pos()); });
  connect(按钮预览_, &QPushButton::toggled, this, &BatchRenameWindow::ApplyPreviewPane);
  connect(按钮撤销_, &QPushButton::clicked, this, &BatchRenameWindow::UndoRename);
  // A running execution or undo is asked to stop by the close itself, however it comes.
  connect(按钮关闭_, &QPushButton::clicked, this, &QWidget::close);
  connect(按钮更新预览_, &QPushButton::clicked, this, &BatchRenameWindow::UpdatePreview);
  connect(编辑框预览数目_, &QLineEdit::textChanged, this, &BatchRenameWindow::UpdatePreview);
  connect(按钮插入符号_, &QPushButton::clicked, this, [this] { 插入符号_->popup(QCursor::pos()); });
  connect(插入符号_, &QMenu::triggered, this,
          [this](const QAction* item) { InsertToken(item->text()); });

  for (QLineEdit* edit : {编辑框起始值_, 编辑框间隔值_, 编辑框欲替换_, 编辑框替换为_,
                          编辑框替换次数_, 编辑框插入位置_, 编辑框插入字符_, 编辑框删除位置_,
                          编辑框删除数目_, 编辑框替换字符_, 编辑框匹配式_, 编辑框替换式_})
    connect(edit, &QLineEdit::textChanged, this, &BatchRenameWindow::AutoPreview);
  connect(编辑框组合_, &QPlainTextEdit::textChanged, this, &BatchRenameWindow::AutoPreview);
  for (QAbstractButton* box : std::initializer_list<QAbstractButton*>{
           单选框字母_, 单选框数字_, 选择框小写_, 选择框补零_, 选择框组合_, 选择框区分大小写_,
           选择框逆向插入_, 选择框超出不插_, 选择框逆向删除_, 选择框忽略大小写_, 选择框全局匹配_})
    connect(box, &QAbstractButton::clicked, this, &BatchRenameWindow::AutoPreview);

  // A job of another window would refuse the run; the buttons say so while it goes on.
  const auto showBusy = [this](bool busy) {
    按钮执行_->setEnabled(!busy);
    按钮撤销_->setEnabled(!busy);
  };
  connect(&LongJobSignals::Instance(), &LongJobSignals::busyChanged, this, showBusy);
  showBusy(LongJobGuard::Busy());
}

std::vector<SettingRow> BatchRenameWindow::SettingsTable() {
  const QString misc = QStringLiteral("杂务");
  const QString number = QStringLiteral("编号");
  const QString replace = QStringLiteral("替换");
  const QString insert = QStringLiteral("插入");
  const QString remove = QStringLiteral("删除");
  const QString tabKey = QStringLiteral("选项卡序号");
  // Loaded first, so the window opens on the tab it was closed on. An empty key is the caption.
  const CustomTarget tabIndex{
      [this, tabKey](const SettingsStore& store) {
        选择夹_->setCurrentIndex(TruncToInt32(store.ReadNumber(tabKey, 选择夹_->currentIndex())));
      },
      [this, tabKey](const SettingsStore& store) {
        store.WriteNumber(tabKey, 选择夹_->currentIndex());
      }};
  return {
      {misc, tabKey, tabIndex},
      {misc, {}, 仅修改选定文件_},
      {misc, {}, 选择框自动预览_},
      {misc, QStringLiteral("预览数目"), 编辑框预览数目_},
      {number, QStringLiteral("起始值"), 编辑框起始值_},
      {number, QStringLiteral("间隔值"), 编辑框间隔值_},
      {number, {}, 单选框字母_},
      {number, {}, 单选框数字_},
      {number, {}, 选择框小写_},
      {number, {}, 选择框补零_},
      {number, {}, 选择框组合_},
      {number, QStringLiteral("组合表达式"), 编辑框组合_},
      {replace, QStringLiteral("欲替换"), 编辑框欲替换_},
      {replace, QStringLiteral("替换为"), 编辑框替换为_},
      {replace, QStringLiteral("替换次数"), 编辑框替换次数_},
      {replace, {}, 选择框区分大小写_},
      {insert, QStringLiteral("插入位置"), 编辑框插入位置_},
      {insert, QStringLiteral("插入字符"), 编辑框插入字符_},
      {insert, {}, 选择框逆向插入_},
      {insert, {}, 选择框超出不插_},
      {remove, QStringLiteral("删除位置"), 编辑框删除位置_},
      {remove, QStringLiteral("删除数目"), 编辑框删除数目_},
      {remove, QStringLiteral("替换字符"), 编辑框替换字符_},
      {remove, {}, 选择框逆向删除_},
      // The regular-expression keys belong to section 替换.
      {replace, QStringLiteral("匹配式"), 编辑框匹配式_},
      {replace, QStringLiteral("替换式"), 编辑框替换式_},
      {replace, {}, 选择框忽略大小写_},
      {replace, {}, 选择框全局匹配_},
  };
}

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
#include "settings/gui/OptionBinder.h"
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
                    const QPoint& topLeft, int labelWidth, int editWidth) {
  AddLabel(parent, QStringLiteral("标签") + name.mid(3), caption,
           {topLeft.x(), topLeft.y() + 1, labelWidth, 20});
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setGeometry(topLeft.x() + labelWidth, topLeft.y(), editWidth, 22);
  return edit;
}

// Opens the address in the browser, never through a shell.
void AddLink(QWidget* parent, const QString& name, const QString& caption, const QUrl& url,
             const QRect& bounds) {
  QLabel* link =
      AddLabel(parent, name,
               QStringLiteral("<a href=\"%1\">%2</a>")
                   .arg(url.toString(QUrl::FullyEncoded).toHtmlEscaped(), caption.toHtmlEscaped()),
               bounds);
  link->setTextFormat(Qt::RichText);
  QObject::connect(link, &QLabel::linkActivated, link, [url] { QDesktopServices::openUrl(url); });
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
  settingsBindings_ = BindSettings();
  ConnectControls();

  LoadSettings(settings_, settingsBindings_);
  ApplyPreviewPane();
  settingUp_ = false;
}

BatchRenameWindow::~BatchRenameWindow() { SaveSettings(settings_, settingsBindings_); }

void BatchRenameWindow::CreateNumberPage(QWidget* page) {
  编辑框起始值_ =
      AddField(page, QStringLiteral("编辑框起始值"), QStringLiteral("起始值："), {8, 8}, 52, 60);
  编辑框间隔值_ =
      AddField(page, QStringLiteral("编辑框间隔值"), QStringLiteral("间隔值："), {136, 8}, 52, 60);
  单选框字母_ = AddCheck<QRadioButton>(page, QStringLiteral("单选框字母"), QStringLiteral("字母"),
                                       {8, 36, 56, 20});
  单选框数字_ = AddCheck<QRadioButton>(page, QStringLiteral("单选框数字"), QStringLiteral("数字"),
                                       {68, 36, 56, 20});
  选择框小写_ = AddCheck<QCheckBox>(page, QStringLiteral("选择框小写"), QStringLiteral("小写"),
                                    {136, 36, 56, 20});
  选择框补零_ = AddCheck<QCheckBox>(page, QStringLiteral("选择框补零"), QStringLiteral("补零"),
                                    {196, 36, 56, 20});
  选择框组合_ =
      AddCheck<QCheckBox>(page, QStringLiteral("选择框组合"),
                          QStringLiteral("高级组合 (可插入“#编号”代表编号值)"), {8, 62, 300, 20});
  // One line high, yet it keeps the line breaks a stored expression may hold.
  编辑框组合_ = new QPlainTextEdit(page);
  编辑框组合_->setObjectName(QStringLiteral("编辑框组合"));
  编辑框组合_->setGeometry(8, 88, 284, 22);
  编辑框组合_->setLineWrapMode(QPlainTextEdit::NoWrap);
  编辑框组合_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  编辑框组合_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  编辑框组合_->setTabChangesFocus(true);
  编辑框组合_->document()->setDocumentMargin(1);  // the default margin clips a 22-pixel line
  按钮插入符号_ =
      AddButton(page, QStringLiteral("按钮插入符号"), QStringLiteral("▼"), {292, 88, 22, 22});
}

void BatchRenameWindow::CreateReplacePage(QWidget* page) {
  编辑框欲替换_ =
      AddField(page, QStringLiteral("编辑框欲替换"), QStringLiteral("欲替换的："), {8, 8}, 64, 240);
  编辑框替换为_ = AddField(page, QStringLiteral("编辑框替换为"), QStringLiteral("替换为的："),
                           {8, 36}, 64, 240);
  编辑框替换次数_ = AddField(page, QStringLiteral("编辑框替换次数"), QStringLiteral("替换次数："),
                             {8, 64}, 64, 60);
  选择框区分大小写_ = AddCheck<QCheckBox>(page, QStringLiteral("选择框区分大小写"),
                                          QStringLiteral("区分大小写"), {148, 65, 100, 20});
}

void BatchRenameWindow::CreateInsertPage(QWidget* page) {
  编辑框插入位置_ = AddField(page, QStringLiteral("编辑框插入位置"), QStringLiteral("插入位置："),
                             {8, 8}, 64, 60);
  编辑框插入字符_ = AddField(page, QStringLiteral("编辑框插入字符"), QStringLiteral("插入字符："),
                             {8, 36}, 64, 240);
  选择框逆向插入_ = AddCheck<QCheckBox>(page, QStringLiteral("选择框逆向插入"),
                                        QStringLiteral("逆向插入"), {8, 64, 100, 20});
  选择框超出不插_ = AddCheck<QCheckBox>(page, QStringLiteral("选择框超出不插"),
                                        QStringLiteral("超出范围不插入"), {120, 64, 140, 20});
}

void BatchRenameWindow::CreateDeletePage(QWidget* page) {
  编辑框删除位置_ = AddField(page, QStringLiteral("编辑框删除位置"), QStringLiteral("删除位置："),
                             {8, 8}, 64, 60);
  编辑框删除数目_ = AddField(page, QStringLiteral("编辑框删除数目"), QStringLiteral("删除数目："),
                             {148, 8}, 64, 60);
  编辑框替换字符_ = AddField(page, QStringLiteral("编辑框替换字符"), QStringLiteral("替换字符："),
                             {8, 36}, 64, 240);
  选择框逆向删除_ = AddCheck<QCheckBox>(page, QStringLiteral("选择框逆向删除"),
                                        QStringLiteral("逆向删除"), {8, 64, 100, 20});
}

void BatchRenameWindow::CreateRegexPage(QWidget* page) {
  编辑框匹配式_ = AddField(page, QStringLiteral("编辑框匹配式"), QStringLiteral("匹配表达式："),
                           {8, 8}, 76, 228);
  编辑框替换式_ = AddField(page, QStringLiteral("编辑框替换式"), QStringLiteral("替换表达式："),
                           {8, 36}, 76, 228);
  选择框忽略大小写_ = AddCheck<QCheckBox>(page, QStringLiteral("选择框忽略大小写"),
                                          QStringLiteral("忽略大小写"), {8, 64, 96, 20});
  选择框全局匹配_ = AddCheck<QCheckBox>(page, QStringLiteral("选择框全局匹配"),
                                        QStringLiteral("全局匹配"), {108, 64, 96, 20});
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
  按钮执行_ =
      AddButton(this, QStringLiteral("按钮执行"), QStringLiteral("执行(&Z)"), {8, 163, 56, 32});
  按钮改名选项_ =
      AddButton(this, QStringLiteral("按钮改名选项"), QStringLiteral("▼"), {64, 163, 20, 32});
  按钮预览_ =
      AddButton(this, QStringLiteral("按钮预览"), QStringLiteral("预览↓(&Y)"), {92, 163, 76, 32});
  按钮预览_->setCheckable(true);
  按钮撤销_ =
      AddButton(this, QStringLiteral("按钮撤销"), QStringLiteral("撤销(&C)"), {176, 163, 72, 32});
  按钮关闭_ =
      AddButton(this, QStringLiteral("按钮关闭"), QStringLiteral("关闭(&G)"), {256, 163, 70, 32});

  编辑框预览数目_ = AddField(this, QStringLiteral("编辑框预览数目"), QStringLiteral("预览数目："),
                             {8, 205}, 64, 48);
  选择框自动预览_ = AddCheck<QCheckBox>(this, QStringLiteral("选择框自动预览"),
                                        QStringLiteral("自动预览"), {132, 206, 80, 20});
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
  for (const QString& token :
       {QStringLiteral("#编号"), QStringLiteral("#主名"), QStringLiteral("#扩展名"),
        QStringLiteral("#文件名"), QStringLiteral("#目录名")})
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

std::vector<OptionBinding> BatchRenameWindow::BindSettings() {
  BatchRenameOptions& o = options_;
  // The tab first, so the window opens on the tab it was closed on.
  return {
      Bind(o.tab, 选择夹_),
      Bind(o.selectedOnly, 仅修改选定文件_),
      Bind(o.autoPreview, 选择框自动预览_),
      Bind(o.previewCount, 编辑框预览数目_),
      Bind(o.start, 编辑框起始值_),
      Bind(o.step, 编辑框间隔值_),
      Bind(o.letters, 单选框字母_),
      Bind(o.digits, 单选框数字_),
      Bind(o.lowerCase, 选择框小写_),
      Bind(o.zeroFill, 选择框补零_),
      Bind(o.combine, 选择框组合_),
      Bind(o.combination, 编辑框组合_),
      Bind(o.find, 编辑框欲替换_),
      Bind(o.replaceWith, 编辑框替换为_),
      Bind(o.replaceCount, 编辑框替换次数_),
      Bind(o.matchCase, 选择框区分大小写_),
      Bind(o.insertAt, 编辑框插入位置_),
      Bind(o.insertText, 编辑框插入字符_),
      Bind(o.insertBackward, 选择框逆向插入_),
      Bind(o.skipBeyond, 选择框超出不插_),
      Bind(o.deleteAt, 编辑框删除位置_),
      Bind(o.deleteCount, 编辑框删除数目_),
      Bind(o.deleteReplace, 编辑框替换字符_),
      Bind(o.deleteBackward, 选择框逆向删除_),
      Bind(o.pattern, 编辑框匹配式_),
      Bind(o.replacement, 编辑框替换式_),
      Bind(o.ignoreCase, 选择框忽略大小写_),
      Bind(o.global, 选择框全局匹配_),
  };
}

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "find/gui/FindWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "find/Finder.h"
#include "platform/LongJob.h"
#include "settings/MainOptions.h"

namespace {

const QString kDesignedText = QStringLiteral("*.wav|*.mid");

QPushButton* AddButton(QWidget* parent, const QString& name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

FindWindow::FindWindow(Finder& finder, QWidget* owner)
    : QWidget(owner, Qt::Tool), find_(finder.Options()), finder_(finder) {
  setObjectName(QStringLiteral("FindWindow"));
  setWindowTitle(QStringLiteral("查找表项"));

  auto* 标签1 = new QLabel(QStringLiteral("欲查找文件名："), this);
  标签1->setObjectName(QStringLiteral("标签1"));

  组合框欲查找_ = new QComboBox(this);
  组合框欲查找_->setObjectName(QStringLiteral("组合框欲查找"));
  组合框欲查找_->setEditable(true);
  // The list stays as designed, and typing is never completed into a longer item.
  组合框欲查找_->setInsertPolicy(QComboBox::NoInsert);
  组合框欲查找_->setCompleter(nullptr);
  组合框欲查找_->addItems({QStringLiteral("*.wav|*.mid|*.mp3"), kDesignedText,
                           QStringLiteral("*.wav|*.mp3"), QStringLiteral("*.mid|*.mp3"),
                           QStringLiteral("*.mp3"), QStringLiteral("*.wav"),
                           QStringLiteral("*.mid"), QStringLiteral("*.*")});
  组合框欲查找_->setCurrentIndex(1);
  组合框欲查找_->setMinimumContentsLength(24);
  标签1->setBuddy(组合框欲查找_);

  FindOptions& find = find_;
  if (find.text.Value().isEmpty()) {
    find.text.Set(kDesignedText);
  } else {
    组合框欲查找_->setEditText(find.text.Value());
  }
  connect(组合框欲查找_, &QComboBox::currentTextChanged, this,
          [this](const QString& text) { find_.text.Set(text); });

  auto* layout = new QGridLayout(this);
  layout->addWidget(标签1, 0, 0);
  layout->addWidget(组合框欲查找_, 0, 1, 1, 3);
  layout->addWidget(
      AddCheckBox(QStringLiteral("选择框启用正则"), QStringLiteral("启用正则"), find.regex), 1, 0);
  layout->addWidget(
      AddCheckBox(QStringLiteral("选择框模糊匹配"), QStringLiteral("模糊匹配"), find.fuzzy), 1, 1);
  layout->addWidget(AddCheckBox(QStringLiteral("选择框忽略大小写"), QStringLiteral("忽略大小写"),
                                find.ignoreCase),
                    1, 2);
  layout->addWidget(AddCheckBox(QStringLiteral("选择框找到时播放"), QStringLiteral("找到时播放"),
                                find.playWhenFound),
                    1, 3);

  auto* 按钮向上查找 = AddButton(this, QStringLiteral("按钮向上查找"), QStringLiteral("向上查找"));
  auto* 按钮向下查找 = AddButton(this, QStringLiteral("按钮向下查找"), QStringLiteral("向下查找"));
  auto* 按钮查找全部 = AddButton(this, QStringLiteral("按钮查找全部"), QStringLiteral("查找全部"));
  auto* 按钮置查找点 =
      AddButton(this, QStringLiteral("按钮置查找点"), QStringLiteral("置当前查找点"));
  connect(按钮向上查找, &QPushButton::clicked, this,
          [this] { Search([this] { finder_.FindStep(true); }); });
  connect(按钮向下查找, &QPushButton::clicked, this,
          [this] { Search([this] { finder_.FindStep(false); }); });
  connect(按钮查找全部, &QPushButton::clicked, this,
          [this] { Search([this] { finder_.FindAll(); }); });
  connect(按钮置查找点, &QPushButton::clicked, this, [this] { finder_.SetFindPoint(true); });
  // The searches wait while a job runs; setting the find point does not.
  const auto showBusy = [按钮向上查找, 按钮向下查找, 按钮查找全部](bool busy) {
    for (QPushButton* button : {按钮向上查找, 按钮向下查找, 按钮查找全部})
      button->setEnabled(!busy);
  };
  connect(&LongJobSignals::Instance(), &LongJobSignals::busyChanged, this, showBusy);
  showBusy(LongJobGuard::Busy());
  layout->addWidget(按钮向上查找, 2, 0);
  layout->addWidget(按钮向下查找, 2, 1);
  layout->addWidget(按钮查找全部, 2, 2);
  layout->addWidget(按钮置查找点, 2, 3);

  // Wider for a long pattern, never taller than its rows.
  layout->setSizeConstraint(QLayout::SetMinimumSize);
  adjustSize();
  setMaximumHeight(sizeHint().height());
}

void FindWindow::Search(const std::function<void()>& search) {
  // A closed window is deleted later, which may happen before the search returns.
  const QPointer<FindWindow> self(this);
  searching_ = true;
  search();
  if (self) searching_ = false;
}

void FindWindow::closeEvent(QCloseEvent* event) {
  // Only its own search: a job started elsewhere goes on when this window closes.
  if (searching_) LongJobGuard::RequestStop();
  QWidget::closeEvent(event);
}

QCheckBox* FindWindow::AddCheckBox(const QString& name, const QString& caption,
                                   Option<bool>& option) {
  auto* box = new QCheckBox(caption, this);
  box->setObjectName(name);
  box->setChecked(option.Value());
  connect(box, &QCheckBox::toggled, this, [&option](bool checked) { option.Set(checked); });
  return box;
}

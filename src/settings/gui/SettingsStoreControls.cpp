// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "settings/SettingsStore.h"

namespace {

// Menu items, check boxes and radio buttons alike: the caption is the key, the check mark the
// value, and the current check mark the default.
template <typename Checkable>
bool SaveCheck(const SettingsStore& store, const Checkable* control) {
  return control && store.WriteBool(control->text(), control->isChecked());
}

template <typename Checkable>
bool LoadCheck(const SettingsStore& store, Checkable* control) {
  if (!control) return false;
  control->setChecked(store.ReadBool(control->text(), control->isChecked()));
  return control->isChecked();
}

const QString& FieldMark() {
  static const QString text = QStringLiteral("【==】");
  return text;
}

QString EncodeCheckList(const QListWidget* list) {
  QStringList records;
  for (int i = 0; i < list->count(); ++i) {
    const QListWidgetItem* item = list->item(i);
    records << item->text() + FieldMark() +
                   (item->checkState() == Qt::Checked ? SettingsTrue() : SettingsFalse()) +
                   FieldMark() + QString::number(item->data(Qt::UserRole).toInt());
  }
  return records.join(LineBreakMark());
}

// 0 when the text is not a number.
int ToInt32(const QString& text) {
  bool ok = false;
  const double value = text.trimmed().toDouble(&ok);
  return ok ? TruncToInt32(value) : 0;
}

void DecodeCheckList(const QString& text, QListWidget* list, bool clearFirst) {
  if (clearFirst) list->clear();
  if (text.isEmpty()) return;
  for (const QString& record : text.split(LineBreakMark())) {
    QStringList fields = record.split(FieldMark());
    while (fields.size() < 3) fields << QString();
    auto* item = new QListWidgetItem(fields[0], list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setData(Qt::UserRole, ToInt32(fields[2]));
    item->setCheckState(fields[1] == SettingsTrue() ? Qt::Checked : Qt::Unchecked);
  }
}

QRect CentredOnScreen(const QWidget* window, const QSize& size) {
  const QScreen* screen = window->screen();
  if (!screen) return QRect(window->pos(), size);
  QRect rect(QPoint(), size);
  rect.moveCenter(screen->availableGeometry().center());
  return rect;
}

// Stored bounds made reachable: no larger than the available desktop and on it, the top-left
// corner on a screen (not in a gap between screens of unequal size). In 64 bits, as a stored
// position near the integer limit plus a size overflows.
QRect FitToScreens(const QWidget* window, qint64 x, qint64 y, qint64 width, qint64 height) {
  const QScreen* screen = window->screen();
  if (!screen) return window->geometry();
  const auto fit = [&](const QRect& area) {
    width = std::clamp<qint64>(width, 1, area.width());
    height = std::clamp<qint64>(height, 1, area.height());
    x = std::clamp<qint64>(x, area.left(), qint64(area.left()) + area.width() - width);
    y = std::clamp<qint64>(y, area.top(), qint64(area.top()) + area.height() - height);
  };
  fit(screen->availableVirtualGeometry());
  if (!QGuiApplication::screenAt(QPoint(int(x), int(y)))) fit(screen->availableGeometry());
  return QRect(int(x), int(y), int(width), int(height));
}

int PlacementCode(const QWidget* window) {
  if (window->isMinimized()) return 2;
  if (window->isMaximized()) return 3;
  return window->geometry() == CentredOnScreen(window, window->size()) ? 1 : 0;
}

}  // namespace

bool SettingsStore::SaveMenuCheck(const QAction* item) const { return SaveCheck(*this, item); }
bool SettingsStore::LoadMenuCheck(QAction* item) const { return LoadCheck(*this, item); }
bool SettingsStore::SaveCheckBox(const QCheckBox* box) const { return SaveCheck(*this, box); }
bool SettingsStore::LoadCheckBox(QCheckBox* box) const { return LoadCheck(*this, box); }
bool SettingsStore::SaveRadioButton(const QRadioButton* button) const {
  return SaveCheck(*this, button);
}
bool SettingsStore::LoadRadioButton(QRadioButton* button) const {
  return LoadCheck(*this, button);
}

bool SettingsStore::SaveMultiLineText(const QString& key, const QPlainTextEdit* edit) const {
  return edit && WriteText(key, EscapeLineBreaks(edit->toPlainText()));
}

QString SettingsStore::LoadMultiLineText(const QString& key, QPlainTextEdit* edit) const {
  if (!edit) return QString();
  // An absent key leaves the content as it is.
  if (const std::optional<QString> text = Stored(key))
    edit->setPlainText(UnescapeLineBreaks(*text));
  return edit->toPlainText();
}

bool SettingsStore::SaveEditText(const QString& key, const QLineEdit* edit) const {
  return edit && WriteText(key, edit->text());
}

QString SettingsStore::LoadEditText(const QString& key, QLineEdit* edit) const {
  if (!edit) return QString();
  edit->setText(ReadText(key, edit->text()));
  return edit->text();
}

bool SettingsStore::SaveEditText(const QString& key, const QPlainTextEdit* edit) const {
  return edit && WriteText(key, edit->toPlainText());
}

QString SettingsStore::LoadEditText(const QString& key, QPlainTextEdit* edit) const {
  if (!edit) return QString();
  if (const std::optional<QString> text = Stored(key)) edit->setPlainText(*text);
  return edit->toPlainText();
}

bool SettingsStore::SaveCheckList(const QString& key, const QListWidget* list) const {
  return list && WriteText(key, EncodeCheckList(list));
}

void SettingsStore::LoadCheckList(const QString& key, QListWidget* list, bool clearFirst) const {
  // An absent key leaves the items as they are (decoding the box's own items again would
  // append a second copy of each).
  if (!list) return;
  if (const std::optional<QString> text = Stored(key)) DecodeCheckList(*text, list, clearFirst);
}

bool SettingsStore::SaveComboText(const QString& key, const QComboBox* combo) const {
  return combo && WriteText(key, combo->currentText());
}

QString SettingsStore::LoadComboText(const QString& key, QComboBox* combo) const {
  if (!combo) return QString();
  combo->setCurrentText(ReadText(key, combo->currentText()));
  return combo->currentText();
}

void SettingsStore::SaveWindowPlacement(QWidget* window, const QString& section) const {
  if (!window) return;
  if (!section.isEmpty()) section_ = section;
  const int code = PlacementCode(window);
  WriteNumber(QStringLiteral("位置"), code);
  if (code >= 2) return;
  const QRect bounds = window->geometry();
  WriteNumber(QStringLiteral("左边"), bounds.x());
  WriteNumber(QStringLiteral("顶边"), bounds.y());
  WriteNumber(QStringLiteral("宽度"), bounds.width());
  WriteNumber(QStringLiteral("高度"), bounds.height());
}

void SettingsStore::LoadWindowPlacement(QWidget* window, const QString& section) const {
  if (!window) return;
  if (!section.isEmpty()) section_ = section;
  const int code = TruncToInt32(ReadNumber(QStringLiteral("位置"), PlacementCode(window)));
  if (code == 2 || code == 3) {
    window->setWindowState(code == 2 ? Qt::WindowMinimized : Qt::WindowMaximized);
    return;
  }
  window->setWindowState(Qt::WindowNoState);
  const QRect current = window->geometry();
  bool stored = false;
  const auto read = [this, &stored](const char16_t* key, int fallback) {
    const double value = ReadNumber(QString::fromUtf16(key), qQNaN());
    if (std::isnan(value)) return fallback;
    stored = true;
    return TruncToInt32(value);
  };
  const int left = read(u"左边", current.x());
  const int top = read(u"顶边", current.y());
  QSize size(read(u"宽度", current.width()), read(u"高度", current.height()));
  // Sizes that cannot be a window keep the current size.
  if (size.width() < 1 || size.height() < 1) size = current.size();
  // Stored bounds are fitted to the screens; the window's own are left as they are.
  const auto place = [window, stored](int x, int y, const QSize& s) {
    return stored ? FitToScreens(window, x, y, s.width(), s.height()) : QRect(QPoint(x, y), s);
  };
  QRect bounds = place(left, top, size);
  if (code == 1) {
    // A window larger than its screen still shows its top-left corner.
    const QRect centred = CentredOnScreen(window, bounds.size());
    bounds = place(centred.x(), centred.y(), centred.size());
  }
  window->setGeometry(bounds);
}

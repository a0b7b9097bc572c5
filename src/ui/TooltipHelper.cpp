// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TooltipHelper.h"

#include <map>

#include "ui/TooltipWindow.h"

namespace {

constexpr int kMultilineWidth = 1024;

// Lets Attach find a live window by its handle. The windows never touch it when they go, so
// helpers that outlive it at program end are safe; expired entries are pruned on Create.
std::map<TooltipHandle, std::weak_ptr<TooltipWindow>>& Registry() {
  static std::map<TooltipHandle, std::weak_ptr<TooltipWindow>> registry;
  return registry;
}

TooltipHandle lastHandle = 0;

}  // namespace

TooltipHelper::TooltipHelper() = default;
TooltipHelper::~TooltipHelper() = default;
TooltipHelper::TooltipHelper(const TooltipHelper& other) = default;
TooltipHelper& TooltipHelper::operator=(const TooltipHelper& other) = default;

TooltipWindow* TooltipHelper::Live() const {
  return window_ && window_->IsAlive() ? window_.get() : nullptr;
}

TooltipHandle TooltipHelper::Create(bool multiline, bool balloon) {
  if (Live()) return 0;
  auto& registry = Registry();
  std::erase_if(registry, [](const auto& entry) { return entry.second.expired(); });
  window_ = std::make_shared<TooltipWindow>(++lastHandle, multiline ? kMultilineWidth : 0, balloon);
  registry[window_->Handle()] = window_;
  return window_->Handle();
}

int TooltipHelper::AddTool(QWidget* control, const QString& text, bool centred) {
  TooltipWindow* window = Live();
  return window && window->AddTool(control, text, centred) ? 1 : 0;
}

int TooltipHelper::RemoveTool(QWidget* control) {
  TooltipWindow* window = Live();
  return window && window->RemoveTool(control) ? 1 : 0;
}

QColor TooltipHelper::GetBackColor() const {
  const TooltipWindow* window = Live();
  return window ? window->BackColor() : QColor();
}

int TooltipHelper::SetBackColor(const QColor& colour) {
  TooltipWindow* window = Live();
  if (!window || !colour.isValid()) return 0;
  window->SetBackColor(colour);
  return 1;
}

QColor TooltipHelper::GetTextColor() const {
  const TooltipWindow* window = Live();
  return window ? window->TextColor() : QColor();
}

int TooltipHelper::SetTextColor(const QColor& colour) {
  TooltipWindow* window = Live();
  if (!window || !colour.isValid()) return 0;
  window->SetTextColor(colour);
  return 1;
}

int TooltipHelper::SetToolText(QWidget* control, const QString& text) {
  TooltipWindow* window = Live();
  return window && window->SetToolText(control, text) ? 1 : 0;
}

int TooltipHelper::SetDelays(int initialMs, int displayMs) {
  TooltipWindow* window = Live();
  if (!window) return 0;
  window->SetDelays(initialMs, displayMs);
  return 1;
}

int TooltipHelper::Destroy() {
  TooltipWindow* window = Live();
  if (!window) return 0;
  window->TearDown();
  window_.reset();
  return 1;
}

TooltipHandle TooltipHelper::GetHandle() const {
  const TooltipWindow* window = Live();
  return window ? window->Handle() : 0;
}

int TooltipHelper::Hide() {
  TooltipWindow* window = Live();
  if (!window) return 0;
  window->HideTip();
  return 1;
}

TooltipHandle TooltipHelper::Attach(TooltipHandle handle) {
  const TooltipHandle old = GetHandle();
  const auto& registry = Registry();
  const auto it = registry.find(handle);
  window_ = it == registry.end() ? nullptr : it->second.lock();
  return old;
}

int TooltipHelper::SetMaxTipWidth(int pixels) {
  TooltipWindow* window = Live();
  return window ? window->SetMaxWidth(pixels) : 0;
}

int TooltipHelper::GetToolCount() const {
  const TooltipWindow* window = Live();
  return window ? static_cast<int>(window->Controls().size()) : 0;
}

int TooltipHelper::GetToolWindows(std::vector<QWidget*>& controls) const {
  const TooltipWindow* window = Live();
  if (!window) return 0;
  controls = window->Controls();
  return static_cast<int>(controls.size());
}

int TooltipHelper::GetToolText(QWidget* control, QString& text, int bufferBytes) const {
  const TooltipWindow* window = Live();
  const std::optional<QString> full = window ? window->ToolText(control) : std::nullopt;
  if (!full) return 0;
  // Room for the bytes before the NUL; a character that does not fit whole is left out.
  int room = bufferBytes - 1;
  qsizetype end = 0;
  while (end < full->size()) {
    const bool pair = full->at(end).isHighSurrogate() && end + 1 < full->size() &&
                      full->at(end + 1).isLowSurrogate();
    const char16_t unit = full->at(end).unicode();
    const int bytes = pair ? 4 : unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3;
    if (bytes > room) break;
    room -= bytes;
    end += pair ? 2 : 1;
  }
  text = full->left(end);
  return 1;
}

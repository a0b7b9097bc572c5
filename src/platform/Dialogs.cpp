#include "platform/Dialogs.h"

#include "platform/ScriptedDialogs.h"

namespace {

std::unique_ptr<Dialogs>& Installed() {
  static std::unique_ptr<Dialogs> installed;
  return installed;
}

// What answers before the application installs its dialogs: every question is cancelled, so
// nothing that asks first can go ahead by accident.
Dialogs& Fallback() {
  static ScriptedDialogs fallback;
  return fallback;
}

}  // namespace

Dialogs& CurrentDialogs() {
  Dialogs* d = Installed().get();
  return d ? *d : Fallback();
}

std::unique_ptr<Dialogs> InstallDialogs(std::unique_ptr<Dialogs> d) {
  std::swap(Installed(), d);
  return d;
}

// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusReply>
#include <utility>

#include "platform/NativePath.h"

namespace {

const QString kObjectPath = QStringLiteral("/org/plinkbox/Plinkbox");
const QString kInterface = QStringLiteral("org.plinkbox.Plinkbox");

}  // namespace

SingleInstance::SingleInstance(const QString& configDir, const QDBusConnection& bus,
                               QObject* parent)
    : QObject(parent), bus_(bus), name_(ServiceName(configDir)) {
  qDBusRegisterMetaType<QList<QByteArray>>();
}

SingleInstance::~SingleInstance() {
  if (!owner_) return;
  bus_.unregisterObject(kObjectPath);
  bus_.unregisterService(name_);
}

QString SingleInstance::ServiceName(const QString& configDir) {
  // A bus name element may not begin with a digit, hence the letters before the hash.
  const QByteArray hash =
      QCryptographicHash::hash(ToNativePath(configDir), QCryptographicHash::Sha256);
  return kInterface + QStringLiteral(".Config_") + QString::fromLatin1(hash.toHex().left(16));
}

SingleInstance::Claim SingleInstance::ClaimName() {
  if (!bus_.isConnected() || !bus_.interface()) return Claim::kNoBus;
  // The object first, so a call that follows the name at once finds it.
  if (!bus_.registerObject(kObjectPath, this, QDBusConnection::ExportScriptableSlots))
    return Claim::kNoBus;
  const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
      bus_.interface()->registerService(name_, QDBusConnectionInterface::DontQueueService,
                                        QDBusConnectionInterface::DontAllowReplacement);
  owner_ = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
  if (owner_) return Claim::kOwner;
  bus_.unregisterObject(kObjectPath);
  return reply.isValid() ? Claim::kTaken : Claim::kNoBus;
}

bool SingleInstance::HandOver(const QStringList& paths) {
  if (!bus_.isConnected()) return false;
  QList<QByteArray> bytes;
  bytes.reserve(paths.size());
  for (const QString& path : paths) bytes << ToNativePath(path);
  QDBusMessage call =
      QDBusMessage::createMethodCall(name_, kObjectPath, kInterface, QStringLiteral("AddFiles"));
  call << QVariant::fromValue(bytes);
  // The running instance answers from its event loop, which long jobs keep turning; the wait
  // runs a local loop, so the answer may also come from this very process.
  const QDBusMessage reply = bus_.call(call, QDBus::BlockWithGui);
  return reply.type() == QDBusMessage::ReplyMessage;
}

QStringList SingleInstance::TakeFiles() { return std::exchange(pending_, QStringList()); }

void SingleInstance::AddFiles(const QList<QByteArray>& paths) {
  for (const QByteArray& path : paths) pending_ << FromNativePath(path);
  Q_EMIT handedOver();
}

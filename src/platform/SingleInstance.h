// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

// One running Plinkbox per settings directory, so two processes never write the same settings
// and list file. The first start owns a name on the session bus, derived from the settings
// directory (starts with other settings run side by side); a later start hands its files to it
// and ends. Without a bus every start runs on its own.
class SingleInstance : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.plinkbox.Plinkbox")

 public:
  enum class Claim { kOwner, kTaken, kNoBus };

  explicit SingleInstance(const QString& configDir,
                          const QDBusConnection& bus = QDBusConnection::sessionBus(),
                          QObject* parent = nullptr);
  ~SingleInstance() override;

  static QString ServiceName(const QString& configDir);
  const QString& Name() const { return name_; }

  // Takes the name and answers AddFiles on it. kTaken: another process holds the name.
  Claim ClaimName();
  // Gives absolute paths (none: only the window comes to the front) to the process that holds
  // the name. True when it took them.
  bool HandOver(const QStringList& paths);
  // The paths handed over since the last call, in order of arrival.
  QStringList TakeFiles();

 public Q_SLOTS:
  // Called over the bus by a later start. Paths travel as bytes: a name that is not UTF-8
  // keeps every byte.
  Q_SCRIPTABLE void AddFiles(const QList<QByteArray>& paths);

 Q_SIGNALS:
  // Files arrived (TakeFiles has them) or a later start asks for the window.
  void handedOver();

 private:
  QDBusConnection bus_;
  QString name_;
  bool owner_ = false;
  QStringList pending_;
};

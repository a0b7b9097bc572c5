// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The INI reader on any file, and the writer's promise: a value it accepts reads back the same,
// a file it cannot understand is never written, and saving what was read changes no value.
#include <QFile>

#include "FuzzInput.h"
#include "TempDir.h"
#include "settings/IniFile.h"

namespace {

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) std::abort();
}

}  // namespace

// Input: section NUL key NUL value NUL, then the file's bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const QString section = in.Text();
  const QString key = in.Text();
  const QString value = in.Text();
  const QByteArray original = in.Rest();

  const ScratchDir dir;
  const QString path = QString::fromLocal8Bit(dir.Path()) + QStringLiteral("/Plinkbox.ini");
  Write(path, original);
  IniFile file = IniFile::Load(path);
  const std::optional<QString> before = file.Value(section, key);

  if (file.GetState() == IniFile::State::kUnreadable) {
    FUZZ_CHECK(!before);
    FUZZ_CHECK(!file.SetValue(section, key, value));
    FUZZ_CHECK(!file.Save(path));
    FUZZ_CHECK(Bytes(path) == original);
    return 0;
  }

  // Saved unchanged, the file reads as it did, and a second save writes the same lines (a
  // line's own trailing CR, which reading trims anyway, is the one thing allowed to go).
  FUZZ_CHECK(file.Save(path));
  const QByteArray saved = Bytes(path);
  const IniFile reread = IniFile::Load(path);
  FUZZ_CHECK(reread.GetState() == IniFile::State::kReadable);
  FUZZ_CHECK(reread.Value(section, key) == before);
  FUZZ_CHECK(reread.Save(path));
  FUZZ_CHECK(Bytes(path) == QByteArray(saved).replace("\r\n", "\n"));

  if (!file.SetValue(section, key, value)) return 0;
  FUZZ_CHECK(file.Value(section, key) == value);
  FUZZ_CHECK(file.Save(path));
  const IniFile written = IniFile::Load(path);
  FUZZ_CHECK(written.GetState() == IniFile::State::kReadable);
  FUZZ_CHECK(written.Value(section, key) == value);
  return 0;
}

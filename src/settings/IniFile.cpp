// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "platform/Encoding.h"

namespace {

constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

bool IsControl(char16_t c) { return c < 0x20 || c == 0x7F; }

bool IsLoneSurrogate(QStringView text, qsizetype i) {
  const QChar c = text[i];
  if (c.isHighSurrogate()) return i + 1 >= text.size() || !text[i + 1].isLowSurrogate();
  if (c.isLowSurrogate()) return i == 0 || !text[i - 1].isHighSurrogate();
  return false;
}

// Bytes other than tab and line ends below 0x20 mean the file is not a text file.
bool HoldsBinary(const QByteArray& bytes) {
  for (char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return true;
  }
  return false;
}

bool NeedsQuotes(QStringView text, bool isKey) {
  if (text.isEmpty()) return false;
  const QChar first = text.front();
  if (first.isSpace() || text.back().isSpace() || first == u'"') return true;
  if (isKey && (first == u'[' || first == u';' || first == u'#' || first == QChar(0xFEFF) ||
                text.contains(u'=')))
    return true;
  for (qsizetype i = 0; i < text.size(); ++i)
    if ((IsControl(text[i].unicode()) && text[i] != u'\t') || IsLoneSurrogate(text, i)) return true;
  return false;
}

QString HexEscape(char16_t c, int digits) {
  return (digits == 2 ? QStringLiteral("\\x") : QStringLiteral("\\u")) +
         QString::number(c, 16).rightJustified(digits, u'0').toUpper();
}

QString Encode(const QString& text, bool isKey) {
  if (!NeedsQuotes(text, isKey)) return text;
  QString out = QStringLiteral("\"");
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    switch (c) {
      case u'\\':
        out += QStringLiteral("\\\\");
        break;
      case u'"':
        out += QStringLiteral("\\\"");
        break;
      case u'\n':
        out += QStringLiteral("\\n");
        break;
      case u'\r':
        out += QStringLiteral("\\r");
        break;
      case u'\t':
        out += QStringLiteral("\\t");
        break;
      default:
        if (IsControl(c))
          out += HexEscape(c, 2);
        else if (IsLoneSurrogate(text, i))
          out += HexEscape(c, 4);
        else
          out += QChar(c);
    }
  }
  out += u'"';
  return out;
}

// Reads a quoted text that starts at text[pos]; on success pos is just past the closing quote.
std::optional<QString> ParseQuoted(QStringView text, qsizetype& pos) {
  QString out;
  qsizetype i = pos + 1;
  while (i < text.size()) {
    const QChar c = text[i];
    if (c == u'"') {
      pos = i + 1;
      return out;
    }
    if (c != u'\\') {
      out += c;
      ++i;
      continue;
    }
    if (i + 1 >= text.size()) return std::nullopt;
    const QChar e = text[i + 1];
    i += 2;
    if (e == u'\\' || e == u'"') {
      out += e;
    } else if (e == u'n') {
      out += u'\n';
    } else if (e == u'r') {
      out += u'\r';
    } else if (e == u't') {
      out += u'\t';
    } else if (e == u'x' || e == u'u') {
      const int digits = e == u'x' ? 2 : 4;
      bool ok = false;
      const uint code = text.mid(i, digits).toUInt(&ok, 16);
      if (!ok || i + digits > text.size()) return std::nullopt;
      out += QChar(static_cast<char16_t>(code));
      i += digits;
    } else {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

QString DecodeValue(QStringView raw) {
  if (raw.startsWith(u'"')) {
    qsizetype pos = 0;
    if (auto quoted = ParseQuoted(raw, pos); quoted && pos == raw.size()) return *quoted;
  }
  return raw.toString();
}

bool CanBeSectionName(QStringView name) {
  for (qsizetype i = 0; i < name.size(); ++i)
    if (IsControl(name[i].unicode()) || IsLoneSurrogate(name, i)) return false;
  return true;
}

}  // namespace

IniFile IniFile::Load(const QString& path) {
  IniFile file;
  QFile in(path);
  if (!in.exists()) return file;
  file.state_ = State::kUnreadable;
  if (QFileInfo(path).isDir() || in.size() > kMaxFileSize || !in.open(QIODevice::ReadOnly))
    return file;
  QByteArray bytes = in.readAll();
  if (in.error() != QFileDevice::NoError) return file;
  // Editors of the DOS tradition end a text file with an end-of-file mark.
  if (bytes.endsWith('\x1A')) bytes.chop(1);
  if (HoldsBinary(bytes)) return file;
  // Bytes that decode to nothing would be lost by the next write: such a file is left alone.
  const bool bom = bytes.startsWith("\xEF\xBB\xBF");
  const bool utf8 = IsValidUtf8(bom ? bytes.mid(3) : bytes);
  if (bom && !utf8) return file;
  const QString text = DecodeTextFile(bytes);
  if (!utf8 && text.contains(QChar(QChar::ReplacementCharacter))) return file;

  QStringList lines = text.split(u'\n');
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  file.lines_.reserve(lines.size());
  for (QString& lineText : lines) {
    if (lineText.endsWith(u'\r')) lineText.chop(1);
    if (lineText.size() > kMaxLineLength) return IniFile::Unreadable();
    Line line;
    const QStringView t = QStringView(lineText).trimmed();
    if (t.startsWith(u'[')) {
      const qsizetype close = t.lastIndexOf(u']');
      if (close < 0) return IniFile::Unreadable();
      line.kind = Line::Kind::kSection;
      line.name = t.mid(1, close - 1).toString();
    } else if (!t.isEmpty() && !t.startsWith(u';') && !t.startsWith(u'#')) {
      qsizetype equals = -1;
      if (t.startsWith(u'"')) {
        qsizetype pos = 0;
        if (auto key = ParseQuoted(t, pos)) {
          const QStringView rest = t.mid(pos).trimmed();
          if (rest.startsWith(u'=')) {
            line.name = *key;
            equals = t.size() - rest.size();
          }
        }
      }
      if (equals < 0) {
        equals = t.indexOf(u'=');
        if (equals >= 0) line.name = t.left(equals).trimmed().toString();
      }
      if (equals >= 0) {
        line.kind = Line::Kind::kKey;
        line.value = DecodeValue(t.mid(equals + 1).trimmed());
      }
    }
    line.text = std::move(lineText);
    file.lines_.push_back(std::move(line));
  }
  file.state_ = State::kReadable;
  return file;
}

IniFile IniFile::Unreadable() {
  IniFile file;
  file.state_ = State::kUnreadable;
  return file;
}

qsizetype IniFile::FindSection(const QString& section) const {
  for (size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].kind == Line::Kind::kSection && lines_[i].name == section)
      return static_cast<qsizetype>(i);
  return -1;
}

std::optional<QString> IniFile::Value(const QString& section, const QString& key) const {
  // A missing file holds whatever was set since it was loaded.
  if (state_ == State::kUnreadable) return std::nullopt;
  const qsizetype start = FindSection(section);
  if (start < 0) return std::nullopt;
  for (size_t i = start + 1; i < lines_.size() && lines_[i].kind != Line::Kind::kSection; ++i)
    if (lines_[i].kind == Line::Kind::kKey && lines_[i].name == key) return lines_[i].value;
  return std::nullopt;
}

bool IniFile::SetValue(const QString& section, const QString& key, const QString& value) {
  if (state_ == State::kUnreadable || !CanBeSectionName(section)) return false;
  Line line;
  line.kind = Line::Kind::kKey;
  line.name = key;
  line.value = value;
  line.text = Encode(key, true) + u'=' + Encode(value, false);
  if (line.text.size() > kMaxLineLength) return false;

  const qsizetype start = FindSection(section);
  if (start < 0) {
    if (!lines_.empty() && !lines_.back().text.trimmed().isEmpty()) lines_.push_back(Line());
    Line header;
    header.kind = Line::Kind::kSection;
    header.name = section;
    header.text = u'[' + section + u']';
    lines_.push_back(std::move(header));
    lines_.push_back(std::move(line));
    return true;
  }
  // New keys go after the last non-blank line of the section, ahead of the blank lines that
  // separate it from the next.
  size_t insertAt = start + 1;
  for (size_t i = start + 1; i < lines_.size() && lines_[i].kind != Line::Kind::kSection; ++i) {
    if (lines_[i].kind == Line::Kind::kKey && lines_[i].name == key) {
      lines_[i] = std::move(line);
      return true;
    }
    if (!lines_[i].text.trimmed().isEmpty()) insertAt = i + 1;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
  return true;
}

bool IniFile::Save(const QString& path) const {
  if (state_ == State::kUnreadable) return false;
  const QFileInfo info(path);
  if (info.exists() && (!info.isFile() || !info.isWritable())) return false;
  QString text;
  for (const Line& line : lines_) {
    text += line.text;
    text += u'\n';
  }
  QSaveFile out(path);
  if (!out.open(QIODevice::WriteOnly)) return false;
  const QByteArray bytes = text.toUtf8();
  if (out.write(bytes) != bytes.size()) {
    out.cancelWriting();
    return false;
  }
  return out.commit();
}

std::optional<QString> ReadIniValue(const QString& path, const QString& section,
                                    const QString& key) {
  return IniFile::Load(path).Value(section, key);
}

bool WriteIniValue(const QString& path, const QString& section, const QString& key,
                   const QString& value) {
  IniFile file = IniFile::Load(path);
  return file.SetValue(section, key, value) && file.Save(path);
}

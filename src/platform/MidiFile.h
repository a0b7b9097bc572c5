// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QtGlobal>

#include <functional>

// Reads exactly length bytes at offset; false when they are not all there.
using ReadAt = std::function<bool(qint64 offset, char* into, qint64 length)>;

// A standard MIDI file of size bytes, as the synthesizer's player takes it (a six-byte header and
// the announced tracks, other chunks left out), when its header and every announced track are
// complete and made of well-formed events; empty otherwise. Reading stops at the first fault, so
// a large file that is not MIDI costs a few small reads.
QByteArray ReadWellFormedMidi(const ReadAt& readAt, qint64 size);

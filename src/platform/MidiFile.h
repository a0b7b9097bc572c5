// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QtGlobal>

#include <functional>

// Reads exactly length bytes at offset; false when they are not all there.
using ReadAt = std::function<bool(qint64 offset, char* into, qint64 length)>;

struct MidiFacts {
  int tracks = 0;
  quint64 ticks = 0;  // of the longest track
  double seconds = 0;
};

// A standard MIDI file of size bytes, as the synthesizer's player takes it (a six-byte header and
// the announced tracks with every status byte written out, other chunks left out), when its
// header and every announced track are complete and made of well-formed events; empty otherwise.
// Reading stops at the first fault, so a large file that is not MIDI costs a few small reads.
// facts, when given, receives the tracks and the length of an accepted file.
QByteArray ReadWellFormedMidi(const ReadAt& readAt, qint64 size, MidiFacts* facts = nullptr);

// Where a RIFF-wrapped MIDI file (RIFF/RMID) keeps its standard MIDI file: its data chunk, cut
// to what the file holds. False for anything else.
bool FindRmidData(const ReadAt& readAt, qint64 size, qint64& offset, qint64& length);

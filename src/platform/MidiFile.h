#pragma once
#include <QByteArray>

// True when bytes are a standard MIDI file whose header and every announced track are complete
// and made of well-formed events, so the synthesizer's player never meets garbage.
bool IsWellFormedMidi(const QByteArray& bytes);

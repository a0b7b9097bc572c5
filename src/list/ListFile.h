#pragma once
#include <QString>

class SoundList;

// The list file: one full path per line, UTF-8, written whole and atomically. Reading accepts
// "\r\n" and "\n" and GBK files; lines naming no existing file are skipped.
bool SaveListFile(const SoundList& list, const QString& filePath);
// Appends the files named in the file (clearing the list first when asked); returns rows added.
int LoadListFile(SoundList& list, const QString& filePath, bool clearFirst);

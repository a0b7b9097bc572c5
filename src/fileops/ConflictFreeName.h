#pragma once
#include <QString>

// The caller protocol of a move or copy into directory: the source name when smart renaming is
// off or the name is free; otherwise the first of _1, _2, _3 ... that is free. sourcePath names
// the file being moved: a target that is that file itself is no clash (the move changes nothing).
QString ConflictFreeTargetName(const QString& directory, const QString& fileName, bool smartRename,
                               const QString& sourcePath = QString());

// The name a save dialog gave, made whole.
#pragma once

#include <QString>

// path with ext (".pdf") added when it has no suffix. The dialog asked about replacing the name
// as typed, not the one with ext added: when that one exists, the user is asked here whether to
// replace it. Empty when path is empty or the user keeps the existing file.
QString SaveNameWithSuffix(const QString& path, const QString& ext);

// The working files, relative names in the working folder.
#pragma once

#include <QString>

inline const QString kWorkingDatabase = QStringLiteral("Zelkova.mdb");
inline const QString kBackupDatabase = QStringLiteral("ZelkovaMT.mdb");
inline const QString kCompactDatabase = QStringLiteral("Zelkova2.mdb");

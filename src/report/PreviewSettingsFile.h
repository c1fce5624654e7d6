// The preview settings file "pif": one record of 80 bytes holding the
// display contents of the results report (PreviewInfoRecord), little-endian,
// without padding:
//
//   0 Confirmed, 2 ByLoadCase, 4 PerNodeMember, 6 CombineCases (16-bit, -1/0)
//   8 CaseSelected[10] (16-bit, -1/0)   28 CaseFactor[10] (IEEE single)
//  68 ShowDisplacement (16-bit, 0/1)     70 DisplacementScale (single)
//  74 ShowStress (16-bit, 0/1)           76 StressScale (single)
#pragma once

#include "core/ProgramState.h"
#include "database/WorkingFiles.h"

#include <QByteArray>
#include <QString>

namespace report {

using ::kPreviewInfoFile;
constexpr int kPreviewInfoLength = 80;

// Factors and scales as the display-contents dialog shows them; a case
// factor stands right-aligned in a field of ten characters of its list.
constexpr int kFactorField = 10;
inline const QString kFactorFormat = QStringLiteral("0.000");
QString CaseFactorText(float factor);

QByteArray EncodePreviewInfo(const PreviewInfoRecord& info);
// The record of `bytes`; bytes beyond their end read from `missing`. A
// damaged value reads as its default 1: a case factor that is not finite or
// whose text is wider than its field, a scale that is not finite.
PreviewInfoRecord DecodePreviewInfo(const QByteArray& bytes, const PreviewInfoRecord& missing);

// The display contents when "pif" is missing; Confirmed as given.
PreviewInfoRecord DefaultPreviewInfo(int16_t confirmed);

// Reads "pif" into `info` when the file exists (a short file gives the
// defaults for the bytes it lacks); otherwise every field but Confirmed
// takes its default. A symbolic link of the file's name counts as no file:
// it is never read through.
void LoadPreviewInfo(PreviewInfoRecord& info, const QString& path = kPreviewInfoFile);

// Writes the whole record, and any bytes the file holds after it, as a new
// whole file; false when it cannot be written, and the file is then as it was.
// A symbolic link of the file's name is replaced, never read or written
// through: the new file holds the record alone.
bool WritePreviewInfo(const PreviewInfoRecord& info, const QString& path = kPreviewInfoFile);

// After a failed build: the file's record (or the defaults for what it
// lacks) with the combination cleared — no case chosen, every factor 1 —
// becomes `info` and is written back, all 80 bytes; false when the file
// cannot be written (`info` is cleared all the same).
bool ClearStoredCombination(PreviewInfoRecord& info, const QString& path = kPreviewInfoFile);

// The first line of what the user is told when the file cannot be written.
inline const QString kContentsNotStored = QStringLiteral("表示内容をファイルに保存できませんでした。");

}  // namespace report

#include "report/PreviewSettingsFile.h"

#include "platform/OwnFile.h"
#include "platform/Runtime.h"
#include "platform/SafeFile.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace report {

namespace {

void PutInt16(char* at, int16_t v) { qToLittleEndian<int16_t>(v, at); }
void PutSingle(char* at, float v)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    qToLittleEndian<uint32_t>(bits, at);
}
int16_t GetInt16(const char* at) { return qFromLittleEndian<int16_t>(at); }
float GetSingle(const char* at)
{
    const uint32_t bits = qFromLittleEndian<uint32_t>(at);
    float v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// Byte offsets of the record.
enum Offset : int {
    kConfirmed = 0,
    kByLoadCase = 2,
    kPerNodeMember = 4,
    kCombineCases = 6,
    kCaseSelected = 8,
    kCaseFactor = 28,
    kShowDisplacement = 68,
    kDisplacementScale = 70,
    kShowStress = 74,
    kStressScale = 76,
};

// A stored value the record cannot use reads as 1, the default of every
// factor and scale.
float FactorOrDefault(float factor)
{
    return std::isfinite(factor) && CaseFactorText(factor).size() <= kFactorField ? factor : 1.0f;
}

float ScaleOrDefault(float scale) { return std::isfinite(scale) ? scale : 1.0f; }

}  // namespace

QString CaseFactorText(float factor) { return rt::Format(factor, kFactorFormat); }

QByteArray EncodePreviewInfo(const PreviewInfoRecord& info)
{
    QByteArray bytes(kPreviewInfoLength, '\0');
    char* b = bytes.data();
    PutInt16(b + kConfirmed, info.Confirmed);
    PutInt16(b + kByLoadCase, info.ByLoadCase);
    PutInt16(b + kPerNodeMember, info.PerNodeMember);
    PutInt16(b + kCombineCases, info.CombineCases);
    for (int i = 0; i < 10; ++i) {
        PutInt16(b + kCaseSelected + 2 * i, info.CaseSelected[i]);
        PutSingle(b + kCaseFactor + 4 * i, info.CaseFactor[i]);
    }
    PutInt16(b + kShowDisplacement, info.ShowDisplacement);
    PutSingle(b + kDisplacementScale, info.DisplacementScale);
    PutInt16(b + kShowStress, info.ShowStress);
    PutSingle(b + kStressScale, info.StressScale);
    return bytes;
}

PreviewInfoRecord DecodePreviewInfo(const QByteArray& bytes, const PreviewInfoRecord& missing)
{
    QByteArray full = EncodePreviewInfo(missing);
    std::memcpy(full.data(), bytes.constData(), std::min<size_t>(bytes.size(), kPreviewInfoLength));
    const char* b = full.constData();
    PreviewInfoRecord info;
    info.Confirmed = GetInt16(b + kConfirmed);
    info.ByLoadCase = GetInt16(b + kByLoadCase);
    info.PerNodeMember = GetInt16(b + kPerNodeMember);
    info.CombineCases = GetInt16(b + kCombineCases);
    for (int i = 0; i < 10; ++i) {
        info.CaseSelected[i] = GetInt16(b + kCaseSelected + 2 * i);
        info.CaseFactor[i] = FactorOrDefault(GetSingle(b + kCaseFactor + 4 * i));
    }
    info.ShowDisplacement = GetInt16(b + kShowDisplacement);
    info.DisplacementScale = ScaleOrDefault(GetSingle(b + kDisplacementScale));
    info.ShowStress = GetInt16(b + kShowStress);
    info.StressScale = ScaleOrDefault(GetSingle(b + kStressScale));
    return info;
}

PreviewInfoRecord DefaultPreviewInfo(int16_t confirmed)
{
    PreviewInfoRecord info;
    info.Confirmed = confirmed;
    return info;
}

namespace {
// The bytes of record 1 as far as the file holds them; false when the file
// is missing or cannot be read. A link of the file's name is no file of
// ours: its bytes never become the display contents.
bool ReadRecord(const QString& path, QByteArray& bytes)
{
    return files::ReadOwnFile(path, bytes, kPreviewInfoLength) == files::OwnFileRead::Read;
}
}  // namespace

void LoadPreviewInfo(PreviewInfoRecord& info, const QString& path)
{
    const PreviewInfoRecord defaults = DefaultPreviewInfo(info.Confirmed);
    QByteArray bytes;
    info = ReadRecord(path, bytes) ? DecodePreviewInfo(bytes, defaults) : defaults;
}

bool WritePreviewInfo(const PreviewInfoRecord& info, const QString& path)
{
    // Record 1 is the file's first 80 bytes; anything after them in a file
    // of ours stays. Nothing is taken over from a link's file.
    QByteArray bytes = EncodePreviewInfo(info);
    QByteArray old;
    if (files::ReadOwnFile(path, old) == files::OwnFileRead::Read) bytes += old.mid(kPreviewInfoLength);
    return files::WriteWholeFile(path, bytes, nullptr, files::Link::Replace);
}

bool ClearStoredCombination(PreviewInfoRecord& info, const QString& path)
{
    // A file that cannot be read gives the defaults, as no bytes decode to them.
    LoadPreviewInfo(info, path);
    info.CombineCases = 0;
    info.CaseSelected.fill(0);
    info.CaseFactor.fill(1.0f);
    return WritePreviewInfo(info, path);
}

}  // namespace report

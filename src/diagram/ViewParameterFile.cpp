#include "diagram/ViewParameterFile.h"

#include "platform/OwnFile.h"
#include "platform/Runtime.h"
#include "platform/SafeFile.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace diagram {

namespace {

// How the preview's record reads a box: the axis indicator's boxes of the
// layout mode take any typed text, so they are read, as the diagrams read
// them, for their leading number; every other box must hold a number.
enum class PreviewReading { Strict, LeadingNumber };

// Each field once: its box, its place in the record and its member.
struct FieldDesc {
    const char* control;
    int offset;
    float ViewParameters::*real;      // set for Single fields
    int16_t ViewParameters::*whole;   // set for Integer fields
    PreviewReading previewReading;
};

constexpr FieldDesc Real(const char* control, int offset, float ViewParameters::*m,
                         PreviewReading reading = PreviewReading::Strict)
{
    return {control, offset, m, nullptr, reading};
}
constexpr FieldDesc Whole(const char* control, int offset, int16_t ViewParameters::*m,
                          PreviewReading reading = PreviewReading::Strict)
{
    return {control, offset, nullptr, m, reading};
}

const std::array<FieldDesc, 17> kFields = {{
    Real("txtra", 0, &ViewParameters::ra),
    Whole("txtθa", 4, &ViewParameters::thetaA),
    Whole("txtφa", 6, &ViewParameters::phiA),
    Real("txtrf", 8, &ViewParameters::rf),
    Whole("txtθf", 12, &ViewParameters::thetaF),
    Whole("txtφf", 14, &ViewParameters::phiF),
    Real("txtX", 16, &ViewParameters::offsetX),
    Real("txtY", 20, &ViewParameters::offsetY),
    Real("txtzoom", 24, &ViewParameters::zoom),
    Whole("txtCoordX", 28, &ViewParameters::coordX, PreviewReading::LeadingNumber),
    Whole("txtCoordY", 30, &ViewParameters::coordY, PreviewReading::LeadingNumber),
    Real(kAxisSizeBox, 32, &ViewParameters::coordSize, PreviewReading::LeadingNumber),
    Whole("chkSyncPreview", 36, &ViewParameters::syncPreview),
    Whole("chkDrawJnt", 38, &ViewParameters::drawJnt),
    Whole("chkDrawEle", 40, &ViewParameters::drawEle),
    Whole("chkDrawMat", 42, &ViewParameters::drawMat),
    Whole("chkDrawCoord", 44, &ViewParameters::drawCoord),
}};

const QString kShapeNumberSwitch = QStringLiteral("chkDrawMat");

QString ControlName(const FieldDesc& f) { return QString::fromUtf8(f.control); }

// Only the preview's record keeps the shape-number switch.
bool RecordUsesField(const FieldDesc& f, int record)
{
    return record == kPreviewRecord || ControlName(f) != kShapeNumberSwitch;
}

void PutLE(QByteArray& out, int offset, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) out[offset + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

uint32_t GetLE(const QByteArray& in, int offset, int bytes)
{
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(in[offset + i])) << (8 * i);
    return v;
}

bool OutsideRange(int16_t v, int low, int high) { return v < low || v > high; }

}  // namespace

QByteArray EncodeViewRecord(const ViewParameters& view)
{
    QByteArray out(kViewRecordLength, '\0');
    for (const FieldDesc& f : kFields) {
        if (f.real) PutLE(out, f.offset, std::bit_cast<uint32_t>(view.*f.real), 4);
        else PutLE(out, f.offset, static_cast<uint16_t>(view.*f.whole), 2);
    }
    return out;
}

ViewParameters DecodeViewRecord(const QByteArray& bytes)
{
    ViewParameters view;
    if (bytes.size() != kViewRecordLength) return view;
    for (const FieldDesc& f : kFields) {
        if (f.real) view.*f.real = std::bit_cast<float>(GetLE(bytes, f.offset, 4));
        else view.*f.whole = static_cast<int16_t>(GetLE(bytes, f.offset, 2));
    }
    return view;
}

ViewParameters ApplyViewFallbacks(ViewParameters view, int record)
{
    // A damaged file can hold NaN, infinities or sizes no box takes, which
    // the range tests below do not all catch and no drawing survives.
    const ViewParameters defaults;
    for (const FieldDesc& f : kFields)
        if (f.real && !(std::fabs(view.*f.real) <= kLargestViewSize)) view.*f.real = defaults.*f.real;

    if (view.ra < 0) view.ra = 0;
    if (OutsideRange(view.thetaA, 0, 180)) view.thetaA = 0;
    if (OutsideRange(view.phiA, 0, 360)) view.phiA = 0;
    if (view.rf < 0) view.rf = 5000;
    if (OutsideRange(view.thetaF, 0, 180)) view.thetaF = 70;
    if (OutsideRange(view.phiF, 0, 360)) view.phiF = 20;
    if (view.rf - view.ra < 1) view.rf = view.ra + 100;
    if (record == kDiagramWindowRecord && view.zoom < 1 && view.zoom != -1) view.zoom = -1;
    for (int16_t* s : {&view.drawEle, &view.drawJnt, &view.drawCoord, &view.drawMat, &view.syncPreview})
        if (*s != 0 && *s != 1) *s = 1;
    return view;
}

namespace {

QByteArray DefaultRecord() { return EncodeViewRecord(ViewParameters{}); }

// The two default records, as a missing file is created.
QByteArray DefaultFile() { return DefaultRecord() + DefaultRecord(); }

}  // namespace

ViewParameters LoadViewParameters(int record, const QString& path)
{
    ViewParameters view;
    // A link of the file's name is no file of ours: it is not read through,
    // and is replaced as a missing file is created.
    QByteArray bytes;
    const qint64 end = static_cast<qint64>(std::max(record, 0)) * kViewRecordLength;
    switch (files::ReadOwnFile(path, bytes, end)) {
    case files::OwnFileRead::Absent:
    case files::OwnFileRead::NotAFile:
        // Created for the next opening; this one uses the defaults either way.
        files::WriteWholeFile(path, DefaultFile(), nullptr, files::Link::Replace);
        break;
    case files::OwnFileRead::Read:
        if (record >= 1 && bytes.size() == end) view = DecodeViewRecord(bytes.right(kViewRecordLength));
        break;
    case files::OwnFileRead::Failed:
        break;
    }
    return ApplyViewFallbacks(view, record);
}

Status SaveViewParameters(int record, const ViewParameters& view, const QString& path)
{
    if (record < 1) return Status::Failure(QStringLiteral("view record %1 does not exist").arg(record));
    // The other records are kept from a file of ours; a link's file gives
    // nothing, as a missing file does.
    QByteArray bytes;
    QString why;
    switch (files::ReadOwnFile(path, bytes, -1, &why)) {
    case files::OwnFileRead::Absent:
    case files::OwnFileRead::NotAFile:
        bytes = DefaultFile();
        break;
    case files::OwnFileRead::Read:
        break;
    case files::OwnFileRead::Failed:
        return Status::Failure(QStringLiteral("%1 cannot be read: %2").arg(path, why));
    }

    const qsizetype at = static_cast<qsizetype>(record - 1) * kViewRecordLength;
    // Records missing before this one are filled so that the file stays a
    // whole number of readable records; a piece of a record at the end goes.
    if (bytes.size() < at) {
        bytes.truncate(bytes.size() / kViewRecordLength * kViewRecordLength);
        while (bytes.size() < at) bytes += DefaultRecord();
    }
    const QByteArray written = EncodeViewRecord(view);
    bytes.replace(at, std::min<qsizetype>(kViewRecordLength, bytes.size() - at), written);
    QString error;
    if (!files::WriteWholeFile(path, bytes, &error, files::Link::Replace)) return Status::Failure(error);
    return Succeeded();
}

const QString* FindViewBox(const ViewBoxes& boxes, const QString& control)
{
    for (const ViewBox& b : boxes)
        if (b.control == control) return &b.text;
    return nullptr;
}

ViewBoxes ViewToBoxes(const ViewParameters& view, int record)
{
    ViewBoxes boxes;
    for (const FieldDesc& f : kFields) {
        if (!RecordUsesField(f, record)) continue;
        boxes.push_back({ControlName(f), f.real ? rt::CStrSingle(view.*f.real) : rt::CStrInt(view.*f.whole)});
    }
    return boxes;
}

Outcome<ViewParameters> ViewFromBoxes(const ViewBoxes& boxes, int record, const ViewParameters& loaded)
{
    ViewParameters view = loaded;
    for (const FieldDesc& f : kFields) {
        if (!RecordUsesField(f, record)) continue;
        const QString name = ControlName(f);
        const QString* text = FindViewBox(boxes, name);
        if (!text) return Outcome<ViewParameters>::Failure(QStringLiteral("%1 is missing").arg(name));
        if (record == kPreviewRecord && f.previewReading == PreviewReading::LeadingNumber) {
            // 0 when the text starts with no number; a number beyond what
            // the box can hold takes its nearest limit, so that it reads back.
            const double v = rt::Val(*text);
            if (f.real) view.*f.real = static_cast<float>(std::clamp<double>(v, -kLargestViewSize, kLargestViewSize));
            else view.*f.whole = rt::CInt(std::clamp(v, -32768.0, 32767.0));
            continue;
        }
        try {
            const rt::Variant value = rt::Variant::Text(*text);
            if (f.real) view.*f.real = value.toSingle();
            else view.*f.whole = value.toInteger();
        } catch (const rt::Error& e) {
            const QString why = e.number() == rt::ErrOverflow ? QStringLiteral("is out of range")
                                                               : QStringLiteral("is not a number");
            return Outcome<ViewParameters>::Failure(QStringLiteral("%1 \"%2\" %3").arg(name, *text, why));
        }
    }
    return Outcome<ViewParameters>::Success(view);
}

Status SaveViewBoxes(int record, const ViewBoxes& boxes, const ViewParameters& loaded, const QString& path)
{
    const Outcome<ViewParameters> view = ViewFromBoxes(boxes, record, loaded);
    if (!view) return Status::Failure(view.error());
    return SaveViewParameters(record, *view, path);
}

}  // namespace diagram

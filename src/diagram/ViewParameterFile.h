// The view record that the frame diagram window and the report preview keep
// from one opening to the next, its file "vpf", and the exchange of a record
// with a window's entry boxes by control name.
//
// "vpf" lies in the current folder: random access, fixed records of 46 bytes,
// record n at byte (n - 1) * 46. Record 1 belongs to the frame diagram window,
// record 2 to the report preview. A missing file is created holding exactly
// those two records with the default values.
#pragma once

#include "database/WorkingFiles.h"
#include "diagram/Outcome.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace diagram {

using ::kViewParameterFile;
constexpr int kViewRecordLength = 46;
constexpr int kDiagramWindowRecord = 1;
constexpr int kPreviewRecord = 2;

// One view, in record order. Angles are whole degrees: θ from +Z (0 straight
// up, 90 horizontal), φ from +X towards +Y. Switches are 0 off, 1 on.
struct ViewParameters {
    float ra = 0;            // look-at distance
    int16_t thetaA = 0;      // look-at polar angle
    int16_t phiA = 0;        // look-at azimuth
    float rf = 5000;         // look-from (eye) distance
    int16_t thetaF = 70;     // look-from polar angle
    int16_t phiF = 300;      // look-from azimuth
    float offsetX = 0;       // drawing offset, mm
    float offsetY = 0;
    float zoom = -1;         // times the window's base scale; -1 fits the page
    int16_t coordX = 20;     // axis indicator position, mm
    int16_t coordY = 20;
    float coordSize = 1;     // axis indicator size factor
    int16_t syncPreview = 1; // redraw on every change
    int16_t drawJnt = 1;     // node numbers
    int16_t drawEle = 1;     // member numbers
    int16_t drawMat = 1;     // shape numbers (kept by the preview's record only)
    int16_t drawCoord = 1;   // axis indicator

    bool operator==(const ViewParameters&) const = default;
};

// The 46 little-endian bytes of a record and back. A byte string of any other
// length decodes as the defaults.
QByteArray EncodeViewRecord(const ViewParameters& view);
ViewParameters DecodeViewRecord(const QByteArray& bytes);

// The largest size the view's entry boxes take (distances, offsets, zoom and
// the indicator's size): the limit of their spin controls.
constexpr float kLargestViewSize = 32767;

// Replaces stored values that a view cannot use: a Single that is not finite
// or beyond what its box takes (more than kLargestViewSize either way) takes
// its default, then the range rules (r below 0, angles outside their range,
// an eye less than 1 unit beyond the look-at distance, a zoom below 1 other
// than -1 in record 1, a switch other than 0 or 1).
ViewParameters ApplyViewFallbacks(ViewParameters view, int record);

// Record `record` of the file, with the fallbacks applied. A missing file is
// created with its two default records first; a symbolic link of the file's
// name counts as missing, is never read through and is replaced so. A record
// that cannot be read whole (a short or unreadable file, a record beyond its
// end) reads as the defaults; the file is then left as it is until the next
// save.
ViewParameters LoadViewParameters(int record, const QString& path = kViewParameterFile);

// Writes `view` as record `record` (from 1): the whole file is written anew
// through the safe writer with every other record as it was, the two default
// records when the file is missing, and the defaults for records missing
// before `record` in a shorter file. A failure leaves the file as it was. A
// symbolic link of the file's name counts as a missing file: it is replaced,
// never read or written through.
Status SaveViewParameters(int record, const ViewParameters& view,
                          const QString& path = kViewParameterFile);

// The axis indicator's size box, the one box known by its name apart from
// the tables of boxes: its arrows step by tenths, it shows one decimal, and
// the drawings take the axis length from it.
inline constexpr char kAxisSizeBox[] = "txtCoordSize";

// The text of one entry box of a window, by its control name. Check boxes
// carry their value as text: "0" or "1".
struct ViewBox {
    QString control;
    QString text;
};
using ViewBoxes = std::vector<ViewBox>;

// The text of a box in the list, or nullptr.
const QString* FindViewBox(const ViewBoxes& boxes, const QString& control);

// Every field as the box text a window shows: plain decimal numbers ("5000",
// "-1", "0.5") and check values; chkDrawMat only for the preview's record.
ViewBoxes ViewToBoxes(const ViewParameters& view, int record);

// The boxes read back into a record. Each text must read as a number in
// itself (blanks around it allowed); θ, φ, the indicator position and the
// switches are rounded half to even into 16-bit integers, the rest taken as
// single precision. A text that is not a number or does not fit its field,
// or a box missing from the list, fails the whole reading. For record 1
// chkDrawMat is not read: its field stays as in `loaded`. For record 2 the
// axis indicator's boxes (txtCoordX, txtCoordY, txtCoordSize), which take any
// text in the preview, are read for their leading number (0 when there is
// none; beyond the field, its nearest limit) and never fail the reading.
Outcome<ViewParameters> ViewFromBoxes(const ViewBoxes& boxes, int record,
                                      const ViewParameters& loaded);

// A window's save: the boxes read as ViewFromBoxes does, then written as
// record `record`. When a box does not read, nothing is written.
Status SaveViewBoxes(int record, const ViewBoxes& boxes, const ViewParameters& loaded,
                     const QString& path = kViewParameterFile);

}  // namespace diagram

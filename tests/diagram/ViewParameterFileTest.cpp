#include "diagram/ViewParameterFile.h"

#include "common/TestEnv.h"

#include <QDir>
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <functional>
#include <limits>
#include <sys/stat.h>

using namespace diagram;

namespace {

// The default record, field by field: ra 0, θa 0, φa 0, rf 5000 (0x459C4000),
// θf 70, φf 300, offsets 0, zoom -1 (0xBF800000), indicator 20, 20, size 1
// (0x3F800000), five switches on.
const QByteArray kDefaultRecord = QByteArray::fromHex(
    "00000000" "0000" "0000" "00409C45" "4600" "2C01" "00000000" "00000000" "000080BF"
    "1400" "1400" "0000803F" "0100" "0100" "0100" "0100" "0100");

// The permission bits of a file.
mode_t ModeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : mode_t(0);
}

QByteArray FileBytes() { return testenv::ReadFile(kViewParameterFile); }

void WriteFileBytes(const QByteArray& bytes)
{
    QFile f(kViewParameterFile);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

ViewParameters With(const std::function<void(ViewParameters&)>& change)
{
    ViewParameters v;
    change(v);
    return v;
}

ViewBoxes Replaced(ViewBoxes boxes, const QString& control, const QString& text)
{
    for (ViewBox& b : boxes)
        if (b.control == control) b.text = text;
    return boxes;
}

using ViewFileTest = ::testing::Test;   // each test has a fresh working folder

TEST_F(ViewFileTest, MissingFileIsCreatedWithTwoDefaultRecords)
{
    ASSERT_EQ(kDefaultRecord.size(), kViewRecordLength);
    const ViewParameters view = LoadViewParameters(kDiagramWindowRecord);
    EXPECT_EQ(FileBytes(), kDefaultRecord + kDefaultRecord);
    EXPECT_EQ(view, ViewParameters{});

    QStringList texts;
    for (const ViewBox& b : ViewToBoxes(view, kDiagramWindowRecord)) texts << b.control + "=" + b.text;
    EXPECT_EQ(texts, QStringList({"txtra=0", "txtθa=0", "txtφa=0", "txtrf=5000", "txtθf=70", "txtφf=300", "txtX=0",
                                  "txtY=0", "txtzoom=-1", "txtCoordX=20", "txtCoordY=20", "txtCoordSize=1",
                                  "chkSyncPreview=1", "chkDrawJnt=1", "chkDrawEle=1", "chkDrawCoord=1"}));
    const ViewBoxes preview = ViewToBoxes(view, kPreviewRecord);
    ASSERT_NE(FindViewBox(preview, "chkDrawMat"), nullptr);
    EXPECT_EQ(*FindViewBox(preview, "chkDrawMat"), "1");
}

TEST_F(ViewFileTest, FieldsLieAtTheirOffsetsLittleEndian)
{
    const ViewParameters v = With([](ViewParameters& p) {
        p.ra = 1.5f; p.thetaA = 2; p.phiA = 3; p.rf = 4.5f; p.thetaF = 5; p.phiF = 6;
        p.offsetX = 7.25f; p.offsetY = -8; p.zoom = 9.5f; p.coordX = 10; p.coordY = -11; p.coordSize = 12;
        p.syncPreview = 0; p.drawJnt = 1; p.drawEle = 0; p.drawMat = 1; p.drawCoord = 0;
    });
    ASSERT_TRUE(SaveViewParameters(kPreviewRecord, v).ok());
    const QByteArray expected = QByteArray::fromHex(
        "0000C03F" "0200" "0300" "00009040" "0500" "0600" "0000E840" "000000C1" "00001841"
        "0A00" "F5FF" "00004041" "0000" "0100" "0000" "0100" "0000");
    EXPECT_EQ(FileBytes(), kDefaultRecord + expected);
    EXPECT_EQ(DecodeViewRecord(expected), v);
}

struct FallbackCase {
    const char* what;
    int record;
    ViewParameters stored;
    ViewParameters loaded;
};

TEST_F(ViewFileTest, StoredValuesOutOfRangeLoadAsTheirFallbacks)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<FallbackCase> cases = {
        {"ra below 0", 1, With([](auto& v) { v.ra = -5; }), With([](auto& v) { v.ra = 0; })},
        {"θa above 180", 1, With([](auto& v) { v.thetaA = 181; }), With([](auto& v) { v.thetaA = 0; })},
        {"θa 180 kept", 1, With([](auto& v) { v.thetaA = 180; }), With([](auto& v) { v.thetaA = 180; })},
        {"φa below 0", 1, With([](auto& v) { v.phiA = -1; }), With([](auto& v) { v.phiA = 0; })},
        {"φa 360 kept", 1, With([](auto& v) { v.phiA = 360; }), With([](auto& v) { v.phiA = 360; })},
        {"rf below 0", 2, With([](auto& v) { v.rf = -1; }), With([](auto& v) { v.rf = 5000; })},
        {"θf 200", 1, With([](auto& v) { v.thetaF = 200; }), With([](auto& v) { v.thetaF = 70; })},
        {"θf -1", 1, With([](auto& v) { v.thetaF = -1; }), With([](auto& v) { v.thetaF = 70; })},
        {"φf 400 gives 20, not the default", 1, With([](auto& v) { v.phiF = 400; }),
         With([](auto& v) { v.phiF = 20; })},
        {"eye inside the look-at distance", 1, With([](auto& v) { v.ra = 300; v.rf = 250; }),
         With([](auto& v) { v.ra = 300; v.rf = 400; })},
        {"eye less than 1 beyond", 2, With([](auto& v) { v.ra = 10; v.rf = 10.5f; }),
         With([](auto& v) { v.ra = 10; v.rf = 110; })},
        {"eye exactly 1 beyond kept", 2, With([](auto& v) { v.ra = 10; v.rf = 11; }),
         With([](auto& v) { v.ra = 10; v.rf = 11; })},
        {"record 1 zoom 0.5 fits", 1, With([](auto& v) { v.zoom = 0.5f; }), With([](auto& v) { v.zoom = -1; })},
        {"record 1 zoom 0 fits", 1, With([](auto& v) { v.zoom = 0; }), With([](auto& v) { v.zoom = -1; })},
        {"record 1 zoom 1 kept", 1, With([](auto& v) { v.zoom = 1; }), With([](auto& v) { v.zoom = 1; })},
        {"record 2 zoom 0.5 kept", 2, With([](auto& v) { v.zoom = 0.5f; }), With([](auto& v) { v.zoom = 0.5f; })},
        {"switches 2 and -1 on", 2,
         With([](auto& v) { v.syncPreview = 2; v.drawJnt = -1; v.drawEle = 2; v.drawMat = 7; v.drawCoord = 2; }),
         ViewParameters{}},
        {"switches off kept", 2,
         With([](auto& v) { v.syncPreview = 0; v.drawJnt = 0; v.drawEle = 0; v.drawMat = 0; v.drawCoord = 0; }),
         With([](auto& v) { v.syncPreview = 0; v.drawJnt = 0; v.drawEle = 0; v.drawMat = 0; v.drawCoord = 0; })},
        {"offsets and indicator taken as stored", 1,
         With([](auto& v) { v.offsetX = -7.5f; v.offsetY = 32767; v.coordX = -3; v.coordY = 32767; v.coordSize = -2; }),
         With([](auto& v) { v.offsetX = -7.5f; v.offsetY = 32767; v.coordX = -3; v.coordY = 32767; v.coordSize = -2; })},
        {"sizes the boxes take kept", 2,
         With([](auto& v) { v.ra = 32000; v.rf = 32767; v.offsetX = -32767; v.zoom = 32767; v.coordSize = 32767; }),
         With([](auto& v) { v.ra = 32000; v.rf = 32767; v.offsetX = -32767; v.zoom = 32767; v.coordSize = 32767; })},
        {"damaged reals take their defaults", 1,
         With([=](auto& v) { v.ra = nan; v.rf = inf; v.offsetX = nan; v.zoom = nan; v.coordSize = -inf; }),
         ViewParameters{}},
        {"sizes beyond the boxes take their defaults", 2,
         With([](auto& v) { v.ra = 3.4e38f; v.rf = 3.4e38f; v.offsetX = -3.4e38f; v.offsetY = 32768;
                            v.zoom = 1e30f; v.coordSize = 40000; }),
         ViewParameters{}},
        {"a distance beyond its box alone", 1, With([](auto& v) { v.ra = 3.4e38f; v.rf = 200; }),
         With([](auto& v) { v.rf = 200; })},
    };
    for (const FallbackCase& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray other = EncodeViewRecord(ViewParameters{});
        WriteFileBytes(c.record == 1 ? EncodeViewRecord(c.stored) + other : other + EncodeViewRecord(c.stored));
        EXPECT_EQ(LoadViewParameters(c.record), c.loaded);
    }
}

TEST_F(ViewFileTest, RecordsThatCannotBeReadWholeLoadAsDefaultsAndStayUntouched)
{
    const ViewParameters first = With([](auto& v) { v.thetaF = 45; v.drawJnt = 0; });
    const QByteArray shortFile = EncodeViewRecord(first) + QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08\x09", 9);
    WriteFileBytes(shortFile);
    EXPECT_EQ(LoadViewParameters(1), first);
    EXPECT_EQ(LoadViewParameters(2), ViewParameters{});   // 9 bytes of record 2
    EXPECT_EQ(LoadViewParameters(3), ViewParameters{});   // beyond the end
    EXPECT_EQ(LoadViewParameters(0), ViewParameters{});   // no such record
    EXPECT_EQ(FileBytes(), shortFile);

    WriteFileBytes(QByteArray());
    EXPECT_EQ(LoadViewParameters(1), ViewParameters{});
    EXPECT_EQ(FileBytes(), QByteArray());
}

TEST_F(ViewFileTest, UnreadableFileLoadsDefaultsAndSaveFails)
{
    ASSERT_TRUE(QDir().mkdir(kViewParameterFile));   // "vpf" is a folder
    EXPECT_EQ(LoadViewParameters(2), ViewParameters{});
    const Status saved = SaveViewParameters(2, ViewParameters{});
    EXPECT_FALSE(saved.ok());
    EXPECT_FALSE(saved.error().isEmpty());
    EXPECT_TRUE(QFileInfo(kViewParameterFile).isDir());
}

// A link named "vpf" to a private file of the user's, whose bytes read as two
// sound records, is no view file: the window's record is the defaults, the
// link is replaced by a file of the two default records as a missing file
// is, and the file it points to stays as it was.
TEST_F(ViewFileTest, ALinkOfTheNameIsNotReadThrough)
{
    const ViewParameters elsewhere = With([](auto& v) { v.thetaF = 45; v.drawJnt = 0; v.zoom = 3; });
    const QByteArray pointedBytes = EncodeViewRecord(elsewhere) + EncodeViewRecord(elsewhere);
    const QString pointed = testenv::MakeDir(QStringLiteral("elsewhere")) + QStringLiteral("/view");
    ASSERT_TRUE(testenv::WriteFile(pointed, pointedBytes));
    ASSERT_TRUE(QFile::setPermissions(pointed, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    for (int record : {kDiagramWindowRecord, kPreviewRecord}) {
        SCOPED_TRACE(record);
        QFile::remove(kViewParameterFile);
        ASSERT_TRUE(QFile::link(pointed, kViewParameterFile));
        EXPECT_EQ(LoadViewParameters(record), ViewParameters{});
        EXPECT_FALSE(QFileInfo(kViewParameterFile).isSymLink());
        EXPECT_EQ(FileBytes(), kDefaultRecord + kDefaultRecord);
        EXPECT_EQ(testenv::ReadFile(pointed), pointedBytes);
        EXPECT_EQ(ModeOf(pointed), mode_t(0600));
    }
}

// A pipe named "vpf" is no view file either: reading it would wait for a
// writer for ever. It is replaced as a missing file is.
TEST_F(ViewFileTest, APipeOfTheNameIsNotRead)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(kViewParameterFile).constData(), 0600), 0);
    EXPECT_EQ(LoadViewParameters(kPreviewRecord), ViewParameters{});
    EXPECT_TRUE(QFileInfo(kViewParameterFile).isFile());
    EXPECT_EQ(FileBytes(), kDefaultRecord + kDefaultRecord);
}

TEST_F(ViewFileTest, BoxesAreConvertedByFieldTypeAndSaved)
{
    const ViewParameters loaded = LoadViewParameters(kPreviewRecord);
    ViewBoxes boxes = ViewToBoxes(loaded, kPreviewRecord);
    for (const auto& [control, text] : std::vector<std::pair<QString, QString>>{
             {"txtra", " 12.25 "}, {"txtθa", "70.5"}, {"txtφa", "71.5"}, {"txtrf", "1E3"}, {"txtθf", "-0.5"},
             {"txtφf", "359.4"}, {"txtX", "0.1"}, {"txtY", "-3"}, {"txtzoom", "0.5"}, {"txtCoordX", "2.5"},
             {"txtCoordY", "3.5"}, {"txtCoordSize", "1.5"}, {"chkSyncPreview", "0"}, {"chkDrawMat", "0"}})
        boxes = Replaced(boxes, control, text);
    ASSERT_TRUE(SaveViewBoxes(kPreviewRecord, boxes, loaded).ok());

    const ViewParameters expected = With([](auto& v) {
        v.ra = 12.25f; v.thetaA = 70; v.phiA = 72; v.rf = 1000; v.thetaF = 0; v.phiF = 359; v.offsetX = 0.1f;
        v.offsetY = -3; v.zoom = 0.5f; v.coordX = 2; v.coordY = 4; v.coordSize = 1.5f; v.syncPreview = 0; v.drawMat = 0;
    });
    EXPECT_EQ(FileBytes().mid(kViewRecordLength), EncodeViewRecord(expected));
    EXPECT_EQ(FileBytes().left(kViewRecordLength), kDefaultRecord);
    const ViewParameters reloaded = LoadViewParameters(kPreviewRecord);
    EXPECT_EQ(reloaded, expected);
    EXPECT_EQ(*FindViewBox(ViewToBoxes(reloaded, kPreviewRecord), "txtX"), "0.1");
}

TEST_F(ViewFileTest, OnlyThePreviewRecordStoresTheShapeNumberSwitch)
{
    WriteFileBytes(EncodeViewRecord(With([](auto& v) { v.drawMat = 0; })) + kDefaultRecord);
    for (int record : {kDiagramWindowRecord, kPreviewRecord}) {
        SCOPED_TRACE(record);
        const ViewParameters loaded = LoadViewParameters(record);
        ViewBoxes boxes = ViewToBoxes(loaded, record);
        EXPECT_EQ(FindViewBox(boxes, "chkDrawMat") != nullptr, record == kPreviewRecord);
        // A window that has the box anyway does not change record 1 with it.
        boxes.erase(std::remove_if(boxes.begin(), boxes.end(), [](const ViewBox& b) { return b.control == "chkDrawMat"; }),
                    boxes.end());
        boxes.push_back({"chkDrawMat", loaded.drawMat ? "0" : "1"});
        ASSERT_TRUE(SaveViewBoxes(record, boxes, loaded).ok());
    }
    const QByteArray bytes = FileBytes();
    EXPECT_EQ(bytes.mid(42, 2), QByteArray::fromHex("0000"));                       // record 1 unchanged
    EXPECT_EQ(bytes.mid(kViewRecordLength + 42, 2), QByteArray::fromHex("0000"));   // record 2 switched off
}

TEST_F(ViewFileTest, SaveWithABoxThatIsNotANumberWritesNothing)
{
    const QByteArray before = EncodeViewRecord(With([](auto& v) { v.rf = 123; })) +
                              EncodeViewRecord(With([](auto& v) { v.phiF = 45; }));
    const std::vector<std::pair<QString, QString>> bad = {
        {"txtrf", "abc"},      {"txtθf", ""},           {"txtX", "12abc"},     {"txtφa", "1,5"},
        {"txtzoom", "1e39"},   {"txtCoordX", "40000"},  {"txtθa", "&H10"},     {"chkDrawEle", "x"},
        {"chkDrawMat", "yes"}, {"txtCoordSize", "1 2"},
    };
    for (int record : {kDiagramWindowRecord, kPreviewRecord}) {
        for (const auto& [control, text] : bad) {
            if (control == "chkDrawMat" && record == kDiagramWindowRecord) continue;   // not read there
            if (control.startsWith("txtCoord") && record == kPreviewRecord) continue;   // read for their number
            SCOPED_TRACE(QString("record %1, %2 = \"%3\"").arg(record).arg(control, text).toStdString());
            WriteFileBytes(before);
            const ViewParameters loaded = LoadViewParameters(record);
            const Status saved = SaveViewBoxes(record, Replaced(ViewToBoxes(loaded, record), control, text), loaded);
            EXPECT_FALSE(saved.ok());
            EXPECT_TRUE(saved.error().contains(control));
            EXPECT_EQ(FileBytes(), before);
        }
        ViewBoxes missing = ViewToBoxes(ViewParameters{}, record);
        missing.erase(missing.begin() + 3);   // txtrf
        EXPECT_FALSE(ViewFromBoxes(missing, record, ViewParameters{}).ok());
    }
}

// The preview's axis boxes take any text: the save reads their leading
// number, as the diagrams do, and keeps the rest of the view.
TEST_F(ViewFileTest, PreviewReadsTheAxisBoxesForTheirLeadingNumber)
{
    struct Case {
        const char* x;
        const char* y;
        const char* size;
        int16_t coordX, coordY;
        float coordSize;
    };
    const Case cases[] = {
        {"abc", "", "big", 0, 0, 0},
        {"12mm", " 3 0", "1.5倍", 12, 30, 1.5f},
        {"2.5", "-7.5x", "0.0", 2, -8, 0},   // halves to even
        {"40000", "-99999", "1e39", 32767, -32768, 32767},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        const ViewParameters loaded = LoadViewParameters(kPreviewRecord);
        ViewBoxes boxes = Replaced(ViewToBoxes(loaded, kPreviewRecord), "txtrf", "7000");
        boxes = Replaced(Replaced(Replaced(boxes, "txtCoordX", c.x), "txtCoordY", c.y), "txtCoordSize", c.size);
        ASSERT_TRUE(SaveViewBoxes(kPreviewRecord, boxes, loaded).ok());
        const ViewParameters saved = LoadViewParameters(kPreviewRecord);
        EXPECT_EQ(saved.rf, 7000);
        EXPECT_EQ(saved.coordX, c.coordX);
        EXPECT_EQ(saved.coordY, c.coordY);
        EXPECT_EQ(saved.coordSize, c.coordSize);
    }
    // The frame diagram window's boxes hold numbers only; its record stays strict.
    const ViewParameters loaded = LoadViewParameters(kDiagramWindowRecord);
    EXPECT_FALSE(ViewFromBoxes(Replaced(ViewToBoxes(loaded, kDiagramWindowRecord), "txtCoordX", "abc"),
                               kDiagramWindowRecord, loaded).ok());
}

TEST_F(ViewFileTest, SaveCompletesTheFileBeforeItsRecord)
{
    const ViewParameters v = With([](auto& p) { p.phiF = 10; });
    ASSERT_TRUE(SaveViewParameters(kPreviewRecord, v).ok());   // no file yet
    EXPECT_EQ(FileBytes(), kDefaultRecord + EncodeViewRecord(v));

    WriteFileBytes(EncodeViewRecord(v) + QByteArray(10, 'x'));   // record 2 cut short
    ASSERT_TRUE(SaveViewParameters(3, v).ok());
    EXPECT_EQ(FileBytes(), EncodeViewRecord(v) + kDefaultRecord + EncodeViewRecord(v));

    EXPECT_FALSE(SaveViewParameters(0, v).ok());
    EXPECT_EQ(FileBytes().size(), 3 * kViewRecordLength);
}

}  // namespace

// The archive layer: our writer's archives as other LZH tools read them,
// archives of another tool as we read them, and damaged or hostile archives.
#include "platform/lzh/LzhArchive.h"
#include "platform/lzh/LzhCore.h"
#include "common/TestEnv.h"
#include "platform/LzhTestTools.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace lzhtest;
using testenv::ReadFile;
using testenv::WriteFile;
using lzh::Status;

namespace {

using testenv::FilesIn;

// ---------------------------------------------------------------- round trips

struct RoundTripCase {
    const char* label;
    QByteArray (*make)();
};

const RoundTripCase kRoundTrips[] = {
    {"empty", [] { return QByteArray(); }},
    {"one_byte", [] { return QByteArray("Z"); }},
    {"random_8191", [] { return RandomBytes(8191, 1); }},
    {"random_8192", [] { return RandomBytes(8192, 2); }},
    {"random_65537", [] { return RandomBytes(65537, 3); }},
    {"random_1MiB", [] { return RandomBytes(1 << 20, 4); }},
    // Long matches at every distance, one-symbol trees, skewed Huffman codes.
    {"mixed_700k", [] { return MixedBytes(700000, 5); }},
    {"zeros_200k", [] { return QByteArray(200000, '\0'); }},
    {"skewed", [] {
         QByteArray b;
         uint32_t f1 = 1, f2 = 1;
         std::mt19937 gen(6);
         for (int sym = 0; sym < 20; ++sym) {
             for (uint32_t k = 0; k < f1; ++k) b += static_cast<char>(sym * 11);
             const uint32_t f = f1 + f2;
             f1 = f2;
             f2 = f;
         }
         std::shuffle(b.begin(), b.end(), gen);
         return b;
     }},
};

class LzhRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(LzhRoundTrip, WrittenArchiveReadsBackHereAndInLhasa)
{
    const QByteArray data = GetParam().make();
    ASSERT_TRUE(WriteFile("Zelkova.mdb", data));
    ASSERT_EQ(lzh::AddMember("p.lzh", "Zelkova.mdb"), Status::Ok);

    std::vector<lzh::MemberInfo> members;
    ASSERT_EQ(lzh::ListMembers("p.lzh", members), Status::Ok);
    ASSERT_EQ(members.size(), 1u);
    EXPECT_EQ(members[0].name, "Zelkova.mdb");
    EXPECT_EQ(members[0].folder, "");
    EXPECT_EQ(members[0].method, "-lh5-");
    EXPECT_EQ(members[0].headerLevel, 2);
    EXPECT_EQ(members[0].unpackedSize, static_cast<quint64>(data.size()));

    ASSERT_EQ(lzh::ExtractMember("p.lzh", "back.mdb"), Status::Ok);
    EXPECT_EQ(ReadFile("back.mdb"), data);

    if (Lhasa().isEmpty()) GTEST_SKIP() << "lhasa is not installed";
    const RunResult t = RunLhasa({"t", "p.lzh"});
    EXPECT_EQ(t.exitCode, 0) << t.output.constData();
    EXPECT_TRUE(t.output.contains("Tested")) << t.output.constData();
    EXPECT_FALSE(t.output.contains("rror")) << t.output.constData();
    EXPECT_EQ(LhasaNames("p.lzh"), QStringList{"Zelkova.mdb"});
    QDir().mkpath("x");
    const RunResult e = RunLhasa({"e", QFileInfo("p.lzh").absoluteFilePath()}, "x");
    EXPECT_EQ(e.exitCode, 0) << e.output.constData();
    EXPECT_EQ(ReadFile("x/Zelkova.mdb"), data);
}

INSTANTIATE_TEST_SUITE_P(Sizes, LzhRoundTrip, ::testing::ValuesIn(kRoundTrips),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(LzhWriter, ReplacesTheProjectMemberAndKeepsOthers)
{
    // An archive of another tool with a Shift-JIS text member and the
    // database as "データ\ZELKOVA.MDB".
    ASSERT_TRUE(QFile::copy(FixturePath("sjis_lv1.lzh"), "p.lzh"));
    QFile::setPermissions("p.lzh", QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray fresh = MixedBytes(30000, 9);
    ASSERT_TRUE(WriteFile("Zelkova.mdb", fresh));
    ASSERT_EQ(lzh::AddMember("p.lzh", "Zelkova.mdb"), Status::Ok);
    ASSERT_EQ(lzh::AddMember("p.lzh", "Zelkova.mdb"), Status::Ok);  // a second save

    std::vector<lzh::MemberInfo> members;
    ASSERT_EQ(lzh::ListMembers("p.lzh", members), Status::Ok);
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0].name, QStringLiteral("メモ.txt"));
    EXPECT_EQ(members[1].name, "Zelkova.mdb");
    EXPECT_EQ(members[1].folder, "");
    ASSERT_EQ(lzh::ExtractMember("p.lzh", "back.mdb"), Status::Ok);
    EXPECT_EQ(ReadFile("back.mdb"), fresh);
    ASSERT_EQ(lzh::ExtractMember("p.lzh", "memo.txt", QStringLiteral("メモ.txt")), Status::Ok);
    EXPECT_EQ(ReadFile("memo.txt"), QStringLiteral("メモです\n").toUtf8());

    if (Lhasa().isEmpty()) GTEST_SKIP() << "lhasa is not installed";
    const RunResult t = RunLhasa({"t", "p.lzh"});
    EXPECT_EQ(t.output.count("Tested"), 2) << t.output.constData();
}

TEST(LzhWriter, RefusesToOverwriteAFileThatIsNotAnArchive)
{
    const QByteArray text = "Meeting notes, not an archive.\n";
    ASSERT_TRUE(WriteFile("notes.lzh", text));
    ASSERT_TRUE(WriteFile("Zelkova.mdb", RandomBytes(1000, 1)));
    EXPECT_EQ(lzh::AddMember("notes.lzh", "Zelkova.mdb"), Status::NotAnArchive);
    EXPECT_EQ(ReadFile("notes.lzh"), text);

    // A damaged archive is not rewritten either.
    ASSERT_TRUE(QFile::copy(FixturePath("sjis_lv0.lzh"), "cut.lzh"));
    QFile::setPermissions("cut.lzh", QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray whole = ReadFile("cut.lzh");
    ASSERT_TRUE(WriteFile("cut.lzh", whole.left(whole.size() - 100)));
    EXPECT_EQ(lzh::AddMember("cut.lzh", "Zelkova.mdb"), Status::Damaged);
    EXPECT_EQ(ReadFile("cut.lzh"), whole.left(whole.size() - 100));

    EXPECT_EQ(lzh::AddMember("new.lzh", "missing.mdb"), Status::CannotOpen);
    EXPECT_FALSE(QFileInfo::exists("new.lzh"));
    EXPECT_EQ(FilesIn("."), (QStringList{"Zelkova.mdb", "cut.lzh", "notes.lzh"}));
}

TEST(LzhWriter, AFullDiskLeavesTheArchiveAndTheExtractedFileAsTheyWere)
{
    ASSERT_TRUE(WriteFile("Zelkova.mdb", MixedBytes(200000, 11)));
    ASSERT_EQ(lzh::AddMember("p.lzh", "Zelkova.mdb"), Status::Ok);
    const QByteArray old = ReadFile("p.lzh");
    const QByteArray next = MixedBytes(300000, 12);
    ASSERT_TRUE(WriteFile("Zelkova.mdb", next));
    ASSERT_EQ(lzh::AddMember("size.lzh", "Zelkova.mdb"), Status::Ok);
    const qint64 archiveSize = QFileInfo("size.lzh").size();
    ASSERT_TRUE(QFile::remove("size.lzh"));
    ASSERT_TRUE(WriteFile("out.mdb", "the file before"));
    const QStringList files = FilesIn(".");

    // The disk fills at the first byte, in the middle, or at the very last byte.
    for (const qint64 room : {qint64{0}, archiveSize / 2, archiveSize - 1}) {
        SCOPED_TRACE(room);
        Status replaced, created;
        {
            FileSizeLimit full(room);
            replaced = lzh::AddMember("p.lzh", "Zelkova.mdb");
            created = lzh::AddMember("new.lzh", "Zelkova.mdb");
        }
        EXPECT_EQ(replaced, Status::WriteError);
        EXPECT_EQ(created, Status::WriteError);
        EXPECT_EQ(ReadFile("p.lzh"), old);
        EXPECT_EQ(FilesIn("."), files);
    }
    for (const qint64 room : {qint64{0}, qint64{next.size() / 2}, qint64{next.size() - 1}}) {
        SCOPED_TRACE(room);
        ASSERT_EQ(lzh::AddMember("p.lzh", "Zelkova.mdb"), Status::Ok);
        Status extracted;
        {
            FileSizeLimit full(room);
            extracted = lzh::ExtractMember("p.lzh", "out.mdb");
        }
        EXPECT_EQ(extracted, Status::WriteError);
        EXPECT_EQ(ReadFile("out.mdb"), QByteArray("the file before"));
        EXPECT_EQ(FilesIn("."), files);
    }
}

// ------------------------------------------------------ another tool's archives

class LzhFixture : public ::testing::TestWithParam<const char*> {};

TEST_P(LzhFixture, ExtractsByteIdentical)
{
    const QString archive = FixturePath(GetParam());
    std::vector<lzh::MemberInfo> members;
    ASSERT_EQ(lzh::ListMembers(archive, members), Status::Ok);
    ASSERT_FALSE(members.empty());
    ASSERT_EQ(lzh::ExtractMember(archive, "out.mdb"), Status::Ok);
    EXPECT_EQ(ReadFile("out.mdb"), ReadFile(FixturePath("Zelkova.mdb")));
}

INSTANTIATE_TEST_SUITE_P(Jlha, LzhFixture,
                         ::testing::Values("lv0_lh5.lzh", "lv0_lh6.lzh", "lv0_lh7.lzh", "lv1_lh0.lzh",
                                           "lv1_lh5.lzh", "lv1_lh6.lzh", "lv1_lh7.lzh", "lv2_lh5.lzh",
                                           "lv2_lh6.lzh", "lv2_lh7.lzh",
                                           "sjis_lv0.lzh", "sjis_lv1.lzh"),
                         [](const auto& info) {
                             std::string s = info.param;
                             return s.substr(0, s.find('.'));
                         });

TEST(LzhReader, ListsHeaderLevelsMethodsAndShiftJisNames)
{
    struct Expect { const char* file; int level; const char* method; };
    for (const Expect& e : {Expect{"lv0_lh6.lzh", 0, "-lh6-"}, Expect{"lv1_lh7.lzh", 1, "-lh7-"},
                            Expect{"lv2_lh6.lzh", 2, "-lh6-"},
                            Expect{"lv1_lh0.lzh", 1, "-lh0-"}}) {
        std::vector<lzh::MemberInfo> m;
        ASSERT_EQ(lzh::ListMembers(FixturePath(e.file), m), Status::Ok) << e.file;
        ASSERT_EQ(m.size(), 1u);
        EXPECT_EQ(m[0].name, "Zelkova.mdb");
        EXPECT_EQ(m[0].headerLevel, e.level);
        EXPECT_EQ(m[0].method, e.method);
        EXPECT_EQ(m[0].unpackedSize, 26624u);
    }
    for (const char* file : {"sjis_lv0.lzh", "sjis_lv1.lzh"}) {
        std::vector<lzh::MemberInfo> m;
        ASSERT_EQ(lzh::ListMembers(FixturePath(file), m), Status::Ok) << file;
        ASSERT_EQ(m.size(), 2u);
        EXPECT_EQ(m[0].name, QStringLiteral("メモ.txt"));
        EXPECT_EQ(m[1].name, QStringLiteral("ZELKOVA.MDB"));
        EXPECT_EQ(m[1].folder, QStringLiteral("データ"));
    }
}

// ------------------------------------------------------- damaged and hostile

TEST(LzhReader, DamagedArchivesGiveAnErrorAndLeaveTheDestination)
{
    const QByteArray keep = "the database that was there before";
    const QByteArray lh0 = ReadFile(FixturePath("lv1_lh0.lzh"));
    const QByteArray lh5 = ReadFile(FixturePath("lv2_lh5.lzh"));
    ASSERT_FALSE(lh0.isEmpty());
    ASSERT_FALSE(lh5.isEmpty());
    auto flip = [](QByteArray b, qsizetype at) { b[at] = static_cast<char>(b[at] ^ 0x5A); return b; };

    struct Case { const char* label; QByteArray data; Status expected; };
    const Case cases[] = {
        {"flipped stored byte", flip(lh0, 3000), Status::CrcError},
        {"flipped header byte (level 1 checksum)", flip(lh0, 9), Status::Damaged},
        {"flipped header byte (level 2 header CRC)", flip(lh5, 12), Status::Damaged},
        {"truncated in the data", lh5.left(lh5.size() - 40), Status::Damaged},
        {"truncated in the header", lh5.left(15), Status::Damaged},
        {"text file", "ZELKOVA project notes\r\n", Status::NotAnArchive},
        {"garbage", RandomBytes(4096, 77), Status::NotAnArchive},
        {"empty file", QByteArray(), Status::NoSuchMember},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(WriteFile("a.lzh", c.data));
        ASSERT_TRUE(WriteFile("dest.mdb", keep));
        EXPECT_EQ(lzh::ExtractMember("a.lzh", "dest.mdb"), c.expected);
        EXPECT_EQ(ReadFile("dest.mdb"), keep);
        EXPECT_EQ(FilesIn("."), (QStringList{"a.lzh", "dest.mdb"}));  // no temporary left
    }
    // Every flipped byte of compressed data is caught (CRC or a broken code).
    for (qsizetype at = lh5.size() - 1150; at < lh5.size() - 1; at += 97) {
        SCOPED_TRACE(at);
        ASSERT_TRUE(WriteFile("a.lzh", flip(lh5, at)));
        const Status s = lzh::ExtractMember("a.lzh", "dest.mdb");
        EXPECT_TRUE(s == Status::CrcError || s == Status::Damaged) << lzh::StatusName(s);
    }
    EXPECT_EQ(lzh::ExtractMember("missing.lzh", "dest.mdb"), Status::CannotOpen);
    EXPECT_EQ(lzh::ExtractMember(FixturePath("lv2_lh5.lzh"), "dest.mdb", "other.mdb"), Status::NoSuchMember);
}

TEST(LzhReader, StoredPathsNeverChooseWhereDataIsWritten)
{
    // A member whose stored name climbs out of any folder.
    const QByteArray payload = "hostile";
    const auto* p = reinterpret_cast<const uint8_t*>(payload.constData());
    const std::vector<uint8_t> packed = lzh::core::EncodeLh5({p, static_cast<size_t>(payload.size())});
    const uint16_t crc = lzh::core::Crc16(p, static_cast<size_t>(payload.size()));
    for (const std::string name : {"../../Zelkova.mdb", "/tmp/Zelkova.mdb", "..\\..\\ZELKOVA.MDB"}) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> a = lzh::core::MakeLevel2Header(name, packed.size(), payload.size(), crc, 0);
        a.insert(a.end(), packed.begin(), packed.end());
        a.push_back(0);
        QDir().mkpath("inner");
        ASSERT_TRUE(WriteFile("inner/a.lzh", QByteArray(reinterpret_cast<const char*>(a.data()), static_cast<qsizetype>(a.size()))));
        ASSERT_EQ(lzh::ExtractMember("inner/a.lzh", "inner/out.mdb"), Status::Ok);
        EXPECT_EQ(ReadFile("inner/out.mdb"), payload);
        EXPECT_EQ(FilesIn("inner"), (QStringList{"a.lzh", "out.mdb"}));
        EXPECT_EQ(FilesIn("."), QStringList{});
        QFile::remove("inner/out.mdb");
    }
}

TEST(LzhReader, UnsupportedMethodIsReported)
{
    QByteArray a = ReadFile(FixturePath("lv2_lh5.lzh"));
    ASSERT_GT(a.size(), 30);
    a[5] = '1';  // "-lh1-": the header CRC then fails first
    ASSERT_TRUE(WriteFile("a.lzh", a));
    EXPECT_NE(lzh::ExtractMember("a.lzh", "out.mdb"), Status::Ok);
    // A consistent header with a method we do not decode.
    QByteArray b = ReadFile(FixturePath("lv0_lh5.lzh"));
    const int oldByte = static_cast<uint8_t>(b[5]);
    b[5] = '1';
    b[1] = static_cast<char>((static_cast<uint8_t>(b[1]) - oldByte + '1') & 0xFF);  // header checksum
    ASSERT_TRUE(WriteFile("b.lzh", b));
    EXPECT_EQ(lzh::ExtractMember("b.lzh", "out.mdb"), Status::UnsupportedMethod);
    EXPECT_FALSE(QFileInfo::exists("out.mdb"));
}

TEST(LzhCore, BaseNameKnowsShiftJisTrailBytes)
{
    // "ソ" is 0x83 0x5C in Shift-JIS: its trail byte is not a separator.
    EXPECT_EQ(lzh::core::BaseName("\x83\x5C.mdb"), "\x83\x5C.mdb");
    EXPECT_EQ(lzh::core::BaseName("\x83\x5C\\Zelkova.mdb"), "Zelkova.mdb");
    EXPECT_EQ(lzh::core::BaseName("a/b\xFFZelkova.mdb"), "Zelkova.mdb");
    EXPECT_EQ(lzh::core::BaseName("dir/"), "");
    EXPECT_EQ(lzh::DecodeName("\x83\x5C\x81\x5B\x83\x58"), QStringLiteral("ソース"));
}

}  // namespace

namespace {

TEST(LzhCore, CodeLengthsStayWithinSixteenBitsAndComplete)
{
    // Fibonacci frequencies give a plain Huffman tree far deeper than 16.
    std::vector<uint32_t> freq(30);
    freq[0] = freq[1] = 1;
    for (size_t i = 2; i < freq.size(); ++i) freq[i] = freq[i - 1] + freq[i - 2];
    freq.push_back(0);  // an unused symbol gets no code
    std::vector<uint8_t> len(freq.size());
    std::vector<uint16_t> code(freq.size());
    ASSERT_EQ(lzh::core::MakeCodeLengths(freq.data(), static_cast<int>(freq.size()), len.data(), code.data()), 30);
    uint64_t kraft = 0;
    for (size_t i = 0; i < 30; ++i) {
        ASSERT_GE(len[i], 1) << i;
        ASSERT_LE(len[i], 16) << i;
        kraft += uint64_t{1} << (16 - len[i]);
        if (i > 0) {
            EXPECT_LE(len[i], len[i - 1]) << "a more frequent symbol got a longer code";
        }
    }
    EXPECT_EQ(kraft, uint64_t{1} << 16);
    EXPECT_EQ(len.back(), 0);
    // Canonical codes are prefix-free.
    for (size_t i = 0; i < 30; ++i)
        for (size_t j = 0; j < 30; ++j)
            if (i != j && len[i] <= len[j]) {
                EXPECT_NE(code[j] >> (len[j] - len[i]), code[i]) << i << " is a prefix of " << j;
            }
}

}  // namespace

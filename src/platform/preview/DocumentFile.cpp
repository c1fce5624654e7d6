#include "platform/preview/DocumentFile.h"

#include "platform/SafeFile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QStringDecoder>
#include <QtEndian>

#include <bit>
#include <cmath>
#include <cstring>

namespace preview {

namespace {

constexpr char Magic[4] = {'Z', 'K', 'P', 'D'};
constexpr uint32_t FormatVersion = 1;
constexpr qsizetype DigestSize = 32;
// Files beyond this are not preview documents of ours.
constexpr qint64 MaxFileSize = qint64(1) << 30;

// The fewest bytes each record can take, for checking counts before reserving.
constexpr qsizetype MinFontBytes = 4 + 8 + 1;
constexpr qsizetype MinPageBytes = 1 + 8 + 4 + 4 + MinFontBytes + 4 + 4 + 4;
constexpr qsizetype MinOpBytes = 1 + 4 * 8 + 4;

class Writer {
public:
    void U8(uint8_t v) { out_.append(static_cast<char>(v)); }
    void U32(uint32_t v)
    {
        const uint32_t be = qToBigEndian(v);
        out_.append(reinterpret_cast<const char*>(&be), 4);
    }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void F64(double v)
    {
        const uint64_t be = qToBigEndian(std::bit_cast<uint64_t>(v));
        out_.append(reinterpret_cast<const char*>(&be), 8);
    }
    void Str(const QString& s)
    {
        const QByteArray utf8 = s.toUtf8();
        U32(static_cast<uint32_t>(utf8.size()));
        out_.append(utf8);
    }
    void Raw(const char* p, qsizetype n) { out_.append(p, n); }
    QByteArray& Bytes() { return out_; }

private:
    QByteArray out_;
};

// Reads with every length checked; the first failure sticks and later reads
// give zeros.
class Reader {
public:
    Reader(const char* data, qsizetype size) : p_(data), end_(data + size) {}
    bool Ok() const { return error_.isEmpty(); }
    QString Error() const { return error_; }
    qsizetype Remaining() const { return end_ - p_; }
    void Fail(const QString& why)
    {
        if (error_.isEmpty()) error_ = why;
        p_ = end_;
    }

    uint8_t U8()
    {
        if (!Need(1)) return 0;
        return static_cast<uint8_t>(*p_++);
    }
    uint32_t U32()
    {
        if (!Need(4)) return 0;
        const uint32_t v = qFromBigEndian<uint32_t>(p_);
        p_ += 4;
        return v;
    }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    double F64()
    {
        if (!Need(8)) return 0;
        const double v = std::bit_cast<double>(qFromBigEndian<uint64_t>(p_));
        p_ += 8;
        if (!std::isfinite(v)) Fail(QStringLiteral("a number is not finite"));
        return v;
    }
    QString Str()
    {
        const uint32_t n = U32();
        if (!Need(n)) return QString();
        QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString s = decode(QByteArrayView(p_, n));
        if (decode.hasError()) Fail(QStringLiteral("a text is not UTF-8"));
        p_ += n;
        return s;
    }
    // A count of records of at least `minBytes` each that the rest can hold.
    uint32_t Count(qsizetype minBytes, const char* what)
    {
        const uint32_t n = U32();
        if (Ok() && n > Remaining() / minBytes) Fail(QStringLiteral("%1 count %2 exceeds the file").arg(what).arg(n));
        return Ok() ? n : 0;
    }

private:
    bool Need(qsizetype n)
    {
        if (Ok() && Remaining() >= n) return true;
        Fail(QStringLiteral("the file ends early"));
        return false;
    }

    const char* p_;
    const char* end_;
    QString error_;
};

void WriteFont(Writer& w, const PrintFont& f)
{
    w.Str(f.name);
    w.F64(f.size);
    w.U8((f.bold ? 1 : 0) | (f.italic ? 2 : 0) | (f.underline ? 4 : 0) | (f.strikeout ? 8 : 0));
}

PrintFont ReadFont(Reader& r)
{
    PrintFont f;
    f.name = r.Str();
    f.size = r.F64();
    const uint8_t bits = r.U8();
    if (!(f.size > 0 && f.size <= 1000)) r.Fail(QStringLiteral("font size out of range"));
    if (bits > 15) r.Fail(QStringLiteral("unknown font style"));
    f.bold = bits & 1;
    f.italic = bits & 2;
    f.underline = bits & 4;
    f.strikeout = bits & 8;
    return f;
}

void WritePen(Writer& w, const Pen& p)
{
    w.U32(p.colour);
    w.F64(p.width);
}

Pen ReadPen(Reader& r)
{
    Pen p;
    p.colour = r.U32();
    p.width = r.F64();
    if (p.width < 0) r.Fail(QStringLiteral("negative pen width"));
    return p;
}

void WriteOp(Writer& w, const DrawOp& op)
{
    w.U8(static_cast<uint8_t>(op.kind));
    w.F64(op.x1);
    w.F64(op.y1);
    w.F64(op.x2);
    w.F64(op.y2);
    switch (op.kind) {
    case OpKind::Text:
        w.U32(static_cast<uint32_t>(op.font));
        w.Str(op.text);
        break;
    case OpKind::Line:
        WritePen(w, op.pen);
        break;
    case OpKind::Rectangle:
    case OpKind::Circle:
        WritePen(w, op.pen);
        w.U32(op.brush);
        break;
    case OpKind::TextBox:
        WritePen(w, op.pen);
        w.U32(op.brush);
        w.U8(op.filled ? 1 : 0);
        w.U32(static_cast<uint32_t>(op.font));
        w.Str(op.text);
        break;
    }
}

DrawOp ReadOp(Reader& r, size_t fontCount)
{
    DrawOp op;
    const uint8_t kind = r.U8();
    op.x1 = r.F64();
    op.y1 = r.F64();
    op.x2 = r.F64();
    op.y2 = r.F64();
    auto readFont = [&] {
        const uint32_t font = r.U32();
        if (font >= fontCount) r.Fail(QStringLiteral("font index out of range"));
        op.font = static_cast<int>(r.Ok() ? font : 0);
    };
    switch (kind) {
    case static_cast<uint8_t>(OpKind::Text):
        op.kind = OpKind::Text;
        readFont();
        op.text = r.Str();
        break;
    case static_cast<uint8_t>(OpKind::Line):
        op.kind = OpKind::Line;
        op.pen = ReadPen(r);
        break;
    case static_cast<uint8_t>(OpKind::Rectangle):
    case static_cast<uint8_t>(OpKind::Circle):
        op.kind = static_cast<OpKind>(kind);
        op.pen = ReadPen(r);
        op.brush = r.U32();
        if (op.kind == OpKind::Circle && op.x2 < 0) r.Fail(QStringLiteral("negative radius"));
        break;
    case static_cast<uint8_t>(OpKind::TextBox): {
        op.kind = OpKind::TextBox;
        op.pen = ReadPen(r);
        op.brush = r.U32();
        const uint8_t filled = r.U8();
        if (filled > 1) r.Fail(QStringLiteral("bad fill switch"));
        op.filled = filled == 1;
        readFont();
        op.text = r.Str();
        break;
    }
    default:
        r.Fail(QStringLiteral("unknown drawing operation %1").arg(kind));
    }
    return op;
}

void WriteSettings(Writer& w, const PageSettings& s)
{
    w.U8(static_cast<uint8_t>(s.orientation));
    w.F64(s.margin);
    w.Str(s.headerText);
    w.Str(s.footerText);
    WriteFont(w, s.headerFont);
    w.I32(s.border);
    w.I32(s.style);
}

PageSettings ReadSettings(Reader& r)
{
    PageSettings s;
    s.orientation = r.U8();
    if (s.orientation != Portrait && s.orientation != Landscape) r.Fail(QStringLiteral("bad orientation"));
    s.margin = r.F64();
    if (!(s.margin >= 0 && s.margin < A4ShortSide / 2)) r.Fail(QStringLiteral("margin out of range"));
    s.headerText = r.Str();
    s.footerText = r.Str();
    s.headerFont = ReadFont(r);
    s.border = r.I32();
    s.style = r.I32();
    return s;
}

}  // namespace

QByteArray EncodeDocument(const Document& doc)
{
    Writer w;
    w.Raw(Magic, 4);
    w.U32(FormatVersion);
    w.U32(static_cast<uint32_t>(doc.fonts.size()));
    for (const PrintFont& f : doc.fonts) WriteFont(w, f);
    w.U32(static_cast<uint32_t>(doc.pages.size()));
    for (const Page& page : doc.pages) {
        WriteSettings(w, page.settings);
        w.U32(static_cast<uint32_t>(page.ops.size()));
        for (const DrawOp& op : page.ops) WriteOp(w, op);
    }
    const QByteArray digest = QCryptographicHash::hash(w.Bytes(), QCryptographicHash::Sha256);
    w.Raw(digest.constData(), digest.size());
    return w.Bytes();
}

bool DecodeDocument(const QByteArray& bytes, Document& doc, QString* error)
{
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (bytes.size() < qsizetype(sizeof Magic) + 4 + DigestSize || std::memcmp(bytes.constData(), Magic, 4) != 0)
        return fail(QStringLiteral("not a preview document"));
    const qsizetype bodySize = bytes.size() - DigestSize;
    const QByteArray digest = QCryptographicHash::hash(QByteArrayView(bytes.constData(), bodySize),
                                                       QCryptographicHash::Sha256);
    if (digest != QByteArrayView(bytes.constData() + bodySize, DigestSize))
        return fail(QStringLiteral("the document is damaged (checksum mismatch)"));

    Reader r(bytes.constData() + 4, bodySize - 4);
    const uint32_t version = r.U32();
    if (version != FormatVersion) return fail(QStringLiteral("unsupported document version %1").arg(version));

    Document read;
    const uint32_t fontCount = r.Count(MinFontBytes, "font");
    read.fonts.reserve(fontCount);
    for (uint32_t i = 0; i < fontCount && r.Ok(); ++i) read.fonts.push_back(ReadFont(r));
    const uint32_t pageCount = r.Count(MinPageBytes, "page");
    read.pages.reserve(pageCount);
    for (uint32_t p = 0; p < pageCount && r.Ok(); ++p) {
        Page page;
        page.settings = ReadSettings(r);
        const uint32_t opCount = r.Count(MinOpBytes, "operation");
        page.ops.reserve(opCount);
        for (uint32_t i = 0; i < opCount && r.Ok(); ++i) page.ops.push_back(ReadOp(r, read.fonts.size()));
        read.pages.push_back(std::move(page));
    }
    if (r.Ok() && r.Remaining() != 0) r.Fail(QStringLiteral("unexpected bytes after the last page"));
    if (!r.Ok()) return fail(r.Error());
    doc = std::move(read);
    return true;
}

bool WriteDocumentFile(const Document& doc, const QString& path, QString* error)
{
    return files::WriteWholeFile(path, EncodeDocument(doc), error, files::Link::Replace);
}

bool ReadDocumentFile(const QString& path, Document& doc, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    if (file.size() > MaxFileSize) {
        if (error) *error = QStringLiteral("the file is too large for a preview document");
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.size() != file.size()) {
        if (error) *error = file.errorString();
        return false;
    }
    return DecodeDocument(bytes, doc, error);
}

}  // namespace preview

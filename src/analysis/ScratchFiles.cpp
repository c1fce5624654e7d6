#include "analysis/ScratchFiles.h"

#include "platform/Runtime.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Enough pages for the two streams of the elimination (rows entering and rows
// leaving the window, a band apart), each page a few dozen band rows.
constexpr size_t kPageBytes = 64 * 1024;
constexpr size_t kCachedPages = 8;
}

RecordFile::~RecordFile()
{
    // Every path that keeps its results closes the file itself and so sees
    // any write error; here a failure of the run is already on its way.
    if (fd_ >= 0) ::close(fd_);
}

void RecordFile::Fail(const char* step) const
{
    rt::Raise(rt::ErrFileIO, QStringLiteral("%1 (%2): %3").arg(name_, QLatin1String(step), QString::fromLocal8Bit(std::strerror(errno))));
}

void RecordFile::Open(const QString& name, int recordLength, bool fresh)
{
    Close();
    if (fresh) QFile::remove(name);
    name_ = name;
    const QByteArray path = QFile::encodeName(name);
    fd_ = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) Fail("open");
    length_ = recordLength;
    struct stat st {};
    if (::fstat(fd_, &st) != 0) Fail("stat");
    size_ = static_cast<size_t>(st.st_size);
    pages_.clear();
    uses_ = 0;
}

void RecordFile::WritePage(Page& page)
{
    if (!page.dirty) return;
    const size_t start = static_cast<size_t>(page.index) * kPageBytes;
    size_t left = std::min(kPageBytes, size_ - start);
    const char* p = page.bytes.get();
    off_t pos = static_cast<off_t>(start);
    while (left > 0) {
        const ssize_t n = ::pwrite(fd_, p, left, pos);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            if (n == 0) errno = EIO;
            Fail("write");
        }
        p += n; left -= static_cast<size_t>(n); pos += n;
    }
    page.dirty = false;
}

RecordFile::Page& RecordFile::PageAt(long index)
{
    ++uses_;
    for (Page& p : pages_)
        if (p.index == index) {
            p.lastUse = uses_;
            return p;
        }
    Page* page;
    if (pages_.size() < kCachedPages) {
        pages_.emplace_back();
        page = &pages_.back();
        page->bytes.reset(new char[kPageBytes]);
    } else {
        page = &*std::min_element(pages_.begin(), pages_.end(),
                                  [](const Page& a, const Page& b) { return a.lastUse < b.lastUse; });
        WritePage(*page);
    }
    page->index = index;
    page->lastUse = uses_;
    // Bytes beyond the end of the file read as zeros.
    size_t got = 0;
    const off_t start = static_cast<off_t>(static_cast<size_t>(index) * kPageBytes);
    while (got < kPageBytes) {
        const ssize_t n = ::pread(fd_, page->bytes.get() + got, kPageBytes - got, start + static_cast<off_t>(got));
        if (n < 0) {
            if (errno == EINTR) continue;
            page->index = -1;
            Fail("read");
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    std::memset(page->bytes.get() + got, 0, kPageBytes - got);
    return *page;
}

void RecordFile::Flush()
{
    for (Page& p : pages_) WritePage(p);
}

void RecordFile::Close()
{
    if (fd_ < 0) return;
    try {
        Flush();
    } catch (...) {
        ::close(fd_);
        fd_ = -1;
        pages_.clear();
        throw;
    }
    pages_.clear();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail("close");
}

void RecordFile::Put(long record, const void* data)
{
    size_t at = static_cast<size_t>(record - 1) * static_cast<size_t>(length_);
    const size_t end = at + static_cast<size_t>(length_);
    size_ = std::max(size_, end);
    const char* in = static_cast<const char*>(data);
    while (at < end) {
        Page& page = PageAt(static_cast<long>(at / kPageBytes));
        const size_t offset = at % kPageBytes, n = std::min(kPageBytes - offset, end - at);
        std::memcpy(page.bytes.get() + offset, in, n);
        page.dirty = true;
        in += n;
        at += n;
    }
}

void RecordFile::Get(long record, void* data)
{
    size_t at = static_cast<size_t>(record - 1) * static_cast<size_t>(length_);
    const size_t end = at + static_cast<size_t>(length_);
    char* out = static_cast<char*>(data);
    while (at < end) {
        const size_t offset = at % kPageBytes, n = std::min(kPageBytes - offset, end - at);
        if (at >= size_) {
            std::memset(out, 0, end - at);
            break;
        }
        const Page& page = PageAt(static_cast<long>(at / kPageBytes));
        std::memcpy(out, page.bytes.get() + offset, n);
        out += n;
        at += n;
    }
}

int BandRecordLength(int rowWidth) { return 10 + 8 * (rowWidth + 1); }

void BandFile::Open(const QString& name, int rowWidth, bool fresh)
{
    rowWidth_ = rowWidth;
    buffer_.assign(static_cast<size_t>(BandRecordLength(rowWidth)), 0);
    const int16_t dims = 1;
    const int32_t count = rowWidth + 1, lower = 0;
    std::memcpy(buffer_.data(), &dims, 2);
    std::memcpy(buffer_.data() + 2, &count, 4);
    std::memcpy(buffer_.data() + 6, &lower, 4);
    file_.Open(name, BandRecordLength(rowWidth), fresh);
}

void BandFile::GetRow(long equation, double* row)
{
    file_.Get(equation, buffer_.data());
    std::memcpy(row, buffer_.data() + 10, sizeof(double) * static_cast<size_t>(rowWidth_ + 1));
    row[0] = 0;
}

void BandFile::PutRow(long equation, const double* row)
{
    const int16_t dims = 1;
    const int32_t count = rowWidth_ + 1, lower = 0;
    std::memcpy(buffer_.data(), &dims, 2);
    std::memcpy(buffer_.data() + 2, &count, 4);
    std::memcpy(buffer_.data() + 6, &lower, 4);
    std::memcpy(buffer_.data() + 10, row, sizeof(double) * static_cast<size_t>(rowWidth_ + 1));
    file_.Put(equation, buffer_.data());
}

void DeleteScratchFiles()
{
    for (const char* name : kScratchFiles) {
        const QString n = QString::fromLatin1(name);
        if (QFile::exists(n)) QFile::remove(n);
    }
}

#include "analysis/ScratchFiles.h"

#include "platform/Runtime.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

RecordFile::~RecordFile() { Close(); }

void RecordFile::Open(const QString& name, int recordLength, bool fresh)
{
    Close();
    if (fresh) QFile::remove(name);
    const QByteArray path = QFile::encodeName(name);
    fd_ = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) rt::Raise(rt::ErrFileIO, QStringLiteral("%1: %2").arg(name, QString::fromLocal8Bit(std::strerror(errno))));
    length_ = recordLength;
    name_ = name;
}

void RecordFile::Close()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void RecordFile::Put(long record, const void* data)
{
    const off_t at = static_cast<off_t>(record - 1) * length_;
    const char* p = static_cast<const char*>(data);
    size_t left = static_cast<size_t>(length_);
    off_t pos = at;
    while (left > 0) {
        const ssize_t n = ::pwrite(fd_, p, left, pos);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            rt::Raise(rt::ErrFileIO, QStringLiteral("%1: %2").arg(name_, QString::fromLocal8Bit(std::strerror(errno))));
        }
        p += n; left -= static_cast<size_t>(n); pos += n;
    }
}

void RecordFile::Get(long record, void* data)
{
    const off_t at = static_cast<off_t>(record - 1) * length_;
    char* p = static_cast<char*>(data);
    size_t left = static_cast<size_t>(length_);
    off_t pos = at;
    while (left > 0) {
        const ssize_t n = ::pread(fd_, p, left, pos);
        if (n < 0) {
            if (errno == EINTR) continue;
            rt::Raise(rt::ErrFileIO, QStringLiteral("%1: %2").arg(name_, QString::fromLocal8Bit(std::strerror(errno))));
        }
        if (n == 0) { std::memset(p, 0, left); break; }
        p += n; left -= static_cast<size_t>(n); pos += n;
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

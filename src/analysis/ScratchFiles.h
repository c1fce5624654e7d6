// The analysis scratch files: random-access files of fixed-length records in
// the working folder, private to one run and deleted after it. Reals are
// stored as 64-bit doubles, little-endian.
//
//  "sm", "si": one band row per equation (record = equation, from 1): a
//              16-bit dimension count (1), a 32-bit element count
//              (RowWidth + 1), a 32-bit lower bound (0), then elements
//              0..RowWidth.
//  "eq":       one record per member row: 17 cases × 15 components,
//              element (case k, component m) at 8·(k + 17·m).
//  "ka", "sk": one record per node row: 17 cases × 13 components,
//              element (case k, component d) at 8·(k + 17·d).
#pragma once

#include <QString>
#include <memory>
#include <vector>

inline const char* const kScratchFiles[] = {"si", "ka", "eq", "sm", "sk"};

constexpr int kEqRecordLength = 17 * 15 * 8;
constexpr int kNodeBlockLength = 17 * 13 * 8;

// A scratch file read and written through a small cache of large pages, so
// that records cost no system call each: the runs of the engine read and
// write their records in order (or in two orders a band apart), and a page
// is read and written once per pass. Written pages reach the file when they
// leave the cache, at Flush and at Close, each write checked.
class RecordFile {
public:
    RecordFile() = default;
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Opens (creating when missing; `fresh` deletes an old file first).
    void Open(const QString& name, int recordLength, bool fresh);
    // Writes the cached changes and closes; a file error is raised.
    void Close();
    void Flush();
    bool IsOpen() const { return fd_ >= 0; }
    int RecordLength() const { return length_; }
    // Record numbers from 1. Reading a record beyond the end gives zeros.
    void Put(long record, const void* data);
    void Get(long record, void* data);

private:
    struct Page {
        long index = -1;
        bool dirty = false;
        unsigned long lastUse = 0;
        std::unique_ptr<char[]> bytes;
    };
    Page& PageAt(long index);
    void WritePage(Page& page);
    [[noreturn]] void Fail(const char* step) const;

    int fd_ = -1;
    int length_ = 0;
    QString name_;
    size_t size_ = 0;   // the file's length: its length when opened or the end of the last record written
    std::vector<Page> pages_;
    unsigned long uses_ = 0;
};

// Band rows (elements 0..RowWidth) through a band record.
int BandRecordLength(int rowWidth);
class BandFile {
public:
    void Open(const QString& name, int rowWidth, bool fresh);
    void Close() { file_.Close(); }
    void GetRow(long equation, double* row);        // elements 0..RowWidth
    void PutRow(long equation, const double* row);
private:
    RecordFile file_;
    int rowWidth_ = 0;
    std::vector<char> buffer_;
};

// Deletes "si", "ka", "eq", "sm", "sk" in the working folder where present.
void DeleteScratchFiles();

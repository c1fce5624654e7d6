// The LZH archive format without any file or user-interface service: header
// parsing (levels 0, 1 and 2), the -lh5-/-lh6-/-lh7- decoder, the -lh5-
// encoder, the level 2 header writer and CRC-16/ARC. Everything here works on
// byte buffers held in memory and treats them as untrusted: every length and
// table read from an archive is checked before it is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace lzh {

enum class Status {
    Ok,
    CannotOpen,          // the archive (or the file to add) cannot be read
    NotAnArchive,        // the file does not begin with an LZH header
    Damaged,             // a header or the compressed data is broken or cut short
    CrcError,            // the data decoded but its CRC does not match
    UnsupportedMethod,   // a method other than -lh0-, -lh5-, -lh6-, -lh7-
    NoSuchMember,        // the archive holds no member of that name
    TooLarge,            // a member or file beyond what the program handles
    WriteError,          // the output file cannot be written or renamed
    BadCommand,          // a command other than "a" or "e"
};

// A short English name of a status, for logs and test output.
const char* StatusName(Status status);

namespace core {

uint16_t Crc16(const uint8_t* data, size_t size, uint16_t crc = 0);

// One member as its header describes it. Offsets are into the archive buffer.
struct Header {
    int level = 0;
    std::string method;          // five characters, such as "-lh5-"
    std::string name;            // raw bytes of the stored name (may hold a folder)
    std::string folder;          // raw bytes of a stored folder ('/' separated)
    uint64_t packedSize = 0;
    uint64_t unpackedSize = 0;
    uint16_t crc = 0;
    uint32_t timestamp = 0;      // as stored: MS-DOS (levels 0, 1) or Unix time (2)
    int osId = 0;
    size_t headerStart = 0;
    size_t dataStart = 0;
    size_t dataEnd = 0;          // where the next header begins
};

// Reads the header at `offset`. Returns Ok with `atEnd` true at the end mark
// (a zero byte) or at the end of the buffer.
Status ParseHeader(std::span<const uint8_t> archive, size_t offset, Header& header, bool& atEnd);

// Reads every header of an archive. An empty buffer is an empty archive.
// A first header that does not look like LZH gives NotAnArchive; any later
// fault gives Damaged.
Status ParseArchive(std::span<const uint8_t> archive, std::vector<Header>& headers);

// The file name without any stored folder (Shift-JIS aware: a trail byte 0x5C
// is not a separator).
std::string BaseName(const std::string& rawName);
// True when the member's base name equals `name` (ASCII case-insensitive).
bool NameMatches(const Header& header, const std::string& name);

bool IsSupportedMethod(const std::string& method);

// Receives decoded bytes in order; returns false to stop (a write failure).
using Sink = std::function<bool(const uint8_t* data, size_t size)>;

// Decodes one member's data, passing exactly `unpackedSize` bytes to the sink
// unless it fails. Verifies the CRC. Never reads outside `packed`.
Status DecodeMember(const std::string& method, std::span<const uint8_t> packed,
                    uint64_t unpackedSize, uint16_t expectedCrc, const Sink& sink);

// Compresses with -lh5- (8 KiB window, static Huffman blocks).
std::vector<uint8_t> EncodeLh5(std::span<const uint8_t> data);

// Huffman code lengths of at most 16 bits, and their canonical codes, for
// the frequencies of n symbols; returns the number of symbols in use (0 or 1
// means the code is written in its one-symbol form). Used by the encoder.
int MakeCodeLengths(const uint32_t* freq, int n, uint8_t* len, uint16_t* code);

// A level 2 header for one member stored with -lh5- under `name`.
std::vector<uint8_t> MakeLevel2Header(const std::string& name, uint64_t packedSize,
                                      uint64_t unpackedSize, uint16_t crc, uint32_t unixTime);

}  // namespace core
}  // namespace lzh

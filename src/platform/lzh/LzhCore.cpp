#include "platform/lzh/LzhCore.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <queue>

namespace lzh {

const char* StatusName(Status status)
{
    switch (status) {
    case Status::Ok: return "ok";
    case Status::CannotOpen: return "cannot open";
    case Status::NotAnArchive: return "not an LZH archive";
    case Status::Damaged: return "damaged archive";
    case Status::CrcError: return "CRC error";
    case Status::UnsupportedMethod: return "unsupported method";
    case Status::NoSuchMember: return "no such member";
    case Status::TooLarge: return "too large";
    case Status::WriteError: return "write error";
    case Status::BadCommand: return "bad command";
    }
    return "unknown";
}

namespace core {

// ---------------------------------------------------------------- CRC-16/ARC

namespace {
struct CrcTable {
    std::array<uint16_t, 256> t{};
    CrcTable()
    {
        for (unsigned i = 0; i < 256; ++i) {
            unsigned c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xA001u : c >> 1;
            t[i] = static_cast<uint16_t>(c);
        }
    }
};
const CrcTable kCrc;
}  // namespace

uint16_t Crc16(const uint8_t* data, size_t size, uint16_t crc)
{
    for (size_t i = 0; i < size; ++i) crc = static_cast<uint16_t>(kCrc.t[(crc ^ data[i]) & 0xFF] ^ (crc >> 8));
    return crc;
}

// ------------------------------------------------------------------ headers

namespace {

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool LooksLikeMethod(const uint8_t* p)
{
    if (p[0] != '-' || p[4] != '-') return false;
    for (int i = 1; i < 4; ++i)
        if (p[i] < 0x20 || p[i] > 0x7E) return false;
    return true;
}

// Directory names of extended headers use 0xFF (or either slash) between parts.
std::string FolderFromExtended(const uint8_t* p, size_t n)
{
    std::string s(reinterpret_cast<const char*>(p), n);
    for (char& c : s)
        if (static_cast<uint8_t>(c) == 0xFF || c == '\\') c = '/';
    return s;
}

// Walks a chain of extended headers: `size` is the size of the first one,
// `pos` where it begins, `limit` the end of the area they may occupy.
// Returns false on any inconsistency; `total` receives their combined size.
bool WalkExtended(std::span<const uint8_t> a, size_t pos, size_t limit, uint16_t size, Header& h,
                  size_t& total, size_t& end, size_t& commonCrcAt)
{
    total = 0;
    commonCrcAt = 0;
    while (size != 0) {
        if (size < 3 || pos > limit || limit - pos < size) return false;
        const uint8_t* e = a.data() + pos;
        const uint8_t type = e[0];
        const uint8_t* payload = e + 1;
        const size_t n = size - 3u;
        switch (type) {
        case 0x00:  // common: CRC of the whole header
            if (n >= 2) commonCrcAt = pos + 1;
            break;
        case 0x01:  // file name
            h.name.assign(reinterpret_cast<const char*>(payload), n);
            break;
        case 0x02:  // folder
            h.folder = FolderFromExtended(payload, n);
            break;
        default:
            break;
        }
        total += size;
        pos += size;
        size = Le16(e + size - 2);
    }
    end = pos;
    return true;
}

}  // namespace

Status ParseHeader(std::span<const uint8_t> a, size_t off, Header& h, bool& atEnd)
{
    h = Header{};
    atEnd = false;
    if (off >= a.size() || a[off] == 0) {
        atEnd = true;
        return Status::Ok;
    }
    const size_t avail = a.size() - off;
    const uint8_t* p = a.data() + off;
    if (avail >= 7 && !LooksLikeMethod(p + 2)) return Status::NotAnArchive;
    if (avail < 22) return Status::Damaged;
    h.level = p[20];
    h.headerStart = off;
    h.method.assign(reinterpret_cast<const char*>(p + 2), 5);
    h.unpackedSize = Le32(p + 11);
    h.timestamp = Le32(p + 15);
    uint64_t packedOrSkip = Le32(p + 7);

    if (h.level == 0 || h.level == 1) {
        const size_t total = static_cast<size_t>(p[0]) + 2;
        if (total > avail) return Status::Damaged;
        unsigned sum = 0;
        for (size_t i = 2; i < total; ++i) sum += p[i];
        if ((sum & 0xFF) != p[1]) return Status::Damaged;
        const size_t nameLen = p[21];
        const size_t fixed = 22 + nameLen + 2 + (h.level == 1 ? 3 : 0);
        if (fixed > total) return Status::Damaged;
        h.name.assign(reinterpret_cast<const char*>(p + 22), nameLen);
        h.crc = Le16(p + 22 + nameLen);
        if (h.level == 0) {
            h.osId = total >= 22 + nameLen + 3 ? p[22 + nameLen + 2] : 0;
            h.packedSize = packedOrSkip;
            h.dataStart = off + total;
        } else {
            h.osId = p[22 + nameLen + 2];
            size_t extTotal = 0, end = 0, crcAt = 0;
            if (!WalkExtended(a, off + total, a.size(), Le16(p + total - 2), h, extTotal, end, crcAt))
                return Status::Damaged;
            if (extTotal > packedOrSkip) return Status::Damaged;
            h.packedSize = packedOrSkip - extTotal;
            h.dataStart = end;
        }
    } else if (h.level == 2) {
        const size_t total = Le16(p);
        if (total < 26 || total > avail) return Status::Damaged;
        h.packedSize = packedOrSkip;
        h.crc = Le16(p + 21);
        h.osId = p[23];
        size_t extTotal = 0, end = 0, crcAt = 0;
        if (!WalkExtended(a, off + 26, off + total, Le16(p + 24), h, extTotal, end, crcAt))
            return Status::Damaged;
        if (crcAt != 0) {
            std::vector<uint8_t> copy(p, p + total);
            const size_t at = crcAt - off;
            const uint16_t stored = Le16(copy.data() + at);
            copy[at] = copy[at + 1] = 0;
            if (Crc16(copy.data(), copy.size()) != stored) return Status::Damaged;
        }
        h.dataStart = off + total;
    } else {
        return Status::NotAnArchive;
    }
    if (h.dataStart > a.size() || a.size() - h.dataStart < h.packedSize) return Status::Damaged;
    h.dataEnd = h.dataStart + static_cast<size_t>(h.packedSize);
    // Levels 0 and 1 may keep the folder inside the name.
    const std::string base = BaseName(h.name);
    if (base.size() != h.name.size() && h.folder.empty()) {
        h.folder = h.name.substr(0, h.name.size() - base.size());
        for (char& c : h.folder)
            if (c == '\\' || static_cast<uint8_t>(c) == 0xFF) c = '/';
    }
    return Status::Ok;
}

Status ParseArchive(std::span<const uint8_t> a, std::vector<Header>& headers)
{
    headers.clear();
    size_t off = 0;
    for (;;) {
        Header h;
        bool atEnd = false;
        const Status s = ParseHeader(a, off, h, atEnd);
        if (s != Status::Ok) return headers.empty() ? s : Status::Damaged;
        if (atEnd) return Status::Ok;
        if (h.dataEnd <= off) return Status::Damaged;  // cannot happen; guards the loop
        off = h.dataEnd;
        headers.push_back(std::move(h));
    }
}

std::string BaseName(const std::string& raw)
{
    size_t start = 0;
    for (size_t i = 0; i < raw.size(); ++i) {
        const uint8_t c = static_cast<uint8_t>(raw[i]);
        if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
            ++i;  // Shift-JIS lead byte: the next byte belongs to the character
            continue;
        }
        if (c == '\\' || c == '/' || c == 0xFF) start = i + 1;
    }
    return raw.substr(std::min(start, raw.size()));
}

bool NameMatches(const Header& h, const std::string& name)
{
    if (h.method == "-lhd-") return false;
    const std::string base = BaseName(h.name);
    if (base.size() != name.size()) return false;
    for (size_t i = 0; i < base.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(base[i]), y = static_cast<unsigned char>(name[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

bool IsSupportedMethod(const std::string& m)
{
    return m == "-lh0-" || m == "-lh5-" || m == "-lh6-" || m == "-lh7-";
}

// ------------------------------------------------------------------ decoder

namespace {

constexpr int kNC = 510;       // 256 literals and lengths 3..256
constexpr int kNT = 19;
constexpr int kTBit = 5;
constexpr int kCBit = 9;
constexpr int kMaxBits = 16;
constexpr int kFastBits = 10;

class BitReader {
public:
    explicit BitReader(std::span<const uint8_t> d) : d_(d) {}
    // The next n bits (n <= 16) without consuming them; zeros past the end.
    unsigned Peek(int n)
    {
        Fill();
        return static_cast<unsigned>(buf_ >> (64 - n));
    }
    void Skip(int n)
    {
        Fill();
        buf_ <<= n;
        have_ -= n;
        used_ += static_cast<uint64_t>(n);
    }
    unsigned Get(int n)
    {
        if (n == 0) return 0;
        unsigned v = Peek(n);
        Skip(n);
        return v;
    }
    // True once more bits were consumed than the data holds.
    bool Overrun() const { return used_ > static_cast<uint64_t>(d_.size()) * 8; }

private:
    void Fill()
    {
        while (have_ <= 56) {
            uint64_t b = pos_ < d_.size() ? d_[pos_] : 0;
            ++pos_;
            buf_ |= b << (56 - have_);
            have_ += 8;
        }
    }
    std::span<const uint8_t> d_;
    size_t pos_ = 0;
    uint64_t buf_ = 0;
    int have_ = 0;
    uint64_t used_ = 0;
};

// A canonical Huffman code: shorter codes first, equal lengths by symbol.
class HuffmanDecoder {
public:
    // Builds the code from lengths (0 = unused). Over-subscribed lengths are
    // refused; an incomplete code is accepted and its gaps fail when hit.
    bool Build(const uint8_t* lengths, int n)
    {
        single_ = -1;
        count_.fill(0);
        for (int i = 0; i < n; ++i) {
            if (lengths[i] > kMaxBits) return false;
            ++count_[lengths[i]];
        }
        count_[0] = 0;
        int left = 1;
        for (int len = 1; len <= kMaxBits; ++len) {
            left <<= 1;
            left -= count_[len];
            if (left < 0) return false;
        }
        std::array<int, kMaxBits + 2> offs{};
        for (int len = 1; len <= kMaxBits; ++len) offs[len + 1] = offs[len] + count_[len];
        symbols_.assign(static_cast<size_t>(offs[kMaxBits + 1]), 0);
        for (int i = 0; i < n; ++i)
            if (lengths[i]) symbols_[static_cast<size_t>(offs[lengths[i]]++)] = static_cast<uint16_t>(i);
        // Fast table for codes of up to kFastBits bits.
        fast_.fill(0);
        unsigned code = 0;
        size_t index = 0;
        for (int len = 1; len <= kFastBits; ++len) {
            for (int k = 0; k < count_[len]; ++k) {
                const unsigned first = code << (kFastBits - len);
                const unsigned span = 1u << (kFastBits - len);
                for (unsigned j = 0; j < span; ++j)
                    fast_[first + j] = static_cast<uint32_t>((symbols_[index] << 8) | len);
                ++code;
                ++index;
            }
            code <<= 1;
        }
        return true;
    }
    void BuildSingle(int symbol) { single_ = symbol; }

    // The next symbol, or -1 when the bits form no code.
    int Decode(BitReader& br)
    {
        if (single_ >= 0) return single_;
        const uint32_t e = fast_[br.Peek(kFastBits)];
        if (e & 0xFF) {
            br.Skip(static_cast<int>(e & 0xFF));
            return static_cast<int>(e >> 8);
        }
        // Slow path for long codes (and gaps), bit by bit.
        int code = 0, first = 0, index = 0;
        const unsigned bits = br.Peek(kMaxBits);
        for (int len = 1; len <= kMaxBits; ++len) {
            code |= static_cast<int>((bits >> (kMaxBits - len)) & 1u);
            const int count = count_[len];
            if (code - first < count) {
                br.Skip(len);
                return symbols_[static_cast<size_t>(index + code - first)];
            }
            index += count;
            first += count;
            first <<= 1;
            code <<= 1;
        }
        return -1;
    }

private:
    std::array<int, kMaxBits + 1> count_{};
    std::vector<uint16_t> symbols_;
    std::array<uint32_t, 1u << kFastBits> fast_{};
    int single_ = -1;
};

class Lh5Decoder {
public:
    Lh5Decoder(int dicBits, std::span<const uint8_t> packed) : br_(packed)
    {
        np_ = dicBits + 1;
        pbit_ = dicBits <= 13 ? 4 : 5;
        ring_.assign(kRing, ' ');  // the window starts filled with blanks
    }

    Status Run(uint64_t unpackedSize, uint16_t expectedCrc, const Sink& sink)
    {
        uint64_t out = 0;
        size_t pos = 0;          // position in the ring
        size_t flushed = 0;      // ring position up to which bytes went to the sink
        uint16_t crc = 0;
        unsigned blockLeft = 0;
        auto flush = [&](size_t upto) {
            if (upto > flushed) {
                crc = Crc16(ring_.data() + flushed, upto - flushed, crc);
                if (!sink(ring_.data() + flushed, upto - flushed)) return false;
            }
            flushed = upto;
            return true;
        };
        auto put = [&](uint8_t b) {
            ring_[pos++] = b;
            if (pos == kRing) {
                if (!flush(kRing)) return false;
                pos = 0;
                flushed = 0;
            }
            return true;
        };
        while (out < unpackedSize) {
            if (blockLeft == 0) {
                blockLeft = br_.Get(16);
                if (blockLeft == 0) return Status::Damaged;
                if (!ReadPtLen(kNT, kTBit, 3) || !ReadCLen() || !ReadPtLen(np_, pbit_, -1))
                    return Status::Damaged;
                if (br_.Overrun()) return Status::Damaged;
            }
            --blockLeft;
            const int c = cCode_.Decode(br_);
            if (c < 0) return Status::Damaged;
            if (c < 256) {
                if (!put(static_cast<uint8_t>(c))) return Status::WriteError;
                ++out;
            } else {
                uint64_t len = static_cast<uint64_t>(c) - 253;
                const int pc = pCode_.Decode(br_);
                if (pc < 0) return Status::Damaged;
                size_t dist = pc <= 1 ? static_cast<size_t>(pc)
                                      : (size_t{1} << (pc - 1)) + br_.Get(pc - 1);
                dist += 1;
                if (len > unpackedSize - out) len = unpackedSize - out;
                size_t from = (pos + kRing - dist) & (kRing - 1);
                for (uint64_t k = 0; k < len; ++k) {
                    const uint8_t b = ring_[from];
                    from = (from + 1) & (kRing - 1);
                    if (!put(b)) return Status::WriteError;
                }
                out += len;
            }
            if (br_.Overrun()) return Status::Damaged;
        }
        if (!flush(pos)) return Status::WriteError;
        return crc == expectedCrc ? Status::Ok : Status::CrcError;
    }

private:
    static constexpr size_t kRing = size_t{1} << 16;

    bool ReadPtLen(int nn, int nbit, int special)
    {
        const int n = static_cast<int>(br_.Get(nbit));
        if (n == 0) {
            const int c = static_cast<int>(br_.Get(nbit));
            if (c >= nn) return false;
            pCodeOrT(nn == kNT).BuildSingle(c);
            return true;
        }
        if (n > nn) return false;
        std::array<uint8_t, 32> len{};
        int i = 0;
        while (i < n) {
            int c = static_cast<int>(br_.Peek(3));
            br_.Skip(3);
            if (c == 7) {
                while (br_.Get(1) == 1) {
                    if (++c > kMaxBits) return false;
                }
            }
            len[static_cast<size_t>(i++)] = static_cast<uint8_t>(c);
            if (i == special) {
                const int zeros = static_cast<int>(br_.Get(2));
                if (i + zeros > nn) return false;
                for (int k = 0; k < zeros; ++k) len[static_cast<size_t>(i++)] = 0;
            }
        }
        return pCodeOrT(nn == kNT).Build(len.data(), nn);
    }

    bool ReadCLen()
    {
        const int n = static_cast<int>(br_.Get(kCBit));
        if (n == 0) {
            const int c = static_cast<int>(br_.Get(kCBit));
            if (c >= kNC) return false;
            cCode_.BuildSingle(c);
            return true;
        }
        if (n > kNC) return false;
        std::array<uint8_t, kNC> len{};
        int i = 0;
        while (i < n) {
            int c = tCode_.Decode(br_);
            if (c < 0) return false;
            if (c <= 2) {
                int zeros = c == 0 ? 1 : c == 1 ? static_cast<int>(br_.Get(4)) + 3
                                               : static_cast<int>(br_.Get(kCBit)) + 20;
                if (i + zeros > kNC) return false;
                while (zeros-- > 0) len[static_cast<size_t>(i++)] = 0;
            } else {
                len[static_cast<size_t>(i++)] = static_cast<uint8_t>(c - 2);
            }
            if (br_.Overrun()) return false;
        }
        return cCode_.Build(len.data(), kNC);
    }

    HuffmanDecoder& pCodeOrT(bool t) { return t ? tCode_ : pCode_; }

    BitReader br_;
    int np_ = 14;
    int pbit_ = 4;
    std::vector<uint8_t> ring_;
    HuffmanDecoder tCode_, cCode_, pCode_;
};

}  // namespace

Status DecodeMember(const std::string& method, std::span<const uint8_t> packed, uint64_t unpackedSize,
                    uint16_t expectedCrc, const Sink& sink)
{
    if (method == "-lh0-") {
        if (packed.size() != unpackedSize) return Status::Damaged;
        const uint16_t crc = Crc16(packed.data(), packed.size());
        if (crc != expectedCrc) return Status::CrcError;
        if (!packed.empty() && !sink(packed.data(), packed.size())) return Status::WriteError;
        return Status::Ok;
    }
    int dicBits = 0;
    if (method == "-lh5-") dicBits = 13;
    else if (method == "-lh6-") dicBits = 15;
    else if (method == "-lh7-") dicBits = 16;
    else return Status::UnsupportedMethod;
    Lh5Decoder decoder(dicBits, packed);
    return decoder.Run(unpackedSize, expectedCrc, sink);
}

// ------------------------------------------------------------------ encoder

namespace {

constexpr int kNP5 = 14;
constexpr int kPBit5 = 4;
constexpr size_t kMaxDistance = 8191;   // stays inside the 8 KiB window
constexpr size_t kMinMatch = 3;
constexpr size_t kMaxMatch = 256;
constexpr size_t kBlockCodes = 16384;
constexpr int kHashBits = 15;
constexpr int kMaxChain = 48;

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
    void Put(int n, unsigned value)
    {
        if (n == 0) return;
        acc_ = (acc_ << n) | (value & ((1u << n) - 1u));
        bits_ += n;
        while (bits_ >= 8) {
            bits_ -= 8;
            out_.push_back(static_cast<uint8_t>(acc_ >> bits_));
        }
    }
    void Finish()
    {
        if (bits_ > 0) out_.push_back(static_cast<uint8_t>(acc_ << (8 - bits_)));
        bits_ = 0;
    }

private:
    std::vector<uint8_t>& out_;
    uint64_t acc_ = 0;
    int bits_ = 0;
};

}  // namespace

int MakeCodeLengths(const uint32_t* freq, int n, uint8_t* len, uint16_t* code)
{
    std::fill(len, len + n, 0);
    std::fill(code, code + n, 0);
    std::vector<int> used;
    for (int i = 0; i < n; ++i)
        if (freq[i]) used.push_back(i);
    if (used.size() < 2) return static_cast<int>(used.size());

    // Plain Huffman depths.
    struct Node { uint64_t f; int left, right; };
    std::vector<Node> nodes;
    using Item = std::pair<uint64_t, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> heap;
    for (int s : used) {
        nodes.push_back({freq[s], -1, -1});
        heap.push({freq[s], static_cast<int>(nodes.size()) - 1});
    }
    while (heap.size() > 1) {
        auto a = heap.top(); heap.pop();
        auto b = heap.top(); heap.pop();
        nodes.push_back({a.first + b.first, a.second, b.second});
        heap.push({a.first + b.first, static_cast<int>(nodes.size()) - 1});
    }
    std::array<int, kMaxBits + 1> blCount{};
    std::vector<std::pair<int, int>> stack{{heap.top().second, 0}};
    while (!stack.empty()) {
        auto [node, depth] = stack.back();
        stack.pop_back();
        if (nodes[static_cast<size_t>(node)].left < 0) {
            ++blCount[static_cast<size_t>(std::min(depth, kMaxBits))];
        } else {
            stack.push_back({nodes[static_cast<size_t>(node)].left, depth + 1});
            stack.push_back({nodes[static_cast<size_t>(node)].right, depth + 1});
        }
    }
    // Depths beyond 16 were clamped; restore the Kraft sum to exactly 1.
    uint64_t total = 0;
    for (int i = 1; i <= kMaxBits; ++i) total += static_cast<uint64_t>(blCount[static_cast<size_t>(i)]) << (kMaxBits - i);
    while (total > (uint64_t{1} << kMaxBits)) {
        --blCount[kMaxBits];
        for (int i = kMaxBits - 1; i > 0; --i) {
            if (blCount[static_cast<size_t>(i)]) {
                --blCount[static_cast<size_t>(i)];
                blCount[static_cast<size_t>(i + 1)] += 2;
                break;
            }
        }
        --total;
    }
    // Most frequent symbols get the shortest codes.
    std::stable_sort(used.begin(), used.end(), [&](int a, int b) { return freq[a] > freq[b]; });
    size_t k = 0;
    for (int l = 1; l <= kMaxBits; ++l)
        for (int c = 0; c < blCount[static_cast<size_t>(l)]; ++c) len[used[k++]] = static_cast<uint8_t>(l);
    // Canonical codes.
    std::array<unsigned, kMaxBits + 2> next{};
    for (int l = 1; l <= kMaxBits; ++l)
        next[static_cast<size_t>(l + 1)] = (next[static_cast<size_t>(l)] + static_cast<unsigned>(blCount[static_cast<size_t>(l)])) << 1;
    for (int i = 0; i < n; ++i)
        if (len[i]) code[i] = static_cast<uint16_t>(next[len[i]]++);
    return static_cast<int>(used.size());
}

namespace {

int MakeLengths(const uint32_t* freq, int n, uint8_t* len, uint16_t* code)
{
    return MakeCodeLengths(freq, n, len, code);
}

struct Code {
    uint16_t c;       // literal byte or 256 + length - 3
    uint16_t offset;  // distance - 1 (matches only)
};

int PositionCode(unsigned offset)
{
    int p = 0;
    while (offset) { ++p; offset >>= 1; }
    return p;  // 0 for offset 0, 1 for 1, bit length otherwise
}

class BlockWriter {
public:
    explicit BlockWriter(BitWriter& bw) : bw_(bw) {}

    void Send(const std::vector<Code>& codes)
    {
        std::array<uint32_t, kNC> cFreq{};
        std::array<uint32_t, kNP5> pFreq{};
        for (const Code& k : codes) {
            ++cFreq[k.c];
            if (k.c >= 256) ++pFreq[static_cast<size_t>(PositionCode(k.offset))];
        }
        bw_.Put(16, static_cast<unsigned>(codes.size()));
        const int cUsed = MakeLengths(cFreq.data(), kNC, cLen_.data(), cCode_.data());
        if (cUsed >= 2) {
            std::array<uint32_t, kNT> tFreq{};
            CountTFreq(tFreq);
            const int tUsed = MakeLengths(tFreq.data(), kNT, tLen_.data(), tCode_.data());
            if (tUsed >= 2) {
                WritePtLen(tLen_.data(), kNT, kTBit, 3);
            } else {
                bw_.Put(kTBit, 0);
                bw_.Put(kTBit, static_cast<unsigned>(FirstUsed(tFreq.data(), kNT)));
            }
            WriteCLen();
        } else {
            bw_.Put(kTBit, 0);
            bw_.Put(kTBit, 0);
            bw_.Put(kCBit, 0);
            bw_.Put(kCBit, static_cast<unsigned>(FirstUsed(cFreq.data(), kNC)));
        }
        const int pUsed = MakeLengths(pFreq.data(), kNP5, pLen_.data(), pCode_.data());
        if (pUsed >= 2) {
            WritePtLen(pLen_.data(), kNP5, kPBit5, -1);
        } else {
            bw_.Put(kPBit5, 0);
            bw_.Put(kPBit5, static_cast<unsigned>(FirstUsed(pFreq.data(), kNP5)));
        }
        for (const Code& k : codes) {
            bw_.Put(cLen_[k.c], cCode_[k.c]);
            if (k.c >= 256) {
                const int p = PositionCode(k.offset);
                bw_.Put(pLen_[static_cast<size_t>(p)], pCode_[static_cast<size_t>(p)]);
                if (p > 1) bw_.Put(p - 1, k.offset & ((1u << (p - 1)) - 1u));
            }
        }
    }

private:
    static int FirstUsed(const uint32_t* f, int n)
    {
        for (int i = 0; i < n; ++i)
            if (f[i]) return i;
        return 0;
    }

    int CLenCount() const
    {
        int n = kNC;
        while (n > 0 && cLen_[static_cast<size_t>(n - 1)] == 0) --n;
        return n;
    }

    // Runs of zero lengths: 1-2 as single zeros, 3-18 with 4 bits, 19 as a
    // single zero and a run of 18, 20 and more with 9 bits.
    template <class Fn>
    void ForEachCLenItem(Fn fn) const
    {
        const int n = CLenCount();
        int i = 0;
        while (i < n) {
            int k = cLen_[static_cast<size_t>(i++)];
            if (k == 0) {
                int count = 1;
                while (i < n && cLen_[static_cast<size_t>(i)] == 0) { ++i; ++count; }
                if (count <= 2) {
                    for (int j = 0; j < count; ++j) fn(0, 0, 0);
                } else if (count <= 18) {
                    fn(1, 4, count - 3);
                } else if (count == 19) {
                    fn(0, 0, 0);
                    fn(1, 4, 15);
                } else {
                    fn(2, kCBit, count - 20);
                }
            } else {
                fn(k + 2, 0, 0);
            }
        }
    }

    void CountTFreq(std::array<uint32_t, kNT>& tFreq) const
    {
        ForEachCLenItem([&](int t, int, int) { ++tFreq[static_cast<size_t>(t)]; });
    }

    void WriteCLen()
    {
        bw_.Put(kCBit, static_cast<unsigned>(CLenCount()));
        ForEachCLenItem([&](int t, int extraBits, int extra) {
            bw_.Put(tLen_[static_cast<size_t>(t)], tCode_[static_cast<size_t>(t)]);
            if (extraBits) bw_.Put(extraBits, static_cast<unsigned>(extra));
        });
    }

    void WritePtLen(const uint8_t* len, int nn, int nbit, int special)
    {
        int n = nn;
        while (n > 0 && len[n - 1] == 0) --n;
        bw_.Put(nbit, static_cast<unsigned>(n));
        int i = 0;
        while (i < n) {
            const int k = len[i++];
            if (k <= 6) bw_.Put(3, static_cast<unsigned>(k));
            else bw_.Put(k - 3, (1u << (k - 3)) - 2u);  // 111, k-7 ones, then 0
            if (i == special) {
                int z = i;
                while (z < std::min(6, n) && len[z] == 0) ++z;
                bw_.Put(2, static_cast<unsigned>(z - i));
                i = z;
            }
        }
    }

    BitWriter& bw_;
    std::array<uint8_t, kNC> cLen_{};
    std::array<uint16_t, kNC> cCode_{};
    std::array<uint8_t, kNT> tLen_{};
    std::array<uint16_t, kNT> tCode_{};
    std::array<uint8_t, kNP5> pLen_{};
    std::array<uint16_t, kNP5> pCode_{};
};

class MatchFinder {
public:
    explicit MatchFinder(std::span<const uint8_t> d)
        : d_(d), head_(size_t{1} << kHashBits, -1), prev_(kWindow, -1) {}

    // Adds position i to the hash chains (needs 3 bytes from i).
    void Insert(size_t i)
    {
        if (i + kMinMatch > d_.size()) return;
        const unsigned h = Hash(i);
        prev_[i & (kWindow - 1)] = head_[h];
        head_[h] = static_cast<int64_t>(i);
    }

    // Longest match for position i among earlier positions (i not yet inserted).
    size_t Longest(size_t i, size_t& distance) const
    {
        distance = 0;
        if (i + kMinMatch > d_.size()) return 0;
        const size_t maxLen = std::min(kMaxMatch, d_.size() - i);
        size_t best = kMinMatch - 1;
        int64_t cand = head_[Hash(i)];
        int chain = kMaxChain;
        const uint8_t* cur = d_.data() + i;
        while (cand >= 0 && chain-- > 0) {
            const size_t c = static_cast<size_t>(cand);
            if (i - c > kMaxDistance) break;
            const uint8_t* ref = d_.data() + c;
            if (ref[best] == cur[best] && ref[0] == cur[0] && ref[1] == cur[1]) {
                size_t len = 2;
                while (len < maxLen && ref[len] == cur[len]) ++len;
                if (len > best) {
                    best = len;
                    distance = i - c;
                    if (len == maxLen) break;
                }
            }
            const int64_t next = prev_[c & (kWindow - 1)];
            if (next >= cand) break;  // the slot was reused by a newer position
            cand = next;
        }
        return best >= kMinMatch ? best : 0;
    }

private:
    static constexpr size_t kWindow = 8192;
    unsigned Hash(size_t i) const
    {
        const uint32_t v = (uint32_t{d_[i]} << 16) | (uint32_t{d_[i + 1]} << 8) | d_[i + 2];
        return (v * 2654435761u) >> (32 - kHashBits);
    }
    std::span<const uint8_t> d_;
    std::vector<int64_t> head_;
    std::vector<int64_t> prev_;
};

}  // namespace

std::vector<uint8_t> EncodeLh5(std::span<const uint8_t> data)
{
    std::vector<uint8_t> out;
    out.reserve(data.size() / 2 + 64);
    BitWriter bw(out);
    BlockWriter blocks(bw);
    MatchFinder mf(data);
    std::vector<Code> codes;
    codes.reserve(kBlockCodes);
    auto emit = [&](Code c) {
        codes.push_back(c);
        if (codes.size() == kBlockCodes) {
            blocks.Send(codes);
            codes.clear();
        }
    };
    size_t i = 0;
    size_t dist = 0;
    size_t len = mf.Longest(0, dist);
    while (i < data.size()) {
        if (len >= kMinMatch) {
            // One step of lazy evaluation: a longer match at the next byte wins.
            mf.Insert(i);
            size_t nextDist = 0;
            const size_t nextLen = len < 32 ? mf.Longest(i + 1, nextDist) : 0;
            if (nextLen > len) {
                emit({data[i], 0});
                ++i;
                len = nextLen;
                dist = nextDist;
                continue;
            }
            emit({static_cast<uint16_t>(256 + len - kMinMatch), static_cast<uint16_t>(dist - 1)});
            for (size_t k = 1; k < len; ++k) mf.Insert(i + k);
            i += len;
        } else {
            mf.Insert(i);
            emit({data[i], 0});
            ++i;
        }
        len = i < data.size() ? mf.Longest(i, dist) : 0;
    }
    if (!codes.empty()) blocks.Send(codes);
    bw.Finish();
    return out;
}

std::vector<uint8_t> MakeLevel2Header(const std::string& name, uint64_t packedSize, uint64_t unpackedSize,
                                      uint16_t crc, uint32_t unixTime)
{
    std::vector<uint8_t> h;
    auto put8 = [&](unsigned v) { h.push_back(static_cast<uint8_t>(v)); };
    auto put16 = [&](unsigned v) { put8(v & 0xFF); put8((v >> 8) & 0xFF); };
    auto put32 = [&](uint64_t v) { put16(static_cast<unsigned>(v & 0xFFFF)); put16(static_cast<unsigned>((v >> 16) & 0xFFFF)); };
    put16(0);  // total size, filled in below
    for (char c : std::string("-lh5-")) put8(static_cast<uint8_t>(c));
    put32(packedSize);
    put32(unpackedSize);
    put32(unixTime);
    put8(0x20);
    put8(2);
    put16(crc);
    put8('U');
    put16(5);                       // size of the common extended header
    put8(0x00);
    const size_t crcAt = h.size();
    put16(0);                       // header CRC, filled in below
    put16(static_cast<unsigned>(3 + name.size()));
    put8(0x01);
    for (char c : name) put8(static_cast<uint8_t>(c));
    put16(0);                       // no further extended header
    // A level 2 header whose size has a zero low byte would read as the end
    // mark to older tools; such headers carry one padding byte.
    if ((h.size() & 0xFF) == 0) put8(0);
    h[0] = static_cast<uint8_t>(h.size() & 0xFF);
    h[1] = static_cast<uint8_t>(h.size() >> 8);
    const uint16_t hc = Crc16(h.data(), h.size());
    h[crcAt] = static_cast<uint8_t>(hc & 0xFF);
    h[crcAt + 1] = static_cast<uint8_t>(hc >> 8);
    return h;
}

}  // namespace core
}  // namespace lzh

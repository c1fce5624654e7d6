// libFuzzer harness of the LZH reader: header parsing and the decoders.
// The first input byte chooses what the rest is:
//   even: a whole archive; every member with a method we decode is decoded;
//   odd:  a raw compressed stream for -lh5-, -lh6- or -lh7- (byte 1 picks the
//         method, bytes 2-4 the unpacked size, the CRC is bytes 5-6).
// Output is counted and dropped; the harness only checks that the reader
// stays inside its buffers and returns a status.
//
// Build and run:
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZELKOVA_FUZZ=ON
//   cmake --build build-fuzz --target fuzz_lzh_reader
//   mkdir corpus; for f in tests/data/lzh/*.lzh; do (printf '\0'; cat $f) > corpus/${f##*/}; done
//   build-fuzz/tests/fuzz_lzh_reader -max_total_time=300 -max_len=16384 corpus
#include "platform/lzh/LzhCore.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {
// Members claiming more than this are skipped to keep each run short.
constexpr uint64_t kMaxOutput = uint64_t{4} << 20;

void Decode(const std::string& method, std::span<const uint8_t> packed, uint64_t size, uint16_t crc)
{
    uint64_t produced = 0;
    const lzh::core::Sink sink = [&produced](const uint8_t*, size_t n) {
        produced += n;
        return true;
    };
    const lzh::Status s = lzh::core::DecodeMember(method, packed, size, crc, sink);
    if (s == lzh::Status::Ok && produced != size) std::abort();
    if (produced > size) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const std::span<const uint8_t> in(data + 1, size - 1);
    if ((data[0] & 1) == 0) {
        std::vector<lzh::core::Header> headers;
        if (lzh::core::ParseArchive(in, headers) != lzh::Status::Ok) return 0;
        for (const auto& h : headers) {
            if (h.dataEnd > in.size() || h.dataStart > h.dataEnd) std::abort();
            (void)lzh::core::NameMatches(h, "zelkova.mdb");
            if (!lzh::core::IsSupportedMethod(h.method) || h.unpackedSize > kMaxOutput) continue;
            Decode(h.method, in.subspan(h.dataStart, h.dataEnd - h.dataStart), h.unpackedSize, h.crc);
        }
        return 0;
    }
    if (in.size() < 6) return 0;
    static const char* const kMethods[] = {"-lh5-", "-lh6-", "-lh7-"};
    const std::string method = kMethods[in[0] % 3];
    const uint64_t unpackedSize = (uint64_t{in[1]} | (uint64_t{in[2]} << 8) | (uint64_t{in[3]} << 16)) % kMaxOutput;
    const uint16_t crc = static_cast<uint16_t>(in[4] | (in[5] << 8));
    Decode(method, in.subspan(6), unpackedSize, crc);
    return 0;
}

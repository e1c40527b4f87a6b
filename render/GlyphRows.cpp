#include "GlyphRows.h"

#include <cstdlib>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

void PaintNibbleGlyph(std::uint8_t* dst, int stride, const GlyphRows& glyph, const std::uint64_t* pairs,
                      const std::uint8_t* ramp)
{
    // Eight-byte stores overlap the next pair, which overwrites the two extra
    // bytes; the last pair of a row is stored exactly.
    const int fullBytes = glyph.width >> 1;
    const bool odd = (glyph.width & 1) != 0;
    const std::uint8_t* data = glyph.rows;
    for (int r = 0; r < glyph.rowCount; ++r, data += glyph.rowBytes, dst += stride) {
        std::uint8_t* d = dst;
        int i = 0;
        for (; i + 1 < fullBytes; ++i, d += 6)
            std::memcpy(d, &pairs[data[i]], 8);
        if (i < fullBytes) {
            std::memcpy(d, &pairs[data[i]], 6);
            d += 6;
        }
        if (odd)
            std::memcpy(d, ramp + (data[fullBytes] >> 4) * 3, 3);
    }
}

void PaintBitRow(std::uint8_t* dst, const std::uint8_t* bits, int first, int end,
                 const std::array<std::uint8_t, 16>* quads, const std::uint8_t* clear, const std::uint8_t* set)
{
    // Four pixels per 16-byte store from the nibble table; a store spills into
    // the next pixels, which the following one overwrites, so the groups at the
    // end of a row are stored exactly.
    const auto pixel = [&](int k) { return (bits[k >> 3] >> (7 - (k & 7))) & 1 ? set : clear; };
    int k = first;
    for (; k < end && (k & 3) != 0; ++k, dst += 3)
        std::memcpy(dst, pixel(k), 3);
    const auto quad = [&](int k) { return quads[(bits[k >> 3] >> (4 - (k & 4))) & 15].data(); };
    // The four spilled bytes reach into the second pixel after the group.
    for (; k + 6 <= end; k += 4, dst += 12)
        std::memcpy(dst, quad(k), 16);
    if (k + 4 <= end) {
        std::memcpy(dst, quad(k), 12);
        k += 4;
        dst += 12;
    }
    for (; k < end; ++k, dst += 3)
        std::memcpy(dst, pixel(k), 3);
}

#if defined(__x86_64__)

// GCC 12 warns inside its own AVX-512 headers about the undefined vectors they
// use for masked-off lanes; nothing here reads those lanes.
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif

#define LARKSPUR_WIDE_TARGET __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi")))

namespace {

// Output byte j of a sixteen-pixel step is channel j % 3 of pixel j / 3: ramp
// byte 3 * index(j / 3) + j % 3.
alignas(64) const std::uint8_t SpreadBytes[64] = {
    0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6, 7, 7, 7,
    8, 8, 8, 9, 9, 9, 10, 10, 10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15};
alignas(64) const std::uint8_t ChannelBytes[64] = {
    0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2,
    0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2};

// The 48 bytes of a sixteen-pixel step, or those under `storeMask` at a row's
// end; whole steps use plain stores, which are cheaper than masked ones.
LARKSPUR_WIDE_TARGET inline void StoreStep(std::uint8_t* dst, __mmask64 storeMask, __m512i out)
{
    if (storeMask == 0xFFFFFFFFFFFFull) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), _mm512_castsi512_si256(out));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 32), _mm512_extracti32x4_epi32(out, 2));
    } else {
        _mm512_mask_storeu_epi8(dst, storeMask, out);
    }
}

// Sixteen pixels (eight source bytes, fewer under `loadMask`) to 48 bytes
// (fewer under `storeMask`). Masked-off bytes are neither read nor written.
LARKSPUR_WIDE_TARGET inline void WideStep(std::uint8_t* dst, const std::uint8_t* src, __mmask16 loadMask,
                                          __mmask64 storeMask, __m512i colours, __m512i spread, __m512i channel)
{
    const __m128i low = _mm_set1_epi8(0x0F);
    const __m128i v = _mm_maskz_loadu_epi8(loadMask, src);
    const __m128i index = _mm_unpacklo_epi8(_mm_and_si128(_mm_srli_epi16(v, 4), low), _mm_and_si128(v, low));
    const __m128i index3 = _mm_add_epi8(_mm_add_epi8(index, index), index);
    // Only bytes 0..15 of the widened index are read.
    const __m512i select = _mm512_add_epi8(_mm512_permutexvar_epi8(spread, _mm512_zextsi128_si512(index3)), channel);
    StoreStep(dst, storeMask, _mm512_permutexvar_epi8(select, colours));
}

}  // namespace

LARKSPUR_WIDE_TARGET
void PaintNibbleGlyphWide(std::uint8_t* dst, int stride, const GlyphRows& glyph, const std::uint8_t* ramp)
{
    const __m512i colours = _mm512_maskz_loadu_epi8(0xFFFFFFFFFFFFull, ramp);
    const __m512i spread = _mm512_load_si512(SpreadBytes);
    const __m512i channel = _mm512_load_si512(ChannelBytes);
    const int fullSteps = glyph.width / 16;
    const int rest = glyph.width % 16;
    const auto restLoad = static_cast<__mmask16>((1u << ((rest + 1) / 2)) - 1);
    const __mmask64 restStore = (1ull << (rest * 3)) - 1;
    const std::uint8_t* data = glyph.rows;
    for (int r = 0; r < glyph.rowCount; ++r, data += glyph.rowBytes, dst += stride) {
        std::uint8_t* d = dst;
        const std::uint8_t* s = data;
        for (int k = 0; k < fullSteps; ++k, d += 48, s += 8)
            WideStep(d, s, 0xFF, 0xFFFFFFFFFFFFull, colours, spread, channel);
        if (rest != 0)
            WideStep(d, s, restLoad, restStore, colours, spread, channel);
    }
}

namespace {

// A 1-bit step: bit i of the 16-bit mask is pixel 7 - i of the first byte
// (i < 8) or pixel 23 - i of the second, the bytes being most significant bit
// first. Output byte j belongs to pixel j / 3.
alignas(64) const std::uint8_t BitSpreadBytes[64] = {
    7, 7, 7, 6, 6, 6, 5, 5, 5, 4, 4, 4, 3, 3, 3, 2, 2, 2, 1, 1, 1, 0, 0, 0,
    15, 15, 15, 14, 14, 14, 13, 13, 13, 12, 12, 12, 11, 11, 11, 10, 10, 10, 9, 9, 9, 8, 8, 8};

// Sixteen pixels of one colour (three bytes at `colour`).
LARKSPUR_WIDE_TARGET inline __m512i ColourPattern(const std::uint8_t* colour)
{
    return _mm512_permutexvar_epi8(_mm512_load_si512(ChannelBytes),
                                   _mm512_zextsi128_si512(_mm_maskz_loadu_epi8(0x7, colour)));
}

LARKSPUR_WIDE_TARGET inline void BitStep(std::uint8_t* dst, unsigned bits, __mmask64 storeMask, __m512i background,
                                         __m512i foreground, __m512i spread)
{
    const __m128i setBytes = _mm_movm_epi8(static_cast<__mmask16>(bits));
    const __m512i select = _mm512_permutexvar_epi8(spread, _mm512_zextsi128_si512(setBytes));
    StoreStep(dst, storeMask, _mm512_ternarylogic_epi32(select, foreground, background, 0xCA));
}

}  // namespace

LARKSPUR_WIDE_TARGET
void PaintBitGlyphWide(std::uint8_t* dst, int stride, const GlyphRows& glyph, const std::uint8_t* clear,
                       const std::uint8_t* set)
{
    const __m512i background = ColourPattern(clear);
    const __m512i foreground = ColourPattern(set);
    const __m512i spread = _mm512_load_si512(BitSpreadBytes);
    const int fullSteps = glyph.width / 16;
    const int rest = glyph.width % 16;
    const __mmask64 restStore = (1ull << (rest * 3)) - 1;
    const std::uint8_t* data = glyph.rows;
    for (int r = 0; r < glyph.rowCount; ++r, data += glyph.rowBytes, dst += stride) {
        std::uint8_t* d = dst;
        const std::uint8_t* s = data;
        for (int k = 0; k < fullSteps; ++k, d += 48, s += 2)
            BitStep(d, s[0] | (s[1] << 8u), 0xFFFFFFFFFFFFull, background, foreground, spread);
        if (rest != 0)  // only the bytes the row has are read
            BitStep(d, s[0] | (rest > 8 ? s[1] << 8u : 0u), restStore, background, foreground, spread);
    }
}

#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif

bool WideGlyphRowsSupported()
{
    static const bool supported = [] {
        // Tests set this to run the drawer on the portable painters.
        if (std::getenv("LARKSPUR_PORTABLE_ROWS") != nullptr)
            return false;
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
               __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi");
    }();
    return supported;
}

#else

bool WideGlyphRowsSupported() { return false; }
void PaintNibbleGlyphWide(std::uint8_t*, int, const GlyphRows&, const std::uint8_t*) {}
void PaintBitGlyphWide(std::uint8_t*, int, const GlyphRows&, const std::uint8_t*, const std::uint8_t*) {}

#endif

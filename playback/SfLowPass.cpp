#include "playback/SfLowPass.h"

#include <algorithm>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

void SfLowPass::processSideBySide(SfLowPass* const* filters, float* const* values, const int* counts, int used)
{
    int common = 0;
#if defined(__SSE__)
    if (used > 1) {
        // The lanes of a vector are the voices; four frames of four voices
        // are turned into four frames of one vector each, and back.
        static const float silence[longestBlock] = {};
        float scratch[longestBlock];
        const float* in[lanes] = {silence, silence, silence, silence};
        float* out[lanes] = {scratch, scratch, scratch, scratch};
        alignas(16) float a0s[lanes] = {}, a1s[lanes] = {}, b1s[lanes] = {}, b2s[lanes] = {};
        alignas(16) float x1s[lanes] = {}, x2s[lanes] = {}, y1s[lanes] = {}, y2s[lanes] = {};
        common = std::min(counts[0], longestBlock);
        for (int lane = 0; lane < used; ++lane) {
            const SfLowPass& filter = *filters[lane];
            a0s[lane] = static_cast<float>(filter.a0);
            a1s[lane] = static_cast<float>(filter.a1);
            b1s[lane] = static_cast<float>(filter.b1);
            b2s[lane] = static_cast<float>(filter.b2);
            x1s[lane] = static_cast<float>(filter.x1);
            x2s[lane] = static_cast<float>(filter.x2);
            y1s[lane] = static_cast<float>(filter.y1);
            y2s[lane] = static_cast<float>(filter.y2);
            in[lane] = values[lane];
            out[lane] = values[lane];
            common = std::min(common, counts[lane]);
        }
        common &= ~3;
        const __m128 a0 = _mm_load_ps(a0s), a1 = _mm_load_ps(a1s), b1 = _mm_load_ps(b1s), b2 = _mm_load_ps(b2s);
        __m128 x1 = _mm_load_ps(x1s), x2 = _mm_load_ps(x2s), y1 = _mm_load_ps(y1s), y2 = _mm_load_ps(y2s);
        for (int k = 0; k < common; k += 4) {
            __m128 frames[4] = {_mm_loadu_ps(in[0] + k), _mm_loadu_ps(in[1] + k), _mm_loadu_ps(in[2] + k),
                                _mm_loadu_ps(in[3] + k)};
            _MM_TRANSPOSE4_PS(frames[0], frames[1], frames[2], frames[3]);
            for (__m128& frame : frames) {
                __m128 feed = _mm_add_ps(_mm_mul_ps(a0, _mm_add_ps(frame, x2)), _mm_mul_ps(a1, x1));
                __m128 y = _mm_sub_ps(_mm_sub_ps(feed, _mm_mul_ps(b2, y2)), _mm_mul_ps(b1, y1));
                x2 = x1;
                x1 = frame;
                y2 = y1;
                y1 = y;
                frame = y;
            }
            _MM_TRANSPOSE4_PS(frames[0], frames[1], frames[2], frames[3]);
            for (int lane = 0; lane < lanes; ++lane)
                _mm_storeu_ps(out[lane] + k, frames[lane]);
        }
        _mm_store_ps(x1s, x1);
        _mm_store_ps(x2s, x2);
        _mm_store_ps(y1s, y1);
        _mm_store_ps(y2s, y2);
        for (int lane = 0; lane < used; ++lane) {
            SfLowPass& filter = *filters[lane];
            filter.x1 = x1s[lane];
            filter.x2 = x2s[lane];
            filter.y1 = y1s[lane];
            filter.y2 = y2s[lane];
        }
    }
#endif
    for (int lane = 0; lane < used; ++lane)
        filters[lane]->processBlock(values[lane] + common, counts[lane] - common);
}

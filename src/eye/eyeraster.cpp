#include "eyeraster.h"

#include <algorithm>
#include <cmath>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define KESTREL_CLEAR_UPPER_HALVES
#endif

namespace {

constexpr double Far = std::numeric_limits<double>::max();

// The pixels of one row from `first` to `last` where the face's inverse depth
// start + a * i is nearer than the buffer's. Each pixel's depth on its own, in
// double precision, then kept in single as the buffer holds it: no pixel waits for
// its neighbour's sum, and four at a time give the same bits as one at a time.
void depthSpan(QRgb *line, float *nearest, int first, int last, double start, double a, QRgb colour)
{
    int i = first;
#if defined(__SSE2__)
    const __m128d starts = _mm_set1_pd(start), slopes = _mm_set1_pd(a);
    const __m128i colours = _mm_set1_epi32(int(colour));
    for (; i + 3 <= last; i += 4) {
        const __m128i index = _mm_add_epi32(_mm_set1_epi32(i), _mm_setr_epi32(0, 1, 2, 3));
        const __m128d low = _mm_add_pd(starts, _mm_mul_pd(slopes, _mm_cvtepi32_pd(index)));
        const __m128d high =
            _mm_add_pd(starts, _mm_mul_pd(slopes, _mm_cvtepi32_pd(_mm_shuffle_epi32(index, 0x0E))));
        const __m128 w = _mm_movelh_ps(_mm_cvtpd_ps(low), _mm_cvtpd_ps(high));
        const __m128 old = _mm_loadu_ps(nearest + i);
        const __m128 nearer = _mm_cmpgt_ps(w, old);
        _mm_storeu_ps(nearest + i, _mm_or_ps(_mm_and_ps(nearer, w), _mm_andnot_ps(nearer, old)));
        auto *pixels = reinterpret_cast<__m128i *>(line + i);
        const __m128i mask = _mm_castps_si128(nearer);
        _mm_storeu_si128(pixels, _mm_or_si128(_mm_and_si128(mask, colours),
                                              _mm_andnot_si128(mask, _mm_loadu_si128(pixels))));
    }
#endif
    for (; i <= last; ++i) {
        const float w = float(start + a * i);
        const bool nearer = w > nearest[i];
        nearest[i] = nearer ? w : nearest[i];
        line[i] = nearer ? colour : line[i];
    }
}

#if defined(KESTREL_CLEAR_UPPER_HALVES)
__attribute__((target("avx"))) void zeroUpperHalves()
{
    _mm256_zeroupper();
}
#endif

} // namespace

void clearUpperVectorHalves()
{
#if defined(KESTREL_CLEAR_UPPER_HALVES)
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx)
        zeroUpperHalves();
#endif
}

RasterPolygon::RasterPolygon(const std::vector<QPointF> &corners, QRgb colour, int height,
                             const InverseDepth *depth)
    : m_colour(colour), m_depth(depth ? *depth : InverseDepth{}), m_hasDepth(depth)
{
    const std::size_t n = corners.size();
    if (n < 3)
        return;
    double area = 0, top = corners[0].y(), bottom = top;
    for (std::size_t i = 0; i < n; ++i) {
        const QPointF &a = corners[i], &b = corners[(i + 1) % n];
        area += a.x() * b.y() - b.x() * a.y();
        top = std::min(top, a.y());
        bottom = std::max(bottom, a.y());
    }
    if (!(area != 0) || !std::isfinite(area))
        return;
    const double inside = area > 0 ? 1 : -1;
    m_edges.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const QPointF &a = corners[i], &b = corners[(i + 1) % n];
        m_edges.push_back({a.x(), a.y(), inside * (b.x() - a.x()), -inside * (b.y() - a.y())});
    }
    m_firstRow = int(std::clamp(std::ceil(top - 0.5), 0.0, double(height)));
    m_lastRow = int(std::clamp(std::floor(bottom - 0.5), -1.0, double(height - 1)));
}

void RasterPolygon::rowSpan(int j, int width, int *first, int *last) const
{
    const double y = j + 0.5;
    double l = -Far, r = Far;
    for (const Edge &edge : m_edges) {
        const double offset = edge.run * (y - edge.y);
        if (edge.slope > 0)
            l = std::max(l, edge.x - offset / edge.slope);
        else if (edge.slope < 0)
            r = std::min(r, edge.x - offset / edge.slope);
        else if (offset < 0)
            r = -Far;
    }
    *first = int(std::clamp(std::ceil(l - 0.5), 0.0, double(width)));
    *last = int(std::clamp(std::floor(r - 0.5), -1.0, double(width - 1)));
}

RasterLine::RasterLine(QPointF a, QPointF b)
{
    constexpr double Unit = 65536;
    const QPointF d = b - a;
    const double longer = std::max(std::abs(d.x()), std::abs(d.y()));
    if (!std::isfinite(longer) || longer > 1e6) {
        m_left = 0;
        return;
    }
    const int steps = int(std::ceil(longer));
    const QPointF step = steps > 0 ? d / steps : QPointF();
    m_x = std::llround(a.x() * Unit);
    m_y = std::llround(a.y() * Unit);
    m_dx = std::llround(step.x() * Unit);
    m_dy = std::llround(step.y() * Unit);
    m_left = steps + 1;
    // The same points from the other end, so that strips can take them downwards.
    if (m_dy < 0) {
        m_x += steps * m_dx;
        m_y += steps * m_dy;
        m_dx = -m_dx;
        m_dy = -m_dy;
    }
}

DepthRaster::DepthRaster(uchar *bits, qsizetype stride, int width, int first, int last,
                         float *depth)
    : m_bits(bits), m_stride(stride), m_width(width), m_first(first), m_last(last), m_depth(depth)
{
}

void DepthRaster::clearDepthRows(int first, int last)
{
    if (first > last)
        return;
    const auto clear = [&](int from, int to) {
        if (from <= to)
            std::fill(m_depth + std::ptrdiff_t(from - m_first) * m_width,
                      m_depth + std::ptrdiff_t(to + 1 - m_first) * m_width, 0.0f);
    };
    if (m_clearedFirst > m_clearedLast) {
        clear(first, last);
        m_clearedFirst = first;
        m_clearedLast = last;
        return;
    }
    clear(first, m_clearedFirst - 1);
    clear(m_clearedLast + 1, last);
    m_clearedFirst = std::min(m_clearedFirst, first);
    m_clearedLast = std::max(m_clearedLast, last);
}

void DepthRaster::fill(const RasterPolygon &polygon)
{
    const int firstRow = std::max(polygon.firstRow(), m_first);
    const int lastRow = std::min(polygon.lastRow(), m_last);
    const InverseDepth *depth = polygon.depth();
    if (depth)
        clearDepthRows(firstRow, lastRow);
    const QRgb colour = polygon.colour();
    for (int j = firstRow; j <= lastRow; ++j) {
        int first, last;
        polygon.rowSpan(j, m_width, &first, &last);
        QRgb *line = row(j);
        if (!depth) {
            std::fill(line + first, line + std::max(first, last + 1), colour);
            continue;
        }
        float *nearest = m_depth + std::ptrdiff_t(j - m_first) * m_width;
        const double a = depth->a, y = j + 0.5;
        depthSpan(line, nearest, first, last, depth->b * y + depth->c + a * 0.5, a, colour);
    }
}

void DepthRaster::line(RasterLine &line, QRgb colour)
{
    // Kept in locals: a pixel written could otherwise be taken to change them.
    const qint64 first = m_first, last = m_last, width = m_width, dx = line.m_dx, dy = line.m_dy;
    qint64 x = line.m_x, y = line.m_y, left = line.m_left;
    // A step moves at most a pixel either way, so the points on one row take a run of
    // pixels from the first one's to the last one's. A line that stays on a row for
    // more than two steps is drawn a run at a time.
    const bool byRuns = dy < 32768;
    while (left > 0) {
        // An arithmetic shift: the floor, for points left of or above the picture too.
        const qint64 j = y >> 16;
        if (j > last)
            break;
        qint64 count = 1;
        if (byRuns)
            count = dy == 0 ? left : std::min(left, ((j + 1) * 65536 - 1 - y) / dy + 1);
        if (j >= first) {
            const qint64 from = x >> 16, to = (x + (count - 1) * dx) >> 16;
            const qint64 low = std::max(std::min(from, to), qint64(0));
            const qint64 high = std::min(std::max(from, to), width - 1);
            auto *pixels = reinterpret_cast<QRgb *>(m_bits + (j - first) * m_stride);
            for (qint64 i = low; i <= high; ++i)
                pixels[i] = colour;
        }
        x += count * dx;
        y += count * dy;
        left -= count;
    }
    line.m_x = x;
    line.m_y = y;
    line.m_left = left;
}

void averageOfFour(QRgb *to, const QRgb *const samples[4], int count)
{
    int i = 0;
#if defined(__SSE2__)
    // Each channel widened to 16 bits, summed, rounded and narrowed again.
    const __m128i zero = _mm_setzero_si128(), half = _mm_set1_epi16(2);
    const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
    for (; i + 4 <= count; i += 4) {
        __m128i low = half, high = half;
        for (int k = 0; k < 4; ++k) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(samples[k] + i));
            low = _mm_add_epi16(low, _mm_unpacklo_epi8(v, zero));
            high = _mm_add_epi16(high, _mm_unpackhi_epi8(v, zero));
        }
        const __m128i average = _mm_packus_epi16(_mm_srli_epi16(low, 2), _mm_srli_epi16(high, 2));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(to + i), _mm_or_si128(average, opaque));
    }
#endif
    for (; i < count; ++i) {
        int sums[3] = {2, 2, 2};
        for (int k = 0; k < 4; ++k) {
            sums[0] += qRed(samples[k][i]);
            sums[1] += qGreen(samples[k][i]);
            sums[2] += qBlue(samples[k][i]);
        }
        to[i] = qRgb(sums[0] >> 2, sums[1] >> 2, sums[2] >> 2);
    }
}

#include "eyeraster.h"

#include <algorithm>
#include <cmath>
#include <limits>

DepthRaster::DepthRaster(QImage &image, std::vector<float> &depth)
    : m_bits(image.bits()), m_stride(image.bytesPerLine()), m_width(image.width()),
      m_height(image.height()), m_depth(depth)
{
    Q_ASSERT(image.format() == QImage::Format_RGB32);
    m_depth.resize(std::size_t(m_width) * std::size_t(m_height));
}

void DepthRaster::clearDepthRows(int first, int last)
{
    if (first > last)
        return;
    const auto clear = [&](int from, int to) {
        if (from <= to)
            std::fill(m_depth.begin() + std::ptrdiff_t(from) * m_width,
                      m_depth.begin() + std::ptrdiff_t(to + 1) * m_width, 0.0f);
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

void DepthRaster::fill(const std::vector<QPointF> &corners, QRgb colour)
{
    fillSpans(corners, colour, nullptr);
}

void DepthRaster::fill(const std::vector<QPointF> &corners, QRgb colour, const InverseDepth &depth)
{
    fillSpans(corners, colour, &depth);
}

void DepthRaster::fillSpans(const std::vector<QPointF> &corners, QRgb colour,
                            const InverseDepth *depth)
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

    // Rows whose pixel centres (j + 0.5) the polygon reaches.
    const int firstRow = int(std::clamp(std::ceil(top - 0.5), 0.0, double(m_height)));
    const int lastRow = int(std::clamp(std::floor(bottom - 0.5), -1.0, double(m_height - 1)));
    if (depth)
        clearDepthRows(firstRow, lastRow);
    constexpr double Far = std::numeric_limits<double>::max();
    for (int j = firstRow; j <= lastRow; ++j) {
        const double y = j + 0.5;
        // Each edge keeps the centres on the polygon's side of it: x at or right of
        // the edge's crossing of this row, or at or left of it.
        double left = -Far, right = Far;
        for (std::size_t i = 0; i < n; ++i) {
            const QPointF &a = corners[i], &b = corners[(i + 1) % n];
            const double slope = -inside * (b.y() - a.y());
            const double offset = inside * (b.x() - a.x()) * (y - a.y());
            if (slope > 0)
                left = std::max(left, a.x() - offset / slope);
            else if (slope < 0)
                right = std::min(right, a.x() - offset / slope);
            else if (offset < 0)
                right = -Far;
        }
        const int first = int(std::clamp(std::ceil(left - 0.5), 0.0, double(m_width)));
        const int last = int(std::clamp(std::floor(right - 0.5), -1.0, double(m_width - 1)));
        auto *line = reinterpret_cast<QRgb *>(m_bits + j * m_stride);
        if (!depth) {
            std::fill(line + first, line + std::max(first, last + 1), colour);
            continue;
        }
        float *nearest = m_depth.data() + std::size_t(j) * std::size_t(m_width);
        // Each pixel's depth on its own, in double precision, then kept in single as
        // the buffer holds it: no pixel waits for its neighbour's sum.
        const double a = depth->a, start = depth->b * y + depth->c + a * 0.5;
        for (int i = first; i <= last; ++i) {
            const float w = float(start + a * i);
            const bool nearer = w > nearest[i];
            nearest[i] = nearer ? w : nearest[i];
            line[i] = nearer ? colour : line[i];
        }
    }
}

void DepthRaster::line(QPointF a, QPointF b, QRgb colour)
{
    // One pixel a step along the longer axis; the ends lie within the image or a
    // pixel beyond it. Stepped in fixed point, 1/65536 of a pixel, so that the pixels
    // a line takes do not depend on how a system rounds its floating point.
    constexpr double Unit = 65536;
    const QPointF d = b - a;
    const double longer = std::max(std::abs(d.x()), std::abs(d.y()));
    if (!std::isfinite(longer) || longer > 1e6)
        return;
    const int steps = int(std::ceil(longer));
    const QPointF step = steps > 0 ? d / steps : QPointF();
    qint64 x = std::llround(a.x() * Unit), y = std::llround(a.y() * Unit);
    const qint64 dx = std::llround(step.x() * Unit), dy = std::llround(step.y() * Unit);
    for (int k = 0; k <= steps; ++k, x += dx, y += dy) {
        // An arithmetic shift: the floor, for points left of or above the image too.
        const qint64 i = x >> 16, j = y >> 16;
        if (i >= 0 && i < m_width && j >= 0 && j < m_height)
            reinterpret_cast<QRgb *>(m_bits + j * m_stride)[i] = colour;
    }
}

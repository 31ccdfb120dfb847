#include "eyeraster.h"

#include <algorithm>
#include <cmath>
#include <limits>

DepthRaster::DepthRaster(QImage &image)
    : m_bits(image.bits()), m_stride(image.bytesPerLine()), m_width(image.width()),
      m_height(image.height()), m_depth(std::size_t(m_width) * std::size_t(m_height), 0.0f)
{
    Q_ASSERT(image.format() == QImage::Format_RGB32);
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
        // Stepped in single precision along the row, as the buffer holds it.
        const float step = float(depth->a);
        float w = float(depth->a * (first + 0.5) + depth->b * y + depth->c);
        for (int i = first; i <= last; ++i, w += step) {
            const bool nearer = w > nearest[i];
            nearest[i] = nearer ? w : nearest[i];
            line[i] = nearer ? colour : line[i];
        }
    }
}

void DepthRaster::line(QPointF a, QPointF b, QRgb colour)
{
    // One pixel a step along the longer axis; the ends lie within the image.
    const QPointF d = b - a;
    const int steps = int(std::ceil(std::max(std::abs(d.x()), std::abs(d.y()))));
    const QPointF step = steps > 0 ? d / steps : QPointF();
    QPointF p = a;
    for (int k = 0; k <= steps; ++k, p += step) {
        const int i = int(std::floor(p.x())), j = int(std::floor(p.y()));
        if (i >= 0 && i < m_width && j >= 0 && j < m_height)
            reinterpret_cast<QRgb *>(m_bits + j * m_stride)[i] = colour;
    }
}

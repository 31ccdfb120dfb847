#pragma once

#include <QImage>
#include <QPointF>
#include <QRgb>

#include <vector>

// Cuts a polygon where `value` of a corner changes sign, keeping the part where it
// is not negative. Works for corners of any type with + and - and scaling by a
// double (points in the picture or in space); a convex polygon stays convex.
template <typename Point, typename Value>
std::vector<Point> clipPolygon(const std::vector<Point> &corners, Value value)
{
    std::vector<Point> kept;
    const std::size_t n = corners.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point &a = corners[i], &b = corners[(i + 1) % n];
        const double va = value(a), vb = value(b);
        if (va >= 0)
            kept.push_back(a);
        if ((va < 0) != (vb < 0))
            kept.push_back(a + (va / (va - vb)) * (b - a));
    }
    return kept;
}

// Fills flat convex polygons into an image of Format_RGB32, either over everything
// (the sky and the ground) or only where they are nearer than what is there already,
// by a depth buffer of inverse distances. A pixel is filled when its centre lies in
// the polygon or on its edge, so faces that share an edge leave no gap between them.
class DepthRaster
{
public:
    // The inverse of the distance ahead of the camera at a picture point, which is
    // linear over the picture for a flat face: a * x + b * y + c.
    struct InverseDepth
    {
        double a, b, c;
    };

    // Draws into `image`, whose every pixel starts infinitely far; `depth` is the
    // buffer to keep the depths in, sized to the image and cleared where it is used
    // (kept by the caller so that pictures drawn one after another share one buffer).
    DepthRaster(QImage &image, std::vector<float> &depth);

    void fill(const std::vector<QPointF> &corners, QRgb colour);
    void fill(const std::vector<QPointF> &corners, QRgb colour, const InverseDepth &depth);
    // A line one pixel wide over everything, its ends within the image or a pixel
    // beyond it.
    void line(QPointF a, QPointF b, QRgb colour);

private:
    void fillSpans(const std::vector<QPointF> &corners, QRgb colour, const InverseDepth *depth);
    // Clears the depths of rows first to last as they are first needed: most of a
    // picture is sky and ground, which need none.
    void clearDepthRows(int first, int last);

    uchar *m_bits;
    qsizetype m_stride;
    int m_width, m_height;
    std::vector<float> &m_depth;                // 0 for nothing drawn yet
    int m_clearedFirst = 0, m_clearedLast = -1; // the rows cleared so far
};

#pragma once

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

// The inverse of the distance ahead of the camera at a picture point, which is linear
// over the picture for a flat face: a * x + b * y + c.
struct InverseDepth
{
    double a, b, c;
};

// A flat convex polygon made ready to be filled a strip of rows at a time: its
// edges, the rows whose pixel centres (j + 0.5) it reaches, its colour and, for a
// face of a solid, its depth. Empty when it has no area or is not finite.
class RasterPolygon
{
public:
    // The rows reached are held to 0 .. height - 1. Without a depth the polygon is
    // drawn over everything.
    RasterPolygon(const std::vector<QPointF> &corners, QRgb colour, int height,
                  const InverseDepth *depth = nullptr);

    bool isEmpty() const { return m_firstRow > m_lastRow; }
    int firstRow() const { return m_firstRow; }
    int lastRow() const { return m_lastRow; }
    QRgb colour() const { return m_colour; }
    const InverseDepth *depth() const { return m_hasDepth ? &m_depth : nullptr; }

    // The pixels of row j (one of firstRow() to lastRow()) whose centres lie in the
    // polygon or on its edge, held to 0 .. width - 1: first to last, none where
    // last < first.
    void rowSpan(int j, int width, int *first, int *last) const;

private:
    // An edge from (x, y), keeping the centres on the polygon's side of it: at or right
    // of its crossing of a row where `slope` > 0, at or left of it where it is < 0.
    struct Edge
    {
        double x, y, run, slope;
    };
    std::vector<Edge> m_edges;
    int m_firstRow = 0, m_lastRow = -1;
    QRgb m_colour = 0;
    InverseDepth m_depth{};
    bool m_hasDepth = false;
};

// A line one pixel wide: one pixel a step along the longer axis, the ends within the
// picture or a pixel beyond it. Stepped in fixed point, 1/65536 of a pixel, so that
// the pixels a line takes do not depend on how a system rounds its floating point.
// Made ready to be drawn a strip of rows at a time, from the top down.
class RasterLine
{
public:
    RasterLine(QPointF a, QPointF b);

    // Whether every point is drawn; the row of the next point to draw.
    bool isDone() const { return m_left <= 0; }
    qint64 nextRow() const { return m_y >> 16; }

private:
    friend class DepthRaster;
    // The next point and the step, in 1/65536 of a pixel, stepping down; the points
    // still to draw.
    qint64 m_x = 0, m_y = 0, m_dx = 0, m_dy = 0;
    qint64 m_left = 0;
};

// Fills flat convex polygons into pixels of Format_RGB32, either over everything
// (the sky and the ground) or only where they are nearer than what is there already,
// by a depth buffer of inverse distances. A pixel is filled when its centre lies in
// the polygon or on its edge, so faces that share an edge leave no gap between them.
// It draws a strip of rows of a picture (all of them, or a few at a time while the
// strip stays in the processor's cache), whose every pixel starts infinitely far.
class DepthRaster
{
public:
    // Draws rows first to last of a picture `width` pixels wide: `bits` holds row
    // `first`, rows `stride` bytes apart; `depth` has width floats for each row,
    // cleared here where it is used.
    DepthRaster(uchar *bits, qsizetype stride, int width, int first, int last, float *depth);

    // The polygon's rows within the strip.
    void fill(const RasterPolygon &polygon);
    // The line's points down to the strip's last row, over everything; the line keeps
    // its place for the next strip below.
    void line(RasterLine &line, QRgb colour);

private:
    // Clears the depths of rows first to last as they are first needed: most of a
    // picture is sky and ground, which need none.
    void clearDepthRows(int first, int last);
    QRgb *row(int j) const { return reinterpret_cast<QRgb *>(m_bits + (j - m_first) * m_stride); }

    uchar *m_bits;
    qsizetype m_stride;
    int m_width;
    int m_first, m_last;                        // the strip's rows
    float *m_depth;                             // 0 for nothing drawn yet
    int m_clearedFirst = 0, m_clearedLast = -1; // the rows cleared so far
};

// Pixels `to` to `to` + count - 1, each the average of the same pixel of the four
// samples, channel by channel, rounded half up; opaque.
void averageOfFour(QRgb *to, const QRgb *const samples[4], int count);

// Code of Qt's built for AVX (an image's fill, for one) can leave the upper halves
// of the processor's wide vector registers in use, and the SSE code here then runs at
// a third of its speed on some processors until they are cleared. Clears them where
// the processor has them; nothing else changes.
void clearUpperVectorHalves();

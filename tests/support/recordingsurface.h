#pragma once

#include "drawingsurface.h"

#include <utility>
#include <vector>

// A drawing surface that records every call, in order across all its instances.
class RecordingSurface : public DrawingSurface
{
public:
    enum class Op
    {
        UserScale,
        Clear,
        PenWidth,
        PenStyle,
        FillSolid,
        Line,
        FilledRect,
        OutlinedRect,
        Circle
    };
    struct Call
    {
        Op op;
        std::vector<float> args; // coordinates and radius as handed over
        std::optional<QColor> color;
        int value = 0; // pen width, or pen style as int
        // Order of the call among the calls on all recording surfaces.
        long serial = 0;
    };
    std::vector<Call> calls;

    void setUserScale(float left, float top, float right, float bottom) override
    {
        record({Op::UserScale, {left, top, right, bottom}, {}, 0});
    }
    void clear() override { record({Op::Clear, {}, {}, 0}); }
    void setPenWidth(int pixels) override { record({Op::PenWidth, {}, {}, pixels}); }
    void setPenStyle(PenStyle style) override
    {
        record({Op::PenStyle, {}, {}, static_cast<int>(style)});
    }
    void setFillSolid() override { record({Op::FillSolid, {}, {}, 0}); }
    void line(float x1, float y1, float x2, float y2, const QColor &color) override
    {
        record({Op::Line, {x1, y1, x2, y2}, color, 0});
    }
    void filledRect(float x1, float y1, float x2, float y2,
                    const std::optional<QColor> &color) override
    {
        record({Op::FilledRect, {x1, y1, x2, y2}, color, 0});
    }
    void outlinedRect(float x1, float y1, float x2, float y2) override
    {
        record({Op::OutlinedRect, {x1, y1, x2, y2}, {}, 0});
    }
    void circle(float cx, float cy, float radius, const QColor &border) override
    {
        record({Op::Circle, {cx, cy, radius}, border, 0});
    }

private:
    void record(Call call)
    {
        static long nextSerial = 0;
        call.serial = ++nextSerial;
        calls.push_back(std::move(call));
    }
};

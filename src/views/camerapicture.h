#pragma once

#include "camerarecord.h"
#include "viewcamera.h"
#include "viewplaces.h"

#include <QImage>
#include <QRect>

class QPainter;

// Pictures of the three views laid out as the main window lays them out: the
// region of its client area from the left edge of the top view to the right edge
// of the front view, top to bottom of the views, in the window's background colour
// between them. Each view is painted by the same code as the editor's, in the
// editor's default colours.
//
// A picture at scale S is drawn at S times the pixels, as Qt draws a window on a
// screen of that device pixel ratio: the image is the region's size times S, each
// side rounded to the nearest whole pixel (halves away from zero), with the device
// pixel ratio S; everything is painted in device-independent pixels, lines one
// device pixel wide.

inline constexpr double MinimumPictureScale = 1;
inline constexpr double MaximumPictureScale = 8;

// Whether pictures are drawn at `scale`: 1 to 8, and never at a NaN.
bool isPictureScale(double scale);

// The region the three views cover in the main window's client area, in
// device-independent pixels.
QRect cameraViewsRegion();

// The three views of one camera; a null image for a scale outside 1 to 8.
QImage renderCameraViews(const ViewCamera &camera, double scale = 1);

// A sheet of six rows in camera order, each row the three views of a stored camera
// (as selecting it in the editor shows it) under a heading with its caption as the
// camera options name it. A heading is SheetHeadingHeight device-independent pixels
// high, so row k's views start SheetHeadingHeight + k * SheetRowHeight from the top.
// Text needs fonts: a null image without a QGuiApplication, and for a scale outside
// 1 to 8.
inline constexpr int SheetHeadingHeight = 32;
inline constexpr int SheetRowHeight =
    SheetHeadingHeight + WindowLayout::px(MainWindowPlaces::Picture1.height);
QImage renderCameraSheet(const CameraSet &cameras, double scale = 1);

// Camera k's caption as a sheet heads its pictures: low in `band` (a heading's
// band, in device-independent pixels), in bold, in the window's text colour.
void paintSheetCaption(QPainter &painter, const QRect &band, int camera);

#pragma once

#include "camerarecord.h"
#include "viewcamera.h"

#include <QImage>
#include <QPointF>
#include <QSize>

#include <vector>

class EyeProjection;
namespace EyeScene {
struct Face;
}

// Pictures through a camera's own eye: what it shows of the views' car sketch, made
// solid, and of the ground and the sky, in a pinhole projection (EyeProjection).
// Faces hidden behind nearer ones are hidden by a depth buffer; nothing behind the
// camera is drawn. A picture of S device-independent pixels at scale S' is S * S'
// pixels (each side rounded), drawn at all of them, with the device pixel ratio S'.

inline constexpr QSize EyePictureSize(640, 480);
inline constexpr int MinimumEyePictureSide = 64;
inline constexpr int MaximumEyePictureSide = 4096;

// Whether both sides lie in 64 to 4096.
bool isEyePictureSize(QSize size);

// The most pixels an eye picture or a sheet of them has at its scale: 2^27, the
// sheet of 640 x 480 pictures at scale 8.
inline constexpr qint64 MaximumEyePixels = qint64(1) << 27;
bool isEyePictureArea(QSize size, double scale);

// The picture of a face of the scene: false when it turns away from the camera or
// lies wholly behind the plane before it, where it is cut.
bool faceImage(const EyeProjection &eye, const EyeScene::Face &face, std::vector<QPointF> *points);

// Draws the view through `camera`'s eye over the whole of `image` (Format_RGB32),
// one picture pixel to each image pixel, smoothed: each pixel is the average of
// four samples (faces, the horizon and the grid's lines are drawn at each), in
// integer arithmetic. A camera that opens no picture (EyeProjection::isDrawable)
// leaves only the sky. The picture is drawn a few rows at a time; besides the image
// it needs about 128 KiB (at least one row of 20 bytes a pixel), kept for the next.
void paintEyeView(QImage &image, const ViewCamera &camera);

// The view through one camera's eye; a null image for a size or scale outside its
// range, or more pixels than MaximumEyePixels.
QImage renderEyeView(const ViewCamera &camera, QSize size = EyePictureSize, double scale = 1);

// A sheet of the six cameras' eye views, as selecting each in the editor shows it:
// two across and three down in camera order, each under a heading with its caption
// as the sheet of views heads its rows, the columns EyeSheetGap apart. Text needs
// fonts: a null image without a QGuiApplication, for a size or scale outside its
// range, and for a sheet of more pixels than MaximumEyePixels.
inline constexpr int EyeSheetGap = 8;
QSize eyeSheetSize(QSize picture);
QImage renderEyeSheet(const CameraSet &cameras, QSize size = EyePictureSize, double scale = 1);

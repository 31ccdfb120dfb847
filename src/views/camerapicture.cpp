#include "camerapicture.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QRegion>

namespace {

struct ViewPlace
{
    ViewKind view;
    WindowLayout::Place place;
    QColor background;
};

constexpr ViewPlace viewPlaces[] = {
    {ViewKind::Top, MainWindowPlaces::Picture1, ViewColours::Picture1Background},
    {ViewKind::Side, MainWindowPlaces::Picture2, ViewColours::Picture2Background},
    {ViewKind::Front, MainWindowPlaces::Picture3, ViewColours::Picture3Background},
};

// An image of `size` device-independent pixels at `scale`, its pixels not yet set.
QImage newPicture(QSize size, double scale)
{
    QImage image(size * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    return image;
}

// Where a view stands when the top view's top-left corner is at `origin`.
QRect viewRect(const ViewPlace &view, QPoint origin)
{
    return WindowLayout::place(view.place).translated(origin - cameraViewsRegion().topLeft());
}

// The three views with the top view's top-left corner at `origin`, each clipped to
// its own place as a widget is.
void paintCameraViews(QPainter &painter, QPoint origin, const ViewCamera &camera)
{
    for (const ViewPlace &view : viewPlaces) {
        const QRect place = viewRect(view, origin);
        painter.save();
        painter.translate(place.topLeft());
        painter.setClipRect(QRect(QPoint(0, 0), place.size()));
        paintView(painter, place.size(), view.view, view.background, ViewColours::WindowText,
                  camera);
        painter.restore();
    }
}

// The window's background everywhere but under the views, which paint their own.
// It reaches a pixel beyond `size`, which covers the last row or column of device
// pixels where the image's side was rounded up.
void paintWindowBackground(QPainter &painter, QSize size, const QList<QPoint> &viewOrigins)
{
    QRegion background(QRect(QPoint(0, 0), size + QSize(1, 1)));
    for (const QPoint &origin : viewOrigins) {
        for (const ViewPlace &view : viewPlaces)
            background -= viewRect(view, origin);
    }
    for (const QRect &rect : background)
        painter.fillRect(rect, ViewColours::WindowBackground);
}

} // namespace

bool isPictureScale(double scale)
{
    return scale >= MinimumPictureScale && scale <= MaximumPictureScale;
}

void paintSheetCaption(QPainter &painter, const QRect &band, int camera)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(16);
    font.setBold(true);
    // Hinted on the vertical only, whatever the system's font configuration says, so
    // that the captions come out the same on every system that has the font.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    painter.setFont(font);
    // The caption sits low in its band, near the pictures it names.
    painter.setPen(ViewColours::WindowText);
    painter.drawText(band.adjusted(0, 0, 0, -4), Qt::AlignLeft | Qt::AlignBottom,
                     QString::fromLatin1(CameraCaptions[camera]));
}

QRect cameraViewsRegion()
{
    const QRect top = WindowLayout::place(MainWindowPlaces::Picture1);
    const QRect front = WindowLayout::place(MainWindowPlaces::Picture3);
    return QRect(top.topLeft(), QPoint(front.right(), top.bottom()));
}

QImage renderCameraViews(const ViewCamera &camera, double scale)
{
    if (!isPictureScale(scale))
        return {};
    const QSize size = cameraViewsRegion().size();
    QImage image = newPicture(size, scale);
    QPainter painter(&image);
    paintWindowBackground(painter, size, {QPoint(0, 0)});
    paintCameraViews(painter, QPoint(0, 0), camera);
    return image;
}

QImage renderCameraSheet(const CameraSet &cameras, double scale)
{
    if (!isPictureScale(scale) || !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return {};
    const int width = cameraViewsRegion().width();
    const QSize size(width, CameraCount * SheetRowHeight);
    QImage image = newPicture(size, scale);
    QPainter painter(&image);
    QList<QPoint> viewOrigins;
    for (int k = 0; k < CameraCount; ++k)
        viewOrigins << QPoint(0, k * SheetRowHeight + SheetHeadingHeight);
    paintWindowBackground(painter, size, viewOrigins);
    for (int k = 0; k < CameraCount; ++k) {
        paintSheetCaption(painter, QRect(0, k * SheetRowHeight, width, SheetHeadingHeight), k);
        paintCameraViews(painter, viewOrigins[k], viewCameraForRecord(cameras[k]));
    }
    return image;
}

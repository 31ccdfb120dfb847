#include "camerapicture.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>

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

// Also false for a NaN.
bool isPictureScale(double scale)
{
    return scale >= MinimumPictureScale && scale <= MaximumPictureScale;
}

// An image of `size` device-independent pixels at `scale`, in the window's background.
QImage blankPicture(QSize size, double scale)
{
    QImage image(size * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(ViewColours::WindowBackground);
    return image;
}

// The three views with the top view's top-left corner at `origin`, each clipped to
// its own place as a widget is.
void paintCameraViews(QPainter &painter, QPoint origin, const ViewCamera &camera)
{
    const QPoint offset = origin - cameraViewsRegion().topLeft();
    for (const ViewPlace &view : viewPlaces) {
        const QRect place = WindowLayout::place(view.place).translated(offset);
        painter.save();
        painter.translate(place.topLeft());
        painter.setClipRect(QRect(QPoint(0, 0), place.size()));
        paintView(painter, place.size(), view.view, view.background, ViewColours::WindowText,
                  camera);
        painter.restore();
    }
}

QFont headingFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(16);
    font.setBold(true);
    return font;
}

} // namespace

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
    QImage image = blankPicture(cameraViewsRegion().size(), scale);
    QPainter painter(&image);
    paintCameraViews(painter, QPoint(0, 0), camera);
    return image;
}

QImage renderCameraSheet(const CameraSet &cameras, double scale)
{
    if (!isPictureScale(scale) || !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return {};
    const int width = cameraViewsRegion().width();
    QImage image = blankPicture(QSize(width, CameraCount * SheetRowHeight), scale);
    QPainter painter(&image);
    painter.setFont(headingFont());
    for (int k = 0; k < CameraCount; ++k) {
        const int top = k * SheetRowHeight;
        // The caption sits low in its band, near the views it names.
        painter.setPen(ViewColours::WindowText);
        painter.drawText(QRect(0, top, width, SheetHeadingHeight - 4),
                         Qt::AlignLeft | Qt::AlignBottom, QString::fromLatin1(CameraCaptions[k]));
        paintCameraViews(painter, QPoint(0, top + SheetHeadingHeight),
                         viewCameraForRecord(cameras[k]));
    }
    return image;
}

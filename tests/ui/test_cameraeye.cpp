// The camera's eye window in the editor: the menu item and its shortcut, the picture
// against kestrel-cam's, live changes, aiming by drag, zooming by wheel, cameras
// that open no picture, and the window remembered across a restart.

#include "cameraeyeview.h"
#include "eyecamera.h"
#include "eyepicture.h"
#include "eyescene.h"
#include "frmcameraeye.h"
#include "mainwindow.h"
#include "slidervalues.h"
#include "viewcamera.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>

#include <cmath>
#include <numbers>

namespace {

constexpr int Yaw1 = 3, Pitch1 = 4, Bank = 5, Zoom = 6;

double degrees(double radians)
{
    return radians * 180 / std::numbers::pi;
}

struct EyeWindow : MainWindow
{
    using MainWindow::MainWindow;

    frmCameraEye *eye() const { return get<frmCameraEye>("frmCameraEye"); }
    CameraEyeView *picture() const { return get<CameraEyeView>("picCameraEye"); }
    QAction *item() const { return get<QAction>("mnuViewCameraEye"); }
    void toggle() { QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier); }
    void openEye()
    {
        if (!eye()->isVisible())
            toggle();
        if (!QTest::qWaitForWindowExposed(eye()))
            qFatal("eye window not shown");
    }
    // What the picture shows now, painted afresh.
    QImage shown() const
    {
        return picture()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // What kestrel-cam draws for a camera at a size, at the picture's pixel density
    // (--scale).
    QImage rendered(const ViewCamera &camera, QSize size) const
    {
        return renderEyeView(camera, size, picture()->devicePixelRatioF());
    }
    // What kestrel-cam draws for the slider positions at the picture's size.
    QImage expected() const
    {
        std::array<int, SliderCount> positions{};
        for (int i = 0; i < SliderCount; ++i)
            positions[i] = slider(i)->value();
        return rendered(viewCameraForPositions(positions), picture()->size());
    }
    void wheel(int delta)
    {
        const QPointF at(picture()->width() / 2.0, picture()->height() / 2.0);
        QWheelEvent event(at, picture()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(picture(), &event);
    }
};

class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// The position a slider takes for `value` degrees: nearest, halves to even.
int position(double value)
{
    return int(roundHalfEven(value * PositionsPerDegree));
}

} // namespace

class TestCameraEye : public QObject
{
    Q_OBJECT

private slots:
    void menuItemShortcutAndTitle()
    {
        EyeWindow m;
        QVERIFY(!m.eye()->isVisible());
        QVERIFY(m.item()->isCheckable());
        QCOMPARE(m.item()->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));
        m.openEye();
        QVERIFY(m.item()->isChecked());
        QVERIFY(m.eye()->isWindow());
        QVERIFY(!m.eye()->isModal());
        QCOMPARE(m.eye()->windowTitle(), "Camera's Eye - Nose Camera");
        QCOMPARE(m.picture()->size(), QSize(640, 480));
        QCOMPARE(m.picture()->geometry(), m.eye()->rect());
        QVERIFY(!m.eye()->accessibleName().isEmpty());
        QVERIFY(!m.picture()->accessibleDescription().isEmpty());

        // Following the selection, through the usual question when changes are pending.
        m.clickOption(3);
        QCOMPARE(m.eye()->windowTitle(), "Camera's Eye - Roll Bar Camera");
        m.nudge(Yaw1);
        m.dialogs.answers.push_back(UserDialogs::Answer::No);
        m.clickOption(1);
        QCOMPARE(m.eye()->windowTitle(), "Camera's Eye - Gear Box Camera");
        QVERIFY(m.dialogs.asScripted());

        // The shortcut hides it; closing the window unchecks the item.
        m.toggle();
        QVERIFY(!m.eye()->isVisible());
        QVERIFY(!m.item()->isChecked());
        m.item()->trigger();
        QVERIFY(m.eye()->isVisible());
        m.eye()->close();
        QVERIFY(!m.item()->isChecked());
    }

    // Pixel for pixel kestrel-cam's picture of the slider positions, at 640 x 480 and
    // after a resize, with pending changes and after Cancel. Run a second time on a
    // screen of twice the density, where it is drawn at the device's pixels.
    void pictureEqualsRender()
    {
        EyeWindow m;
        m.openEye();
        const qreal density = m.picture()->devicePixelRatioF();
        QCOMPARE(m.shown().size(), EyePictureSize * density);
        QCOMPARE(m.shown(), m.expected());
        QCOMPARE(m.shown(), m.rendered(viewCameraForRecord(m.cameras()[0]), EyePictureSize));
        m.eye()->resize(500, 320);
        QCOMPARE(m.picture()->size(), QSize(500, 320));
        QCOMPARE(m.shown(), m.expected());
        const QImage stored = m.shown();
        m.type(Zoom, "50");
        m.type(Bank, "15");
        QVERIFY(m.pending());
        QVERIFY(m.shown() != stored);
        QCOMPARE(m.shown(), m.expected());
        m.click("cmdEditCancel");
        QCOMPARE(m.shown(), stored);

        // Paste and Open fill the sliders: the picture follows.
        m.click("cmdCopyCam");
        m.clickOption(4);
        m.click("cmdPaste");
        QCOMPARE(m.shown(), stored);
        QTemporaryDir folder;
        const CameraSet lotus = defaultCameras(5);
        // The pasted camera is unsaved: opening another file asks first.
        m.dialogs.answers.push_back(UserDialogs::Answer::Discard);
        m.open(writeFile(folder.filePath("lotus.cam"), cameraFile(lotus)));
        QCOMPARE(m.eye()->windowTitle(), "Camera's Eye - Nose Camera");
        QCOMPARE(m.shown(), m.rendered(viewCameraForRecord(lotus[0]), QSize(500, 320)));
        QVERIFY(m.dialogs.asScripted());
    }

    // Any number of changes between two frames paint the picture once.
    void repaintsCoalesced()
    {
        EyeWindow m;
        m.openEye();
        QCoreApplication::processEvents();
        PaintCounter counter;
        m.picture()->installEventFilter(&counter);
        for (int k = 0; k < 10; ++k)
            m.nudge(k % 2 ? Yaw1 : 0);
        QCOMPARE(counter.paints, 0);
        QTRY_COMPARE(counter.paints, 1);
        QCoreApplication::processEvents();
        QCOMPARE(counter.paints, 1);
        QCOMPARE(m.picture()->camera().Yaw1, float(m.slider(Yaw1)->value()) / 100);
    }

    // A drag from the centre by (dx, dy) turns Yaw1 by atan(dx / f) and Pitch1 by
    // -atan(dy / f) through the sliders; at the ends of their range they stop.
    void dragAims_data()
    {
        QTest::addColumn<QPoint>("by");
        QTest::newRow("right") << QPoint(100, 0);
        QTest::newRow("left and down") << QPoint(-250, 130);
        QTest::newRow("up") << QPoint(3, -200);
    }
    void dragAims()
    {
        QFETCH(QPoint, by);
        EyeWindow m;
        m.openEye();
        QCOMPARE(m.slider(Bank)->value(), 0);
        const double yaw = m.slider(Yaw1)->value() / 100.0;
        const double pitch = m.slider(Pitch1)->value() / 100.0;
        const double zoom = m.slider(Zoom)->value() / 100.0;
        const double f = 320 / std::tan(zoom / 2 * std::numbers::pi / 180);
        const QPoint centre(320, 240);
        QTest::mousePress(m.picture(), Qt::LeftButton, Qt::NoModifier, centre);
        QTest::mouseMove(m.picture(), centre + by / 2);
        QTest::mouseMove(m.picture(), centre + by);
        QCOMPARE(m.slider(Yaw1)->value(), position(yaw + degrees(std::atan(by.x() / f))));
        QCOMPARE(m.slider(Pitch1)->value(), position(pitch - degrees(std::atan(by.y() / f))));
        QTest::mouseRelease(m.picture(), Qt::LeftButton, Qt::NoModifier, centre + by);
        QVERIFY(m.pending());
        QCOMPARE(m.shown(), m.expected());
        m.click("cmdEditCancel");
        QCOMPARE(m.slider(Yaw1)->value(), position(yaw));

        // After the release, moving the mouse turns nothing.
        QTest::mouseMove(m.picture(), centre);
        QCOMPARE(m.slider(Yaw1)->value(), position(yaw));
    }

    void dragStopsAtTheRange()
    {
        EyeWindow m;
        m.openEye();
        m.type(Yaw1, "179");
        m.type(Pitch1, "-180");
        QTest::mousePress(m.picture(), Qt::LeftButton, Qt::NoModifier, QPoint(320, 240));
        QTest::mouseMove(m.picture(), QPoint(630, 470));
        QCOMPARE(m.slider(Yaw1)->value(), 18100);
        QCOMPARE(m.slider(Pitch1)->value(), -18100);
        QTest::mouseRelease(m.picture(), Qt::LeftButton, Qt::NoModifier, QPoint(630, 470));
        // The right button does not aim.
        QTest::mousePress(m.picture(), Qt::RightButton, Qt::NoModifier, QPoint(320, 240));
        QTest::mouseMove(m.picture(), QPoint(10, 10));
        QCOMPARE(m.slider(Yaw1)->value(), 18100);
    }

    // A notch forward divides tan(Zoom / 2) by 1.1, one back multiplies it; partial
    // deltas add up; a notch moves at least one position; the range's ends hold.
    void wheelZooms()
    {
        EyeWindow m;
        m.openEye();
        const auto after = [](int position, double factor) {
            const double half = position / 200.0 * std::numbers::pi / 180;
            return int(roundHalfEven(degrees(2 * std::atan(std::tan(half) * factor)) * 100));
        };
        const int start = m.slider(Zoom)->value();
        m.wheel(120);
        QCOMPARE(m.slider(Zoom)->value(), after(start, 1 / 1.1));
        QVERIFY(m.pending());
        m.wheel(-120);
        m.wheel(-120);
        const int narrowed = after(start, 1 / 1.1);
        QCOMPARE(m.slider(Zoom)->value(), after(after(narrowed, 1.1), 1.1));
        const int before = m.slider(Zoom)->value();
        m.wheel(40);
        m.wheel(40);
        QCOMPARE(m.slider(Zoom)->value(), before);
        m.wheel(40);
        QCOMPARE(m.slider(Zoom)->value(), after(before, 1 / 1.1));
        QCOMPARE(m.shown(), m.expected());

        m.type(Zoom, "0.01");
        m.wheel(120);
        QCOMPARE(m.slider(Zoom)->value(), 0); // at least a step, and the end holds
        m.wheel(120);
        QCOMPARE(m.slider(Zoom)->value(), 0);
        m.wheel(-120);
        QCOMPARE(m.slider(Zoom)->value(), 1);
        m.slider(Zoom)->setValue(17999);
        m.wheel(-120);
        QCOMPARE(m.slider(Zoom)->value(), 18000);
        m.wheel(-120);
        QCOMPARE(m.slider(Zoom)->value(), 18000);
    }

    // Zoom 0 or 180: the background alone, and the tool tip says why; nothing moves.
    void cameraThatOpensNoPicture()
    {
        EyeWindow m;
        m.openEye();
        QVERIFY(m.picture()->toolTip().isEmpty());
        for (const int zoom : {0, 18000}) {
            m.slider(Zoom)->setValue(zoom);
            QImage sky(m.picture()->size(), QImage::Format_RGB32);
            sky.fill(EyeScene::Sky);
            QCOMPARE(m.shown(), sky);
            QCOMPARE(m.picture()->toolTip(),
                     QStringLiteral("Zoom Angle: %1 degrees opens no picture; only its "
                                    "background is drawn")
                         .arg(zoom / 100));
            const int yaw = m.slider(Yaw1)->value();
            QTest::mousePress(m.picture(), Qt::LeftButton, Qt::NoModifier, QPoint(320, 240));
            QTest::mouseMove(m.picture(), QPoint(400, 300));
            QTest::mouseRelease(m.picture(), Qt::LeftButton, Qt::NoModifier, QPoint(400, 300));
            QCOMPARE(m.slider(Yaw1)->value(), yaw);
        }
        m.slider(Zoom)->setValue(4000);
        QVERIFY(m.picture()->toolTip().isEmpty());
    }

    // Open, size and place come back after a restart; closed stays closed.
    // Opened for the first time, the window stands to the right of the main window,
    // as far as the screen allows, and wholly on the screen.
    void firstPlaceBesideTheMainWindow()
    {
        EyeWindow m;
        m.openEye();
        const QRect room = m.window->screen()->availableGeometry();
        const QRect eye = m.eye()->frameGeometry();
        QVERIFY2(room.contains(eye), qPrintable(QString("%1,%2 %3x%4 in %5x%6")
                                                    .arg(eye.x())
                                                    .arg(eye.y())
                                                    .arg(eye.width())
                                                    .arg(eye.height())
                                                    .arg(room.width())
                                                    .arg(room.height())));
        QCOMPARE(eye.left(),
                 std::min(m.window->frameGeometry().right() + 9, room.right() + 1 - eye.width()));
        QVERIFY(eye.left() > 0);
    }

    void rememberedAcrossRestart()
    {
        QMap<QString, QString> remembered;
        QSize size(420, 300);
        {
            EyeWindow m;
            m.openEye();
            m.eye()->resize(size);
            QTest::qWait(0);
            // Closing the main window ends the program's event loop, the eye window
            // open or not (a loop still running after a while is a failure).
            QTimer::singleShot(0, m.window.get(), [&m] { m.window->close(); });
            QTimer stillRunning;
            stillRunning.setSingleShot(true);
            connect(&stillRunning, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
            stillRunning.start(10000);
            QCOMPARE(QCoreApplication::exec(), 0);
            QVERIFY(!m.window->isVisible());
            QVERIFY(!m.eye()->isVisible());
            remembered = m.settings.values;
        }
        QCOMPARE(remembered.value("CameraEye/Visible"), "1");
        QVERIFY(!remembered.value("CameraEye/Geometry").isEmpty());
        {
            EyeWindow m(remembered);
            QVERIFY(QTest::qWaitForWindowExposed(m.eye()));
            QVERIFY(m.item()->isChecked());
            QCOMPARE(m.eye()->size(), size);
            QCOMPARE(m.shown(), m.expected());
            m.toggle();
            QVERIFY(m.window->close());
            remembered = m.settings.values;
        }
        QCOMPARE(remembered.value("CameraEye/Visible"), "0");
        EyeWindow m(remembered);
        QVERIFY(!m.eye()->isVisible());
        QVERIFY(!m.item()->isChecked());
    }
};

QTEST_MAIN(TestCameraEye)
#include "test_cameraeye.moc"

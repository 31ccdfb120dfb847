#include "camerafile.h"
#include "frmcarcamera.h"
#include "memorysettings.h"
#include "modcameramath.h"
#include "moddefaultvariablesetup.h"
#include "scripteddialogs.h"
#include "slidervalues.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QtTest>

// The common road from a click to a file: load, drag the zoom, apply, save.
class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void loadDragApplySave()
    {
        QTemporaryDir dir;
        const DefaultTable defaults = SetupDefaults();
        CameraSet cameras = defaults.DefaultCameras(4); // Ferrari
        cameras[0].X = 1.0f;
        const QString source = dir.filePath(QStringLiteral("ferrari.cam"));
        {
            QFile file(source);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(serializeCameraFile(MakeCCamHeader(), cameras));
        }

        ScriptedDialogs dialogs;
        MemorySettings settings;
        frmCarCamera window(&dialogs, &settings);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        dialogs.chooseFile(source);
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdLoadCCamFile")),
                          Qt::LeftButton);
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblfile1"))->text(), source);
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblCameraValues(0)"))->text(),
                 QStringLiteral("1"));

        // Drag the zoom slider's thumb to the right with the mouse.
        auto *zoom = window.findChild<QScrollBar *>(QStringLiteral("HScrollCam(6)"));
        const int before = zoom->value();
        QStyleOptionSlider option;
        option.initFrom(zoom);
        option.orientation = Qt::Horizontal;
        option.minimum = zoom->minimum();
        option.maximum = zoom->maximum();
        option.sliderPosition = zoom->sliderPosition();
        option.sliderValue = zoom->value();
        option.singleStep = zoom->singleStep();
        option.pageStep = zoom->pageStep();
        option.subControls = QStyle::SC_All;
        const QPoint thumb =
            zoom->style()
                ->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, zoom)
                .center();
        QTest::mousePress(zoom, Qt::LeftButton, {}, thumb);
        for (int dx = 5; dx <= 40; dx += 5)
            QTest::mouseMove(zoom, thumb + QPoint(dx, 0));
        QTest::mouseRelease(zoom, Qt::LeftButton, {}, thumb + QPoint(40, 0));
        const int after = zoom->value();
        QVERIFY2(after > before, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
        QVERIFY(window.findChild<QPushButton *>(QStringLiteral("cmdeditApply"))->isEnabled());
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblCameraValues(6)"))->text(),
                 formatPlainDecimal(after / 100.0, QLocale().decimalPoint().at(0)));

        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdeditApply")),
                          Qt::LeftButton);
        const QString target = dir.filePath(QStringLiteral("out.cam"));
        dialogs.chooseFile(target);
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdsaveCameraFile")),
                          Qt::LeftButton);
        QVERIFY(dialogs.unexpected.isEmpty());

        QFile saved(target);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        QCOMPARE(bytes.size(), 228);
        QCOMPARE(bytes.left(12).toHex(' '), QByteArray("4d 41 43 43 00 00 00 00 d8 00 00 00"));

        // The nose camera went through the sliders; the other five are as loaded.
        CameraSet expected = cameras;
        expected[0].X = 1.0f;
        expected[0].Y = 0.004f; // 0.004071432 at 1/250 m
        expected[0].Z = 0.004f; // 0.002243254 is 0.56 steps
        expected[0].Pitch1 = float(modCameraMath::DegreesToRadians(0.33f)); // 0.3336794 degrees
        expected[0].Zoom = float(modCameraMath::DegreesToRadians(float(after / 100.0)));
        expected[0].Pitch2 = float(modCameraMath::DegreesToRadians(-7.16f)); // -0.125 rad
        QByteArray wanted = serializeCameraFile(MakeCCamHeader(), expected);
        QCOMPARE(bytes.toHex(' '), wanted.toHex(' '));
    }
};

QTEST_MAIN(TestEndToEnd)
#include "test_endtoend.moc"

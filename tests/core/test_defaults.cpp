#include "camerafile.h"
#include "modcameramath.h"
#include "moddefaultvariablesetup.h"

#include <QtTest>

#include <cstring>

namespace {
quint32 bitsOf(float f)
{
    quint32 bits;
    std::memcpy(&bits, &f, 4);
    return bits;
}
} // namespace

class TestDefaults : public QObject
{
    Q_OBJECT

private slots:
    void literalsAreTheNearestSinglePrecision()
    {
        const DefaultTable d = SetupDefaults();
        QCOMPARE(bitsOf(d.DefaultCamera(0, 0).X), 0x4014BB06u);
        QCOMPARE(bitsOf(d.DefaultCamera(0, 0).Zoom), 0x3FAE3DABu);
        for (int car = 0; car < CarTypeCount; ++car) {
            for (int cam = 0; cam < CameraCount; ++cam) {
                QCOMPARE(bitsOf(d.DefaultCamera(car, cam).Pitch2), 0xBE000000u);
                QCOMPARE(bitsOf(d.DefaultCamera(car, cam).Yaw2), 0u);
            }
        }
    }

    void regularitiesHold()
    {
        const DefaultTable d = SetupDefaults();
        QVERIFY(d.DefaultCamera(1, NoseCamera).sameBits(d.DefaultCamera(0, NoseCamera)));
        QVERIFY(d.DefaultCamera(6, NoseCamera).sameBits(d.DefaultCamera(3, NoseCamera)));
        QVERIFY(d.DefaultCamera(1, ZeppelinCamera).sameBits(d.DefaultCamera(0, ZeppelinCamera)));
        const float rearZooms[] = {1.221253f, 1.221234f, 1.221241f, 1.221253f,
                                   1.221235f, 1.221234f, 1.221253f};
        for (int car = 0; car < CarTypeCount; ++car) {
            for (int cam = 0; cam < CameraCount; ++cam) {
                const CameraRecord r = d.DefaultCamera(car, cam);
                if (cam == RearSuspensionCamera)
                    QCOMPARE(r.Zoom, rearZooms[car]);
                else
                    QCOMPARE(r.Zoom, 1.361257f);
                if (cam == GearboxCamera)
                    QVERIFY(r.Yaw1 >= 3.140814f && r.Yaw1 <= 3.142077f);
                else if (cam == RearSuspensionCamera)
                    QVERIFY(r.Yaw1 >= 3.062355f && r.Yaw1 <= 3.064143f);
                else
                    QVERIFY(std::abs(r.Yaw1) < 0.05f);
                if (car == 2 && cam == NoseCamera)
                    QCOMPARE(r.Bank, -0.000007691784f);
                else
                    QCOMPARE(bitsOf(r.Bank), 0u);
            }
        }
        const CameraRecord murasamaNose = d.DefaultCamera(6, NoseCamera);
        QCOMPARE(murasamaNose.X, 2.34464f);
        QCOMPARE(murasamaNose.Y, -0.1897463f);
        QCOMPARE(murasamaNose.Pitch1, -0.0004281005f);
        QCOMPARE(d.DefaultCamera(5, RollBarCamera).Y, -0.002001534f);
    }

    void fileNamesAndMakes()
    {
        const DefaultTable d = SetupDefaults();
        const QStringList names = {"brabham.cam", "brm.cam",   "coventry.cam", "eagle.cam",
                                   "ferrari.cam", "lotus.cam", "murasama.cam"};
        const QStringList makes = {"Brabham", "BRM",   "Coventry", "Eagle",
                                   "Ferrari", "Lotus", "Murasama"};
        for (int car = 0; car < CarTypeCount; ++car) {
            QCOMPARE(d.DefaultFileName(car), names[car]);
            QCOMPARE(d.MakeName(car), makes[car]);
        }
        QCOMPARE(d.DefaultHeader(), MakeCCamHeader());
    }

    void lookupsAreCopies()
    {
        const DefaultTable d = SetupDefaults();
        CameraSet lotus = d.DefaultCameras(5);
        lotus[0].X = 99.0f;
        QCOMPARE(d.DefaultCameras(5)[0].X, 2.452515f);
    }

    void angleConversions()
    {
        QCOMPARE(180.0 / modCameraMath::Pi, 57.29577950560105);
        QCOMPARE(modCameraMath::Pi / 180.0, 0.017453292522222223);
        QCOMPARE(modCameraMath::RadiansToDegrees(-0.125f), (180.0 / 3.141592654) * -0.125);
        QVERIFY(std::abs(modCameraMath::RadiansToDegrees(-0.125f) - -7.161972438) < 1e-9);
        QVERIFY(std::abs(modCameraMath::RadiansToDegrees(1.361257f) - 77.99427846) < 1e-8);
        // Not full-precision pi: the two differ in the tenth digit.
        QVERIFY(modCameraMath::DegreesToRadians(180.0f) != M_PI);
        QCOMPARE(modCameraMath::DegreesToRadians(180.0f), 3.141592654);
    }
};

QTEST_GUILESS_MAIN(TestDefaults)
#include "test_defaults.moc"

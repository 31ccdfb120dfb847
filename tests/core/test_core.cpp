// The camera file, the default table, the angle conversions and the slider arithmetic.

#include "camerafile.h"
#include "modcameramath.h"
#include "moddefaultvariablesetup.h"
#include "slidervalues.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {

QByteArray brabhamBytes()
{
    return serializeCameraFile({MakeCCamHeader(), SetupDefaults().DefaultCameras(0)});
}

constexpr int A = TypedEntryResult::Accepted, R = TypedEntryResult::OutOfRange,
              N = TypedEntryResult::NotNumeric;

} // namespace

class TestCore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString write(const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(QStringLiteral("t.cam")));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write test file");
        return file.fileName();
    }

private slots:
    void brabhamFileBytes()
    {
        const QByteArray bytes = brabhamBytes();
        QCOMPARE(bytes.size(), 228);
        QCOMPARE(bytes.left(16).toHex(' '),
                 QByteArray("4d 41 43 43 00 00 00 00 d8 00 00 00 06 bb 14 40"));
        QCOMPARE(bytes.right(4).toHex(' '), QByteArray("00 00 00 be"));
    }

    // Length, then signature (case counts), then data length: the first failing test decides.
    void rejectionsInOrder_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QString length = "File Length does not indicate Camera file";
        const QByteArray good = brabhamBytes();
        QByteArray dl215 = good, dl217 = good;
        dl215[8] = char(215);
        dl217[8] = char(217);
        QTest::newRow("227 bytes") << good.left(227) << length;
        QTest::newRow("229 bytes, bad signature") << QByteArray(229, 'x') << length;
        QTest::newRow("lower-case signature, data length 215")
            << QByteArray(dl215).replace(0, 4, "macc") << "Not A Vantage Camera File";
        const QString dataLength = "Unsupported Vantage Camera File or Unknown Type";
        QTest::newRow("data length 215") << dl215 << dataLength;
        QTest::newRow("data length 217") << dl217 << dataLength;
    }
    void rejectionsInOrder()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        CameraFileReader reader;
        QVERIFY(reader.read(write(bytes)) != CameraFileStatus::Ok);
        QCOMPARE(reader.errorString(), message);
    }

    void foldersAndDevicesGiveTheLengthMessage()
    {
        CameraFileReader reader;
        QCOMPARE(reader.read(m_dir.path()), CameraFileStatus::BadLength);
        QCOMPARE(reader.read(QStringLiteral("/dev/zero")), CameraFileStatus::BadLength);
    }

    // Random files: each gives the outcome its bytes call for; an accepted one is
    // taken bit for bit (NaN payloads and any Reserved too), a rejected one leaves
    // what was read before.
    void randomFilesNeverMisread()
    {
        QRandomGenerator rng(20261208);
        const QByteArray good = brabhamBytes();
        CameraFileReader reader;
        CameraDocument last = reader.document();
        for (int round = 0; round < 3000; ++round) {
            const int shape = rng.bounded(4);
            QByteArray bytes = shape == 3 ? good : QByteArray(shape ? 228 : rng.bounded(600), 0);
            for (char &c : bytes)
                c = shape == 3 ? c : char(rng.bounded(256));
            if (shape == 2)
                bytes.replace(0, 4, "MACC").replace(8, 4, QByteArray::fromHex("d8000000"));
            if (shape == 3)
                bytes[rng.bounded(12)] = char(rng.bounded(256));

            CameraFileStatus expected = CameraFileStatus::Ok;
            if (bytes.size() != 228)
                expected = CameraFileStatus::BadLength;
            else if (bytes.left(4) != "MACC")
                expected = CameraFileStatus::BadSignature;
            else if (bytes.mid(8, 4) != QByteArray::fromHex("d8000000"))
                expected = CameraFileStatus::BadDataLength;

            QCOMPARE(reader.read(write(bytes)), expected);
            if (expected == CameraFileStatus::Ok) {
                QCOMPARE(serializeCameraFile(reader.document()), bytes);
                QVERIFY(reader.errorString().isEmpty());
                last = reader.document();
            }
            QVERIFY(sameBits(reader.document().DocumentCameras, last.DocumentCameras));
        }
    }

    // The regularities of the table, and the values the file bytes above do not reach.
    void defaultTable()
    {
        const DefaultTable d = SetupDefaults();
        const QStringList makes = {"Brabham", "BRM",   "Coventry", "Eagle",
                                   "Ferrari", "Lotus", "Murasama"};
        const float rearZooms[] = {1.221253f, 1.221234f, 1.221241f, 1.221253f,
                                   1.221235f, 1.221234f, 1.221253f};
        for (int car = 0; car < CarTypeCount; ++car) {
            QCOMPARE(d.MakeName(car), makes[car]);
            QCOMPARE(d.DefaultFileName(car), makes[car].toLower() + ".cam");
            for (int cam = 0; cam < CameraCount; ++cam) {
                const CameraRecord r = d.DefaultCamera(car, cam);
                QCOMPARE(floatBits(r.Yaw2), 0u);
                QCOMPARE(floatBits(r.Pitch2), 0xBE000000u);
                QCOMPARE(floatBits(r.Zoom),
                         floatBits(cam == RearSuspensionCamera ? rearZooms[car] : 1.361257f));
                QCOMPARE(floatBits(r.Bank),
                         car == 2 && cam == 0 ? floatBits(-0.000007691784f) : 0u);
                const float yaw = cam == GearboxCamera          ? 3.1414f
                                  : cam == RearSuspensionCamera ? 3.0632f
                                                                : 0;
                QVERIFY(std::abs(r.Yaw1 - yaw) < (yaw ? 0.001f : 0.05f));
            }
        }
        QVERIFY(d.DefaultCamera(1, NoseCamera).sameBits(d.DefaultCamera(0, NoseCamera)));
        QVERIFY(d.DefaultCamera(6, NoseCamera).sameBits(d.DefaultCamera(3, NoseCamera)));
        QVERIFY(d.DefaultCamera(1, ZeppelinCamera).sameBits(d.DefaultCamera(0, ZeppelinCamera)));
        QCOMPARE(floatBits(d.DefaultCamera(6, NoseCamera).Y), floatBits(-0.1897463f));
        QCOMPARE(floatBits(d.DefaultCamera(5, RollBarCamera).Y), floatBits(-0.002001534f));
    }

    void angleConversions()
    {
        // The quotient first, in double; the ten-digit constant, not full-precision pi.
        QCOMPARE(modCameraMath::RadiansToDegrees(-0.125f), 57.29577950560105 * -0.125);
        QCOMPARE(modCameraMath::DegreesToRadians(180.0f), 3.141592654);
    }

    void positionForField_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<float>("field");
        QTest::addColumn<int>("position");
        QTest::newRow("X 0.35, stored just below") << 0 << 0.35f << 87;
        QTest::newRow("X 0.25, half to even") << 0 << 0.25f << 62;
        QTest::newRow("Pitch2 -0.125") << 8 << -0.125f << -716;
        // Beyond the range: the nearest end. NaN: zero.
        QTest::newRow("X 1000") << 0 << 1000.0f << 30000;
        QTest::newRow("Z -5") << 2 << -5.0f << -100;
        QTest::newRow("Yaw1 inf") << 3 << std::numeric_limits<float>::infinity() << 18100;
        QTest::newRow("Bank NaN") << 5 << std::numeric_limits<float>::quiet_NaN() << 0;
    }
    void positionForField()
    {
        QFETCH(int, index);
        QFETCH(float, field);
        QFETCH(int, position);
        QCOMPARE(::positionForField(index, field), position);
    }

    // Every position survives the way into a record and back.
    void positionsRoundTrip()
    {
        for (int index = 0; index < SliderCount; ++index) {
            const SliderSpec &info = sliderSpec(index);
            for (int p = info.minimum; p <= info.maximum; p += 37)
                QCOMPARE(::positionForField(index, fieldForPosition(index, p)), p);
        }
        // An angle's degrees x 100 keep 15 significant digits before rounding.
        QCOMPARE(roundToSignificantDigits(12.499999999999998), 12.5);
    }

    // Plain decimals: what the nearest double of each text is shown as.
    void display()
    {
        for (const QString text : {"0", "2.324", "0.004", "-0.4", "120", "0.0000001"})
            QCOMPARE(formatPlainDecimal(text.toDouble()), text);
        QCOMPARE(formatPlainDecimal(0.1 + 0.2), "0.3");
        QCOMPARE(formatPlainDecimal(-0.0), "0");
    }

    // How a text typed for slider `index` is read: both bounds belong to the range,
    // which the slider's own may narrow, after rounding halves to even.
    void typedEntry_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("position");
        QTest::newRow("X 120") << 0 << "120" << A << 30000;
        QTest::newRow("X 120.001") << 0 << "120.001" << R << 0;
        QTest::newRow("Z -0.4") << 2 << "-0.4" << A << -100;
        QTest::newRow("Z -0.41") << 2 << "-0.41" << R << 0;
        QTest::newRow("Yaw1 -180") << 3 << "-180" << A << -18000;
        QTest::newRow("Yaw1 181, within the slider") << 3 << "181" << R << 0;
        QTest::newRow("Zoom -10, beyond the slider") << 6 << "-10" << R << 0;
        QTest::newRow("Zoom -0.005, half to even") << 6 << "-0.005" << A << 0;
        QTest::newRow("Zoom -0.006") << 6 << "-0.006" << R << 0;
        QTest::newRow("X 0.002, half to even") << 0 << "0.002" << A << 0;
        QTest::newRow("X 0.006, half to even") << 0 << "0.006" << A << 2;
        QTest::newRow("blanks, plus, exponent") << 0 << "  +1.5e1 " << A << 3750;
        QTest::newRow("leading point") << 0 << ".5" << A << 125;
        QTest::newRow("trailing point") << 0 << "5." << A << 1250;
        QTest::newRow("tiny") << 1 << "1e-400" << A << 0;
        QTest::newRow("huge") << 1 << "1e400" << R << 0;
        // Beyond a double, told apart by where the first significant digit stands.
        const QString manyZeros(500, '0');
        QTest::newRow("1e490 written out") << 1 << "1" + manyZeros + "e-10" << R << 0;
        QTest::newRow("-1e490 written out") << 1 << "-1" + manyZeros + "e-10" << R << 0;
        QTest::newRow("1e-401 written out") << 1 << "0." + manyZeros.left(400) + "1" << A << 0;
        QTest::newRow("-1e-401 written out") << 1 << "-0." + manyZeros.left(400) + "1" << A << 0;
        QTest::newRow("leading zeros, huge") << 1 << "000." + manyZeros + "1e900" << R << 0;
        QTest::newRow("huge exponent, tiny") << 1 << "0.00001e-99999999999999999999" << A << 0;
        QTest::newRow("empty") << 1 << "" << int(TypedEntryResult::Empty) << 0;
        for (const char *text : {"   ", "1.2.3", "-", "nan", "2,324"})
            QTest::newRow(text) << 1 << text << N << 0;
    }
    void typedEntry()
    {
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(int, outcome);
        QFETCH(int, position);
        const TypedEntryResult result = evaluateTypedEntry(index, text);
        QCOMPARE(int(result.outcome), outcome);
        QCOMPARE(result.position, position);
    }
};

QTEST_GUILESS_MAIN(TestCore)
#include "test_core.moc"

#include "camerafile.h"
#include "moddefaultvariablesetup.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <cstring>

namespace {

QByteArray brabhamBytes()
{
    const DefaultTable defaults = SetupDefaults();
    return serializeCameraFile(defaults.DefaultHeader(), defaults.DefaultCameras(0));
}

quint32 bitsOf(float f)
{
    quint32 bits;
    std::memcpy(&bits, &f, 4);
    return bits;
}

float floatFromBits(quint32 bits)
{
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

} // namespace

class TestCameraFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size())
            qFatal("cannot write test file");
        return path;
    }

private slots:
    void brabhamFileLayout()
    {
        const QByteArray bytes = brabhamBytes();
        QCOMPARE(bytes.size(), 228);
        QCOMPARE(bytes.left(16).toHex(' '),
                 QByteArray("4d 41 43 43 00 00 00 00 d8 00 00 00 06 bb 14 40"));
        QCOMPARE(bytes.right(4).toHex(' '), QByteArray("00 00 00 be"));
    }

    void rejectionsInOrder_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        const QByteArray good = brabhamBytes();
        QByteArray lower = good;
        lower.replace(0, 4, "macc");
        QByteArray dl215 = good;
        dl215[8] = char(215);
        QByteArray dl217 = good;
        dl217[8] = char(217);
        QByteArray lowerAnd215 = lower;
        lowerAnd215[8] = char(215);

        QTest::newRow("empty") << QByteArray() << int(CameraFileStatus::BadLength);
        QTest::newRow("227 bytes") << good.left(227) << int(CameraFileStatus::BadLength);
        QTest::newRow("229 bytes") << good + '\0' << int(CameraFileStatus::BadLength);
        QTest::newRow("229 bytes, bad signature")
            << QByteArray(229, 'x') << int(CameraFileStatus::BadLength);
        QTest::newRow("lower-case signature") << lower << int(CameraFileStatus::BadSignature);
        QTest::newRow("signature before data length")
            << lowerAnd215 << int(CameraFileStatus::BadSignature);
        QTest::newRow("data length 215") << dl215 << int(CameraFileStatus::BadDataLength);
        QTest::newRow("data length 217") << dl217 << int(CameraFileStatus::BadDataLength);
        QTest::newRow("good") << good << int(CameraFileStatus::Ok);
    }

    void rejectionsInOrder()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        const QString path = writeFile(QStringLiteral("t.cam"), bytes);
        CameraFileReader reader;
        QCOMPARE(int(reader.read(path)), status);
    }

    void messagesAreTheFixedTexts()
    {
        QCOMPARE(cameraFileMessage(CameraFileStatus::BadLength),
                 QStringLiteral("File Length does not indicate Camera file"));
        QCOMPARE(cameraFileMessage(CameraFileStatus::BadSignature),
                 QStringLiteral("Not A Vantage Camera File"));
        QCOMPARE(cameraFileMessage(CameraFileStatus::BadDataLength),
                 QStringLiteral("Unsupported Vantage Camera File or Unknown Type"));
    }

    void reservedIsIgnoredAndWrittenAsZero()
    {
        QByteArray bytes = brabhamBytes();
        bytes[4] = 7;
        CameraFileReader reader;
        QCOMPARE(reader.read(writeFile(QStringLiteral("r.cam"), bytes)), CameraFileStatus::Ok);
        QCOMPARE(reader.contents().header.Reserved, 7);
        const QByteArray again = serializeCameraFile(MakeCCamHeader(), reader.contents().cameras);
        QCOMPARE(again, brabhamBytes());
    }

    void valuesAreKeptBitForBit()
    {
        CameraSet cameras{};
        cameras[0].X = floatFromBits(0x7fc12345u); // quiet NaN with a payload
        cameras[0].Y = floatFromBits(0xffa00001u); // signalling NaN, negative
        cameras[2].Zoom = 1000.0f;
        cameras[5].Pitch2 = floatFromBits(0x80000000u); // -0
        cameras[4].Bank = std::numeric_limits<float>::infinity();
        const QString path =
            writeFile(QStringLiteral("nan.cam"), serializeCameraFile(MakeCCamHeader(), cameras));
        CameraFileReader reader;
        QCOMPARE(reader.read(path), CameraFileStatus::Ok);
        QVERIFY(sameBits(reader.contents().cameras, cameras));
        QCOMPARE(bitsOf(reader.contents().cameras[0].Y), 0xffa00001u);

        CameraFileWriter writer;
        const QString copy = m_dir.filePath(QStringLiteral("copy.cam"));
        QVERIFY(writer.write(copy, reader.contents().header, reader.contents().cameras));
        QFile written(copy);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), serializeCameraFile(MakeCCamHeader(), cameras));
    }

    void oddPathsGiveTheLengthMessageAndCreateNothing()
    {
        CameraFileReader reader;
        const QString missing = m_dir.filePath(QStringLiteral("missing.cam"));
        QCOMPARE(reader.read(missing), CameraFileStatus::BadLength);
        QVERIFY(!QFile::exists(missing));
        QCOMPARE(reader.read(m_dir.path()), CameraFileStatus::BadLength);
        QCOMPARE(reader.read(QStringLiteral("/dev/zero")), CameraFileStatus::BadLength);
        QCOMPARE(
            reader.read(writeFile(QStringLiteral("big.cam"), QByteArray(10 * 1024 * 1024, 'M'))),
            CameraFileStatus::BadLength);
    }

    void rejectedFileLeavesEarlierContents()
    {
        CameraFileReader reader;
        QCOMPARE(reader.read(writeFile(QStringLiteral("a.cam"), brabhamBytes())),
                 CameraFileStatus::Ok);
        const CameraFileContents before = reader.contents();
        QByteArray bad = brabhamBytes();
        bad[9] = 1; // data length 472
        bad[12] = 0x55;
        QCOMPARE(reader.read(writeFile(QStringLiteral("b.cam"), bad)),
                 CameraFileStatus::BadDataLength);
        QVERIFY(sameBits(reader.contents().cameras, before.cameras));
        QVERIFY(reader.contents().header == before.header);
    }

    void writingFailsCleanly()
    {
        const QString target = writeFile(QStringLiteral("keep.cam"), QByteArray(300, 'k'));
        CameraFileWriter writer;
        // A path through a regular file cannot be created, even as root.
        QVERIFY(!writer.write(target + QStringLiteral("/x.cam"), MakeCCamHeader(), CameraSet{}));
        QVERIFY(writer.errorString().contains(QStringLiteral("x.cam")));
        // A folder where the file should be.
        QVERIFY(!writer.write(m_dir.path(), MakeCCamHeader(), CameraSet{}));
        QFile kept(target);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray(300, 'k'));
    }

    void overwriteLeavesExactly228Bytes()
    {
        const QString target = writeFile(QStringLiteral("over.cam"), QByteArray(300, 'z'));
        const DefaultTable defaults = SetupDefaults();
        CameraFileWriter writer;
        QVERIFY(writer.write(target, defaults.DefaultHeader(), defaults.DefaultCameras(4)));
        CameraFileReader reader;
        QCOMPARE(reader.read(target), CameraFileStatus::Ok);
        QVERIFY(sameBits(reader.contents().cameras, defaults.DefaultCameras(4)));
    }

    // Many random files of random lengths: each gives exactly the outcome its bytes
    // call for, and a rejected one never changes what was read before.
    void randomFilesNeverMisread()
    {
        QRandomGenerator rng(20261208);
        const QByteArray good = brabhamBytes();
        CameraFileReader reader;
        QCOMPARE(reader.read(writeFile(QStringLiteral("base.cam"), good)), CameraFileStatus::Ok);
        CameraFileContents last = reader.contents();
        const QString path = m_dir.filePath(QStringLiteral("fuzz.cam"));
        for (int round = 0; round < 3000; ++round) {
            QByteArray bytes;
            const int shape = rng.bounded(4);
            if (shape == 0) {
                bytes.resize(rng.bounded(600));
            } else {
                bytes = good;
            }
            for (char &c : bytes)
                c = shape == 3 ? c : char(rng.bounded(256));
            if (shape >= 2)
                bytes.replace(0, 4, "MACC");
            if (shape == 3)
                bytes[8 + rng.bounded(4)] = char(rng.bounded(256));
            writeFile(QStringLiteral("fuzz.cam"), bytes);

            CameraFileStatus expected = CameraFileStatus::Ok;
            if (bytes.size() != 228)
                expected = CameraFileStatus::BadLength;
            else if (bytes.left(4) != "MACC")
                expected = CameraFileStatus::BadSignature;
            else if (bytes.mid(8, 4) != QByteArray::fromHex("d8000000"))
                expected = CameraFileStatus::BadDataLength;

            const CameraFileStatus status = reader.read(path);
            QCOMPARE(status, expected);
            if (status == CameraFileStatus::Ok) {
                QCOMPARE(serializeCameraFile(reader.contents().header, reader.contents().cameras),
                         bytes);
                last = reader.contents();
            } else {
                QVERIFY(sameBits(reader.contents().cameras, last.cameras));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestCameraFile)
#include "test_camerafile.moc"

// The JSON text of camera files: export's exact text, import of versions 1 to 3,
// its refusals and warnings, and round trips bit for bit.

#include "camerajson.h"
#include "jsonnumbers.h"
#include "moddefaultvariablesetup.h"
#include "slidervalues.h"
#include "valuetext.h"

#include <QRandomGenerator>
#include <QtTest>

#include <functional>

namespace {

const char *const Fields[] = {"X", "Y", "Z", "Yaw1", "Pitch1", "Bank", "Zoom", "Yaw2", "Pitch2"};
const char *const Names[] = {"Nose",     "Gearbox",          "Zeppelin",
                             "Roll Bar", "Front Suspension", "Rear Suspension"};

// A document in export's layout, one member a line, every camera the same: X 1,
// Y 2, Z 0.5 and the angles 10 to 60. Camera c's field f is on line 12 + 12c + f.
QStringList documentLines(const QString &version = "3")
{
    QStringList lines = {"{",
                         "    \"format\": \"kestrel-cam\",",
                         "    \"version\": " + version + ",",
                         "    \"header\": {",
                         "        \"signature\": \"MACC\",",
                         "        \"reserved\": 0,",
                         "        \"dataLength\": 216",
                         "    },",
                         "    \"cameras\": ["};
    const char *const values[] = {"1", "2", "0.5", "10", "20", "30", "40", "50", "60"};
    for (int c = 0; c < 6; ++c) {
        lines << "        {" << QStringLiteral("            \"camera\": \"%1\",").arg(Names[c]);
        for (int f = 0; f < 9; ++f)
            lines << QStringLiteral("            \"%1\": %2%3")
                         .arg(Fields[f], values[f], f < 8 ? "," : "");
        lines << (c < 5 ? "        }," : "        }");
    }
    return lines << "    ]"
                 << "}";
}

// Line index (from 0) of camera c's field f.
int fieldLine(int c, int f)
{
    return 11 + 12 * c + f;
}

void setField(QStringList &lines, int c, int f, const QString &text)
{
    lines[fieldLine(c, f)] =
        QStringLiteral("            \"%1\": %2%3").arg(Fields[f], text, f < 8 ? "," : "");
}

QByteArray joined(const QStringList &lines)
{
    return lines.join('\n').toUtf8() + '\n';
}

// The stored bits of the base document's values: 1, 2, 0.5 m and 10 ... 60 degrees,
// each degree value times 3.141592654 / 180 in double, rounded to binary32.
const quint32 BaseBits[] = {0x3f800000, 0x40000000, 0x3f000000, 0x3e32b8c2, 0x3eb2b8c2,
                            0x3f060a92, 0x3f32b8c2, 0x3f5f66f3, 0x3f860a92};

CameraSet filled(quint32 bits)
{
    CameraSet cameras{};
    for (CameraRecord &camera : cameras)
        for (int f = 0; f < 9; ++f)
            camera.setField(f, floatFromBits(bits));
    return cameras;
}

quint32 bitsAt(const CameraSet &cameras, int c, int f)
{
    return floatBits(cameras[c].field(f));
}

} // namespace

class TestCameraJson : public QObject
{
    Q_OBJECT

private slots:
    // Header, key order, indentation and degrees, as fixed bytes; then the forms of
    // values no plain number gives.
    void exportText()
    {
        CameraDocument document{MakeCCamHeader(), filled(0)};
        document.DocumentHeader.Reserved = 7;
        const quint32 nose[] = {0x4014bb06, 0x3e51b2a9, 0x3daa2c41, 0x00000000, 0x3b670dc9,
                                0x80000000, 0x3fae3dab, 0x3fc90fdb, 0xbe000000};
        const quint32 special[] = {0x80000000, 0x7f7fffff, 0x00000001, 0x7fc00001, 0xff800000,
                                   0x80000000, 0x7f7fffff, 0x80000001, 0x404906ab};
        for (int f = 0; f < 9; ++f) {
            document.DocumentCameras[0].setField(f, floatFromBits(nose[f]));
            document.DocumentCameras[1].setField(f, floatFromBits(special[f]));
        }
        const QByteArray text = kestrelcam::exportCameraJson(document);
        QCOMPARE(text.left(text.indexOf("\"Gearbox\"")), QByteArray(R"({
    "format": "kestrel-cam",
    "version": 3,
    "header": {
        "signature": "MACC",
        "reserved": 7,
        "dataLength": 216
    },
    "cameras": [
        {
            "camera": "Nose",
            "X": 2.323915,
            "Y": 0.2047831,
            "Z": 0.08309222,
            "Yaw1": 0,
            "Pitch1": 0.20200211,
            "Bank": -0,
            "Zoom": 77.99428,
            "Yaw2": 90,
            "Pitch2": -7.1619724
        },
        {
            "camera": )"));
        QVERIFY(text.contains(R"("camera": "Gearbox",
            "X": -0,
            "Y": 3.4028235e+38,
            "Z": 1e-45,
            "Yaw1": "0x7fc00001",
            "Pitch1": "0xff800000",
            "Bank": -0,
            "Zoom": 1.9496742e+40,
            "Yaw2": -8e-44,
            "Pitch2": 179.96788
        },)"));
        QVERIFY(text.endsWith("            \"Pitch2\": 0\n        }\n    ]\n}\n"));
    }

    // Random files through export and import, bit for bit: NaN payloads, signed zeros,
    // denormals, infinities, the largest finite values and the hard cases below.
    void roundTrip()
    {
        const quint32 edges[] = {0x80000000, 0x00000001, 0x807fffff, 0x7f7fffff, 0xff7fffff,
                                 0x7f800000, 0xff800000, 0x7fc00001, 0xffbfffff, 0x15ae43fd,
                                 0x00800000, 0x3e000000, 0x47c9d468, 0x001aec15, 0x3fdfd257};
        QRandomGenerator rng(20261209);
        for (int round = 0; round < 3000; ++round) {
            CameraSet cameras{};
            for (int i = 0; i < 54; ++i) {
                const int kind = rng.bounded(4);
                const quint32 bits = kind == 0   ? edges[rng.bounded(15)]
                                     : kind == 1 ? (rng.generate() | 0x7f800000) // NaN or inf
                                                 : rng.generate();
                cameras[i / 9].setField(i % 9, floatFromBits(bits));
            }
            CameraSet back = filled(0xa5a5a5a5);
            QString error;
            // Also after a byte order mark, as some editors save UTF-8.
            const QByteArray mark = round % 2 ? "\xef\xbb\xbf" : "";
            QVERIFY2(kestrelcam::importCameraJson(
                         mark + kestrelcam::exportCameraJson({MakeCCamHeader(), cameras}), &back,
                         &error),
                     qPrintable(error));
            QVERIFY(sameBits(back, cameras));
        }
    }

    // Angles whose degrees text is hard to find: the shortest text is long, or its
    // product lands near a binary32 halfway point. Each row's text is the shortest
    // decimal whose double, times 3.141592654 / 180, rounds to the bits.
    void hardAngles_data()
    {
        QTest::addColumn<quint32>("bits");
        QTest::addColumn<QByteArray>("degrees");
        QTest::newRow("-0.125, a power of two") << 0xbe000000u << QByteArray("-7.1619724");
        QTest::newRow("smallest denormal") << 0x00000001u << QByteArray("8e-44");
        QTest::newRow("largest finite") << 0x7f7fffffu << QByteArray("1.9496742e+40");
        QTest::newRow("90 degrees") << 0x3fc90fdbu << QByteArray("90");
        // The editor's 77.99 as it shows it; the value one step up, which version 2
        // wrote as 77.99, as long as it must be to stay off the editor's positions.
        QTest::newRow("the editor's 77.99") << 0x3fae3b38u << QByteArray("77.99");
        QTest::newRow("77.99 of version 2") << 0x3fae3b39u << QByteArray("77.990003");
        QTest::newRow("70 radians") << 0x428c0000u << QByteArray("4010.7046");
        // Nine digits, the most any binary32 needs (found by the check of all of them).
        QTest::newRow("nine digits") << 0x3fdfd257u << QByteArray("100.187776");
        QTest::newRow("nine digits, another") << 0x3fe0aae0u << QByteArray("100.566394");
        // Products one double step from a binary32 halfway point: the nearest of all.
        QTest::newRow("halfway, whole") << 0x47c9d468u << QByteArray("5920763");
        QTest::newRow("halfway, small") << 0x0852128au << QByteArray("3.622031e-32");
        QTest::newRow("halfway, 8 digits") << 0x2063ef00u << QByteArray("1.1061939e-17");
        QTest::newRow("halfway, large") << 0x54a1cb94u << QByteArray("3.185211e+14");
        QTest::newRow("halfway, trailing zeros") << 0x4dd648a0u << QByteArray("25747890000");
        QTest::newRow("halfway, fraction") << 0x463a9343u << QByteArray("684158.3");
        QTest::newRow("halfway, in range") << 0x416325bfu << QByteArray("813.4119");
        QTest::newRow("halfway, denormal") << 0x001aec15u << QByteArray("1.416588e-37");
        QTest::newRow("halfway, near the top") << 0x7b80698du << QByteArray("7.640447e+37");
    }
    void hardAngles()
    {
        QFETCH(quint32, bits);
        QFETCH(QByteArray, degrees);
        for (const bool negative : {false, true}) {
            const quint32 signedBits = bits ^ (negative ? 0x80000000u : 0);
            QByteArray text = degrees;
            if (negative)
                text = text.startsWith('-') ? text.mid(1) : '-' + text;
            QStringList lines = documentLines();
            setField(lines, 3, 8, text);
            CameraSet cameras{};
            QString error;
            QVERIFY2(kestrelcam::importCameraJson(joined(lines), &cameras, &error),
                     qPrintable(error));
            QCOMPARE(bitsAt(cameras, 3, 8), signedBits);
            const QByteArray exported = kestrelcam::exportCameraJson({MakeCCamHeader(), cameras});
            QVERIFY2(exported.contains("\"Pitch2\": " + text +
                                       "\n        },\n        {\n"
                                       "            \"camera\": \"Front Suspension\""),
                     exported.constData());
        }
    }

    // Numbers as import reads them, in each version and unit: -0 keeps its sign, a
    // whole number is rounded once, degrees are multiplied in double.
    void importNumbers_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint32>("bits");
        const auto rows = [](const char *name, int field, const QString &text, quint32 bits) {
            for (const char *version : {"1", "2", "3"})
                QTest::addRow("%s, v%s, %s", name, version, Fields[field])
                    << QString(version) << field << text << bits;
        };
        for (const int field : {0, 6}) {
            rows("-0", field, "-0", 0x80000000);
            rows("-0.0", field, "-0.0", 0x80000000);
            rows("-1e-50", field, "-1e-50", 0x80000000);
            rows("-1e-400", field, "-1e-400", 0x80000000);
            rows("1e-400", field, "1e-400", 0);
            rows("0x string", field, "\"0x7FC00001\"", 0x7fc00001);
        }
        rows("metres", 2, "2.323915", 0x4014bb06);
        rows("2^24 + 1, to even", 1, "16777217", 0x4b800000);
        // 2^60 + 2^36 + 1: through a double it would round onto the halfway point first.
        rows("beyond a double's digits", 0, "1152921573326323713", 0x5d800001);
        rows("just below the infinite half", 0, "-3.4028235677973e+38", 0xff7fffff);
        QTest::newRow("radians, v1") << "1" << 6 << "1.361257" << 0x3fae3dabu;
        QTest::newRow("70 means radians in v1") << "1" << 6 << "70" << 0x428c0000u;
        // Version 2 reads every angle through the factor alone, one rounding: its
        // 77.99 keeps the bits it always had, one step from the editor's.
        QTest::newRow("77.99, v2") << "2" << 6 << "77.99" << 0x3fae3b39u;
        QTest::newRow("90 degrees") << "2" << 3 << "90" << 0x3fc90fdbu;
        QTest::newRow("negative degrees") << "2" << 8 << "-1" << 0xbc8efa35u;
        QTest::newRow("largest, in degrees") << "2" << 5 << "1.9496742e+40" << 0x7f7fffffu;
        // Version 3 reads a slider position of the editor as its Apply stores it,
        // in any spelling, and any other number as version 2 does.
        QTest::newRow("7799e-2, v3") << "3" << 6 << "7799e-2" << 0x3fae3b38u;
        QTest::newRow("77.990, v3") << "3" << 6 << "77.990" << 0x3fae3b38u;
        QTest::newRow("180.01, dragged, not typed") << "3" << 7 << "180.01" << 0x404912b6u;
        QTest::newRow("180.01, v2") << "2" << 7 << "180.01" << 0x404912b7u;
        QTest::newRow("-300.01, beyond the sliders") << "3" << 7 << "-300.01" << 0xc0a78ea4u;
        QTest::newRow("77.995, between positions") << "3" << 6 << "77.995" << 0x3fae3e15u;
    }
    void importNumbers()
    {
        QFETCH(QString, version);
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(quint32, bits);
        QStringList lines = documentLines(version);
        setField(lines, 2, field, text);
        CameraSet cameras{};
        QString error;
        QVERIFY2(kestrelcam::importCameraJson(joined(lines), &cameras, &error), qPrintable(error));
        QCOMPARE(bitsAt(cameras, 2, field), bits);
        QCOMPARE(bitsAt(cameras, 1, field), version != "1" || field < 3
                                                ? BaseBits[field]
                                                : floatBits(float(10 * (field - 2))));
    }

    // A file the editor made exports each angle as its value display shows it, at
    // every position of every angle slider, and imports back bit for bit; a typed
    // value imports as set (the editor's typed entry and Apply) stores it.
    void editorValues()
    {
        for (int field = 3; field < 9; ++field) {
            for (int position = sliderSpec(field).minimum; position <= sliderSpec(field).maximum;
                 ++position) {
                const float stored = fieldForPosition(field, position);
                const QString text = kestrelcam::jsonValueText(field, stored);
                if (text != kestrelcam::displayText(field, position))
                    QFAIL(qPrintable(QStringLiteral("field %1, position %2: %3")
                                         .arg(field)
                                         .arg(position)
                                         .arg(text)));
                const kestrelcam::StoredNumber back =
                    kestrelcam::angleFromText(text.toStdString(), field);
                QCOMPARE(floatBits(back.value), floatBits(stored));
            }
        }

        // The Brabham cameras after Apply, through a whole document.
        CameraSet cameras = SetupDefaults().DefaultCameras(0);
        for (CameraRecord &camera : cameras)
            for (int f = 0; f < 9; ++f)
                camera.setField(f, fieldForPosition(f, positionForField(f, camera.field(f))));
        const QByteArray json = kestrelcam::exportCameraJson({MakeCCamHeader(), cameras});
        QVERIFY(json.contains("\"Zoom\": 77.99,\n            \"Yaw2\": 0,\n"
                              "            \"Pitch2\": -7.16\n"));
        CameraSet back{};
        QString error;
        QVERIFY2(kestrelcam::importCameraJson(json, &back, &error), qPrintable(error));
        QVERIFY(sameBits(back, cameras));

        const TypedEntryResult typed = evaluateTypedEntry(6, "77.99");
        QStringList lines = documentLines();
        setField(lines, 0, 6, "77.99");
        QVERIFY(kestrelcam::importCameraJson(joined(lines), &back, &error));
        QCOMPARE(bitsAt(back, 0, 6), floatBits(fieldForPosition(6, typed.position)));
    }

    // A version-1 document as the earlier export wrote it: sorted keys, radians.
    void versionOne()
    {
        QByteArray json = "{\"cameras\": [";
        for (int c = 0; c < 6; ++c)
            json += QByteArray(c ? "," : "") + "{\"Bank\": 0, \"Pitch1\": 0.003525602, " +
                    "\"Pitch2\": -0.125, \"X\": 2.323915, \"Y\": \"0x80000000\", " +
                    "\"Yaw1\": 3.141032, \"Yaw2\": 0, \"Z\": 7.038531e-26, " +
                    "\"Zoom\": 1.361257, \"camera\": \"" + Names[c] + "\"}";
        json += "], \"format\": \"kestrel-cam\", \"header\": {\"dataLength\": 216, \"reserved\": "
                "0, \"signature\": \"MACC\"}, \"version\": 1}";
        const quint32 expected[] = {0x4014bb06, 0x80000000, 0x15ae43fd, 0x404906ab, 0x3b670dc9,
                                    0,          0x3fae3dab, 0,          0xbe000000};
        CameraSet cameras{};
        QString error;
        QStringList warnings;
        QVERIFY2(kestrelcam::importCameraJson(json, &cameras, &error, &warnings),
                 qPrintable(error));
        for (int c = 0; c < 6; ++c)
            for (int f = 0; f < 9; ++f)
                QCOMPARE(bitsAt(cameras, c, f), expected[f]);
        QCOMPARE(warnings, QStringList());
    }

    // Values no slider holds import, each with one warning line in check's words.
    void warnings()
    {
        QStringList lines = documentLines();
        setField(lines, 0, 0, "130");
        setField(lines, 1, 6, "-1");
        setField(lines, 2, 3, "\"0x7fc00001\"");
        setField(lines, 3, 8, "\"0xff800000\"");
        setField(lines, 4, 2, "-0.404");
        setField(lines, 5, 3, "181.01");
        setField(lines, 5, 4, "181"); // the slider's end: held
        CameraSet cameras{};
        QString error;
        QStringList warnings;
        QVERIFY2(kestrelcam::importCameraJson(joined(lines), &cameras, &error, &warnings),
                 qPrintable(error));
        QCOMPARE(warnings,
                 QStringList({"cameras[0].X: 130 m is beyond the slider's range (-120 to 120 m); "
                              "the editor shows 120",
                              "cameras[1].Zoom: -1 degrees is beyond the slider's range (0 to "
                              "180 degrees); the editor shows 0",
                              "cameras[2].Yaw1: nan(0x7fc00001) is not a number; the editor "
                              "shows 0",
                              "cameras[3].Pitch2: -inf degrees is beyond the slider's range (-300 "
                              "to 300 degrees); the editor shows -300",
                              "cameras[4].Z: -0.404 m is beyond the slider's range (-0.4 to 120 "
                              "m); the editor shows -0.4",
                              "cameras[5].Yaw1: 181.01 degrees is beyond the slider's range (-181 "
                              "to 181 degrees); the editor shows 181"}));
        QCOMPARE(bitsAt(cameras, 0, 0), 0x43020000u); // imported as written
        warnings.clear();
        QVERIFY(kestrelcam::importCameraJson(joined(documentLines()), &cameras, &error, &warnings));
        QCOMPARE(warnings, QStringList());
    }

    // A number beyond a double where any number will do, or one that is small after all.
    void numbersBeyondDouble()
    {
        QStringList lines = documentLines();
        lines[5] = "        \"reserved\": 1e400,";
        setField(lines, 0, 0, "1" + QString(320, '0') + "e-320");
        CameraSet cameras{};
        QString error;
        QVERIFY2(kestrelcam::importCameraJson(joined(lines), &cameras, &error, nullptr),
                 qPrintable(error));
        QCOMPARE(cameras[0].X, 1.0f);
    }

    // Every refusal with its one line, and the cameras left as they were.
    void refusals_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("error");
        const auto edited = [](const std::function<void(QStringList &)> &edit) {
            QStringList lines = documentLines();
            edit(lines);
            return joined(lines);
        };
        const auto field = [&](int c, int f, const QString &text) {
            return edited([=](QStringList &lines) { setField(lines, c, f, text); });
        };
        const auto line = [&](int at, const QString &text) {
            return edited([=](QStringList &lines) { lines[at] = text; });
        };
        const auto inserted = [&](int at, const QString &text) {
            return edited([=](QStringList &lines) { lines.insert(at, text); });
        };

        QTest::newRow("duplicate field") << inserted(12, "            \"X\": 99,")
                                         << "cameras[0].X: duplicate key on line 13 (first on "
                                            "line 12)";
        QTest::newRow("duplicate through an escape")
            << inserted(24, "            \"\\u0058\": 3,")
            << "cameras[1].X: duplicate key on line 25 (first on line 24)";
        QTest::newRow("duplicate version") << inserted(3, "    \"version\": 2,")
                                           << "version: duplicate key on line 4 (first on line 3)";
        QTest::newRow("duplicate in the header")
            << inserted(6, "        \"reserved\": 1,")
            << "header.reserved: duplicate key on line 7 (first on line 6)";
        QTest::newRow("duplicate on one line")
            << line(2, "    \"version\": 2, \"version\": 2,")
            << "version: duplicate key on line 3 (first on line 3)";
        // A key is text of the document, never a pattern of the message.
        QTest::newRow("duplicate key holding %1") << edited([](QStringList &lines) {
            lines.insert(3, "    \"%1%2\": 0,");
            lines.insert(3, "    \"%1%2\": 1,");
        }) << "%1%2: duplicate key on line 5 (first on line 4)";

        const QString beyond = "beyond the largest binary32 value";
        QTest::newRow("1e400 degrees") << field(2, 6, "1e400") << "cameras[2].Zoom: " + beyond;
        QTest::newRow("-1e400 m") << field(4, 1, "-1e400") << "cameras[4].Y: " + beyond;
        QTest::newRow("3.5e38 m") << field(0, 0, "3.5e38") << "cameras[0].X: " + beyond;
        QTest::newRow("2e40 degrees") << field(5, 8, "2e40") << "cameras[5].Pitch2: " + beyond;
        // A number beyond a double is judged by its field's rules, where it stands.
        QTest::newRow("1e400 as the version")
            << line(2, "    \"version\": 1e400,") << "version: must be the number 1, 2 or 3";
        QTest::newRow("1e400 at the top") << QByteArray("1e400") << "not a JSON object";
        QTest::newRow("1e400 as a camera's name")
            << line(10, "            \"camera\": 1e400,") << "cameras[0].camera: must be \"Nose\"";
        QTest::newRow("syntax error after 1e400") << field(0, 0, "1e400,") // column unmoved
                                                  << "line 12, column 24: missing a name for "
                                                     "object member";

        // Standard JSON only, each error at its line and column (in bytes).
        QTest::newRow("syntax error") << line(2, "    \"version\": 2,,")
                                      << "line 3, column 18: missing a name for object member";
        QTest::newRow("1.") << field(0, 0, "1.")
                            << "line 12, column 20: miss fraction part in number";
        QTest::newRow(".5") << field(0, 0, ".5") << "line 12, column 18: invalid value";
        QTest::newRow("truncated") << joined(documentLines().mid(0, 81))
                                   << "line 82, column 1: missing a comma or ']' after an array "
                                      "element";
        QTest::newRow("invalid UTF-8") << joined(documentLines()).replace("kestrel-", "kestrel\xff")
                                       << "line 2, column 23: invalid encoding in string";
        QTest::newRow("zero byte after it") << joined(documentLines()) + '\0'
                                            << "line 84, column 1: the document root must not be "
                                               "followed by other values";
        QTest::newRow("empty") << QByteArray() << "line 1, column 1: the document is empty";
        QTest::newRow("10,000 deep, unclosed")
            << QByteArray(10000, '[') << "line 1, column 10001: invalid value";
        QTest::newRow("10,000 deep")
            << field(1, 2, QByteArray(10000, '[') + QByteArray(10000, ']'))
            << "cameras[1].Z: not a number or a \"0x\" string of eight hex digits";

        QTest::newRow("not an object") << QByteArray("[]") << "not a JSON object";
        QTest::newRow("version 4")
            << line(2, "    \"version\": 4,") << "version: must be the number 1, 2 or 3";
        QTest::newRow("version as text")
            << line(2, "    \"version\": \"2\",") << "version: must be the number 1, 2 or 3";
        QTest::newRow("no version") << edited([](QStringList &l) { l.removeAt(2); })
                                    << "version: must be the number 1, 2 or 3";
        QTest::newRow("format") << line(1, "    \"format\": \"kestrel\",")
                                << "format: must be \"kestrel-cam\"";
        QTest::newRow("other key") << inserted(1, "    \"extra\": 0,") << "extra: unknown key";
        QTest::newRow("empty key") << inserted(1, "    \"\": 0,") << "\"\": unknown key";
        QTest::newRow("header not an object") << edited([](QStringList &l) {
            l[3] = "    \"header\": 1,";
            l.erase(l.begin() + 4, l.begin() + 8);
        }) << "header: not an object";
        QTest::newRow("header key")
            << inserted(5, "        \"size\": 228,") << "header.size: unknown key";
        QTest::newRow("signature")
            << line(4, "        \"signature\": \"MACD\",") << "header.signature: must be \"MACC\"";
        QTest::newRow("data length") << line(6, "        \"dataLength\": 215")
                                     << "header.dataLength: must be the number 216";
        QTest::newRow("no cameras") << edited([](QStringList &l) {
            l = l.mid(0, 7) + QStringList{"    }", "}"};
        }) << "cameras: missing or not an array";
        QTest::newRow("cameras not an array") << edited([](QStringList &l) {
            l = l.mid(0, 7) + QStringList{"    },", "    \"cameras\": {}", "}"};
        }) << "cameras: missing or not an array";
        QTest::newRow("five cameras") << edited([](QStringList &l) {
            l.erase(l.begin() + 69, l.begin() + 81);
            l[68] = "        }";
        }) << "cameras: holds 5 cameras, not 6";
        QTest::newRow("camera not an object") << edited([](QStringList &l) {
            l[45] = "        7,";
            l.erase(l.begin() + 46, l.begin() + 57);
        }) << "cameras[3]: not an object";
        QTest::newRow("names out of order") << line(22, "            \"camera\": \"Zeppelin\",")
                                            << "cameras[1].camera: must be \"Gearbox\"";
        QTest::newRow("missing field")
            << edited([](QStringList &l) { l.removeAt(fieldLine(2, 6)); })
            << "cameras[2].Zoom: missing";
        QTest::newRow("unknown field")
            << inserted(12, "            \"Roll\": 0,") << "cameras[0].Roll: unknown key";
        const QString notNumber = "not a number or a \"0x\" string of eight hex digits";
        QTest::newRow("short hex")
            << field(0, 8, "\"0x7fc0001\"") << "cameras[0].Pitch2: " + notNumber;
        QTest::newRow("null") << field(0, 8, "null") << "cameras[0].Pitch2: " + notNumber;
        QTest::newRow("over 1 MiB") << QByteArray(1024 * 1024 + 1, ' ') << "larger than 1 MiB";
    }
    void refusals()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, error);
        CameraSet cameras = filled(0xa5a5a5a5);
        QString message;
        QStringList warnings{"before"};
        QVERIFY(!kestrelcam::importCameraJson(json, &cameras, &message, &warnings));
        QCOMPARE(message, error);
        QVERIFY(sameBits(cameras, filled(0xa5a5a5a5)));
        QCOMPARE(warnings, QStringList{"before"});
    }
};

QTEST_GUILESS_MAIN(TestCameraJson)
#include "test_camerajson.moc"

#include "camerajson.h"

#include "cameranames.h"
#include "jsonnumbers.h"
#include "jsonscan.h"
#include "jsonwriter.h"
#include "sliderrange.h"
#include "slidervalues.h"
#include "valuetext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <initializer_list>
#include <optional>

namespace kestrelcam {

namespace {

const QString FormatKey = QStringLiteral("format");
const QString VersionKey = QStringLiteral("version");
const QString HeaderKey = QStringLiteral("header");
const QString CamerasKey = QStringLiteral("cameras");
const QString CameraKey = QStringLiteral("camera");
const QString SignatureKey = QStringLiteral("signature");
const QString ReservedKey = QStringLiteral("reserved");
const QString DataLengthKey = QStringLiteral("dataLength");
const QString FormatName = QStringLiteral("kestrel-cam");
constexpr int RadiansVersion = 1;
constexpr int DegreesVersion = 2;

// A well-formed "0x" string: "0x" and exactly eight hex digits, either case.
std::optional<float> floatFromBitsText(const QString &text)
{
    if (text.size() != 10 || !text.startsWith(QLatin1String("0x")))
        return std::nullopt;
    quint32 bits = 0;
    for (qsizetype i = 2; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        quint32 digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            return std::nullopt;
        bits = bits << 4 | digit;
    }
    return floatFromBits(bits);
}

bool isFieldKey(const QString &key)
{
    return std::any_of(FieldJsonNames.begin(), FieldJsonNames.end(),
                       [&key](const char *name) { return key == QLatin1String(name); });
}

// Where a document went wrong: the place in it and why.
struct Failure
{
    QString place;
    QString reason;
};

// What is read from the document beyond QJsonDocument's values.
struct Reading
{
    const JsonScan &scan;
    int version;
};

std::optional<float> floatFromJson(const QJsonValue &value, int field, const QString &place,
                                   const Reading &reading, Failure *failure)
{
    if (value.isString()) {
        if (const std::optional<float> f = floatFromBitsText(value.toString()))
            return f;
    } else if (value.isDouble()) {
        // The number as written, not as QJsonDocument holds it (which drops the sign
        // of a zero and rounds through a double).
        const QByteArray text = reading.scan.numbers.value(place);
        const std::string_view number(text.constData(), std::size_t(text.size()));
        const StoredNumber stored =
            reading.version == DegreesVersion && !sliderSpec(field).isPosition()
                ? radiansFromDegreesText(number)
                : storedFromText(number);
        if (stored.status == StoredNumber::Ok)
            return stored.value;
        if (stored.status == StoredNumber::TooLarge) {
            *failure = {place, QStringLiteral("beyond the largest binary32 value")};
            return std::nullopt;
        }
    }
    *failure = {place, QStringLiteral("not a number or a \"0x\" string of eight hex digits")};
    return std::nullopt;
}

// The first key of object that is not one of allowed.
std::optional<QString> unknownKey(const QJsonObject &object, std::initializer_list<QString> allowed)
{
    for (const QString &key : object.keys()) {
        if (std::find(allowed.begin(), allowed.end(), key) == allowed.end())
            return key;
    }
    return std::nullopt;
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

std::optional<Failure> checkHeader(const QJsonValue &value)
{
    if (!value.isObject())
        return Failure{HeaderKey, QStringLiteral("not an object")};
    const QJsonObject header = value.toObject();
    if (const auto unknown = unknownKey(header, {SignatureKey, ReservedKey, DataLengthKey}))
        return Failure{HeaderKey + QLatin1Char('.') + keyText(*unknown),
                       QStringLiteral("unknown key")};
    if (header.value(SignatureKey) != QJsonValue(QStringLiteral("MACC")))
        return Failure{HeaderKey + QLatin1Char('.') + SignatureKey,
                       QStringLiteral("must be \"MACC\"")};
    const QJsonValue dataLength = header.value(DataLengthKey);
    if (!dataLength.isDouble() || dataLength.toDouble() != CameraDataLength)
        return Failure{HeaderKey + QLatin1Char('.') + DataLengthKey,
                       QStringLiteral("must be the number %1").arg(CameraDataLength)};
    return std::nullopt;
}

std::optional<Failure> readCameras(const QJsonValue &value, const Reading &reading,
                                   CameraSet *cameras)
{
    if (!value.isArray())
        return Failure{CamerasKey, QStringLiteral("missing or not an array")};
    const QJsonArray array = value.toArray();
    if (array.size() != CameraCount)
        return Failure{
            CamerasKey,
            QStringLiteral("holds %1 cameras, not %2").arg(array.size()).arg(CameraCount)};

    for (int camera = 0; camera < CameraCount; ++camera) {
        const QString place = QStringLiteral("%1[%2]").arg(CamerasKey).arg(camera);
        if (!array[camera].isObject())
            return Failure{place, QStringLiteral("not an object")};
        const QJsonObject object = array[camera].toObject();
        for (const QString &key : object.keys()) {
            if (key != CameraKey && !isFieldKey(key))
                return Failure{place + QLatin1Char('.') + keyText(key),
                               QStringLiteral("unknown key")};
        }
        const QString name = QLatin1String(CameraJsonNames[camera]);
        if (object.value(CameraKey) != QJsonValue(name))
            return Failure{place + QLatin1Char('.') + CameraKey,
                           QStringLiteral("must be %1").arg(quoted(name))};
        for (int field = 0; field < CameraRecord::FieldCount; ++field) {
            const QString key = QLatin1String(FieldJsonNames[field]);
            const QString fieldPlace = place + QLatin1Char('.') + key;
            if (!object.contains(key))
                return Failure{fieldPlace, QStringLiteral("missing")};
            Failure failure;
            const std::optional<float> f =
                floatFromJson(object.value(key), field, fieldPlace, reading, &failure);
            if (!f)
                return failure;
            (*cameras)[camera].setField(field, *f);
        }
    }
    return std::nullopt;
}

// QJsonDocument refuses a number no double holds; JSON allows it, and its place is
// told better by the reading of the value: such numbers become a plain 0 of the same
// length, so that offsets, lines and columns stay as they were.
QByteArray withReadableNumbers(const QByteArray &json, const JsonScan &scan)
{
    QByteArray readable = json;
    for (const auto &[offset, length] : scan.unreadable)
        readable.replace(offset, length, '0' + QByteArray(length - 1, ' '));
    return readable;
}

} // namespace

QByteArray exportCameraJson(const CameraDocument &document)
{
    const CameraFileHeader &header = document.DocumentHeader;
    JsonWriter json;
    json.beginObject();
    json.string("format", FormatName);
    json.number("version", std::to_string(DegreesVersion));
    json.beginObject("header");
    json.string("signature", QString::fromLatin1(header.Signature.data(), 4));
    json.number("reserved", std::to_string(header.Reserved));
    json.number("dataLength", std::to_string(header.DataLength));
    json.end();
    json.beginArray("cameras");
    for (int camera = 0; camera < CameraCount; ++camera) {
        json.beginObject();
        json.string("camera", QLatin1String(CameraJsonNames[camera]));
        for (int field = 0; field < CameraRecord::FieldCount; ++field) {
            const float value = document.DocumentCameras[camera].field(field);
            const std::optional<std::string> number =
                sliderSpec(field).isPosition() ? storedNumberText(value) : degreesNumberText(value);
            if (number)
                json.number(FieldJsonNames[field], *number);
            else
                json.string(FieldJsonNames[field], bitsText(value));
        }
        json.end();
    }
    json.end();
    json.end();
    return json.text();
}

bool importCameraJson(const QByteArray &json, CameraSet *cameras, QString *error,
                      QStringList *warnings)
{
    const auto fail = [error](const Failure &failure) {
        *error = failure.place.isEmpty() ? failure.reason
                                         : failure.place + QStringLiteral(": ") + failure.reason;
        return false;
    };
    const auto failAt = [&json, &fail](qsizetype offset, const QString &reason) {
        const auto [line, column] = lineAndColumn(json, offset);
        return fail({QStringLiteral("line %1, column %2").arg(line).arg(column), reason});
    };
    if (json.size() > MaxJsonSize)
        return fail({QString(), QStringLiteral("larger than 1 MiB")});

    const JsonScan scan = scanJson(json);
    QJsonParseError parseError;
    const QJsonDocument document =
        QJsonDocument::fromJson(withReadableNumbers(json, scan), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return failAt(parseError.offset, parseError.errorString());
    if (!scan.wellFormed) // read by QJsonDocument, yet not as it reads: never seen
        return failAt(scan.errorOffset, QStringLiteral("not read as JSON"));
    if (scan.duplicate)
        return fail({scan.duplicate->place, QStringLiteral("duplicate key on line %1 (first on "
                                                           "line %2)")
                                                .arg(scan.duplicate->line)
                                                .arg(scan.duplicate->firstLine)});
    if (!document.isObject())
        return fail({QString(), QStringLiteral("not a JSON object")});

    const QJsonObject top = document.object();
    if (const auto unknown = unknownKey(top, {FormatKey, VersionKey, HeaderKey, CamerasKey}))
        return fail({keyText(*unknown), QStringLiteral("unknown key")});
    if (top.value(FormatKey) != QJsonValue(FormatName))
        return fail({FormatKey, QStringLiteral("must be %1").arg(quoted(FormatName))});
    const QJsonValue version = top.value(VersionKey);
    if (!version.isDouble() ||
        (version.toDouble() != RadiansVersion && version.toDouble() != DegreesVersion))
        return fail({VersionKey, QStringLiteral("must be the number %1 or %2")
                                     .arg(RadiansVersion)
                                     .arg(DegreesVersion)});
    if (top.contains(HeaderKey)) {
        if (const std::optional<Failure> failure = checkHeader(top.value(HeaderKey)))
            return fail(*failure);
    }
    CameraSet read{};
    const Reading reading{scan, version.toInt()};
    if (const std::optional<Failure> failure = readCameras(top.value(CamerasKey), reading, &read))
        return fail(*failure);
    *cameras = read;

    if (warnings) {
        for (int camera = 0; camera < CameraCount; ++camera) {
            for (int field = 0; field < CameraRecord::FieldCount; ++field) {
                const float value = read[camera].field(field);
                if (!sliderHolds(field, value))
                    warnings->append(QStringLiteral("%1[%2].%3: ")
                                         .arg(CamerasKey)
                                         .arg(camera)
                                         .arg(QLatin1String(FieldJsonNames[field])) +
                                     unheldValueText(field, value));
            }
        }
    }
    return true;
}

} // namespace kestrelcam

#include "camerajson.h"

#include "cameranames.h"
#include "valuetext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
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
constexpr int FormatVersion = 1;

// Halfway between the largest finite binary32 and 2^128: a number this large or
// larger rounds to an infinity; below it, down to FLT_MAX at most.
constexpr double FloatOverflowThreshold = 0x1.ffffffp127;

QJsonValue jsonValue(float value)
{
    if (!std::isfinite(value) || (value == 0 && std::signbit(value)))
        return bitsText(value);
    // The shortest text of the float, read as a double: QJsonDocument writes that
    // double as the same short text, and its nearest binary32 is the stored value.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    double widened = 0;
    std::from_chars(buffer, written.ptr, widened);
    // For two values of all binary32 (+-7.038531e-26, bits 0x15ae43fd) that double
    // is halfway between two binary32 values and would round away on import: write
    // the value's exact double instead (more digits, the same binary32).
    if (static_cast<float>(widened) != value)
        widened = static_cast<double>(value);
    return widened;
}

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

std::optional<float> floatFromJson(const QJsonValue &value, const QString &place, Failure *failure)
{
    if (value.isString()) {
        if (const std::optional<float> f = floatFromBitsText(value.toString()))
            return f;
    } else if (value.isDouble()) {
        // A whole number is converted from the integer, rounded once.
        const qint64 whole = value.toInteger(0);
        if (whole == value.toInteger(1))
            return static_cast<float>(whole);
        const double number = value.toDouble();
        if (std::fabs(number) >= FloatOverflowThreshold) {
            *failure = {place, QStringLiteral("beyond the largest binary32 value")};
            return std::nullopt;
        }
        if (std::fabs(number) > FLT_MAX)
            return std::copysign(FLT_MAX, number);
        return static_cast<float>(number);
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

// A key as a place names it: as written when it is plain printable ASCII, else in
// JSON's quotes and escapes, so that a message stays on one line.
QString keyText(const QString &key)
{
    const bool plain = std::all_of(key.begin(), key.end(), [](QChar c) {
        return c.unicode() >= 0x20 && c.unicode() < 0x7f && c != QLatin1Char('"');
    });
    if (plain && !key.isEmpty())
        return key;
    const QByteArray json = QJsonDocument(QJsonArray{key}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
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

std::optional<Failure> readCameras(const QJsonValue &value, CameraSet *cameras)
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
            const std::optional<float> f = floatFromJson(object.value(key), fieldPlace, &failure);
            if (!f)
                return failure;
            (*cameras)[camera].setField(field, *f);
        }
    }
    return std::nullopt;
}

} // namespace

QByteArray exportCameraJson(const CameraDocument &document)
{
    const CameraFileHeader &header = document.DocumentHeader;
    QJsonArray cameras;
    for (int camera = 0; camera < CameraCount; ++camera) {
        QJsonObject object;
        object.insert(CameraKey, QLatin1String(CameraJsonNames[camera]));
        for (int field = 0; field < CameraRecord::FieldCount; ++field)
            object.insert(QLatin1String(FieldJsonNames[field]),
                          jsonValue(document.DocumentCameras[camera].field(field)));
        cameras.append(object);
    }
    const QJsonObject top{
        {FormatKey, FormatName},
        {VersionKey, FormatVersion},
        {HeaderKey, QJsonObject{{SignatureKey, QString::fromLatin1(header.Signature.data(), 4)},
                                {ReservedKey, header.Reserved},
                                {DataLengthKey, header.DataLength}}},
        {CamerasKey, cameras}};
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

bool importCameraJson(const QByteArray &json, CameraSet *cameras, QString *error)
{
    const auto fail = [error](const Failure &failure) {
        *error = failure.place.isEmpty() ? failure.reason
                                         : failure.place + QStringLiteral(": ") + failure.reason;
        return false;
    };
    if (json.size() > MaxJsonSize)
        return fail({QString(), QStringLiteral("larger than 1 MiB")});

    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        // The offset counts bytes; lines and columns are counted from 1.
        const qsizetype offset = std::clamp<qsizetype>(parseError.offset, 0, json.size());
        const QByteArray before = json.left(offset);
        const qsizetype line = before.count('\n') + 1;
        const qsizetype column = offset - (before.lastIndexOf('\n') + 1) + 1;
        return fail(
            {QStringLiteral("line %1, column %2").arg(line).arg(column), parseError.errorString()});
    }
    if (!document.isObject())
        return fail({QString(), QStringLiteral("not a JSON object")});

    const QJsonObject top = document.object();
    if (const auto unknown = unknownKey(top, {FormatKey, VersionKey, HeaderKey, CamerasKey}))
        return fail({keyText(*unknown), QStringLiteral("unknown key")});
    if (top.value(FormatKey) != QJsonValue(FormatName))
        return fail({FormatKey, QStringLiteral("must be %1").arg(quoted(FormatName))});
    const QJsonValue version = top.value(VersionKey);
    if (!version.isDouble() || version.toDouble() != FormatVersion)
        return fail({VersionKey, QStringLiteral("must be the number %1").arg(FormatVersion)});
    if (top.contains(HeaderKey)) {
        if (const std::optional<Failure> failure = checkHeader(top.value(HeaderKey)))
            return fail(*failure);
    }
    CameraSet read{};
    if (const std::optional<Failure> failure = readCameras(top.value(CamerasKey), &read))
        return fail(*failure);
    *cameras = read;
    return true;
}

} // namespace kestrelcam

#include "camerajson.h"

#include "cameranames.h"
#include "jsonnumbers.h"
#include "jsontree.h"
#include "sliderrange.h"
#include "slidervalues.h"
#include "valuetext.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrelcam {

namespace {

using JsonValue = rapidjson::Value;
using rapidjson::SizeType;

constexpr const char *FormatName = "kestrel-cam";
constexpr int RadiansVersion = 1;
constexpr int DegreesVersion = 2;       // every angle through the factor
constexpr int EditorDegreesVersion = 3; // hundredths as the editor stores them

const JsonValue *member(const JsonValue &object, const char *key)
{
    const auto found = object.FindMember(key);
    return found == object.MemberEnd() ? nullptr : &found->value;
}

bool isString(const JsonValue *value, std::string_view expected)
{
    return value && value->IsString() &&
           std::string_view(value->GetString(), value->GetStringLength()) == expected;
}

// The camera rules, on the tree the reader made. Each check that fails says where
// and why in `error` ("cameras[2].Zoom: missing").
class CameraRules
{
public:
    explicit CameraRules(const std::vector<std::string> &numbers) : m_numbers(numbers) {}

    QString error;

    bool readDocument(const JsonValue &top, CameraSet *cameras)
    {
        if (!top.IsObject())
            return fail({}, "not a JSON object");
        if (!knownKeys(top, {}, {"format", "version", "header", "cameras"}))
            return false;
        if (!isString(member(top, "format"), FormatName))
            return fail("format", QStringLiteral("must be \"%1\"").arg(FormatName));
        const std::optional<double> version = number(member(top, "version"));
        if (version != RadiansVersion && version != DegreesVersion &&
            version != EditorDegreesVersion)
            return fail("version", QStringLiteral("must be the number %1, %2 or %3")
                                       .arg(RadiansVersion)
                                       .arg(DegreesVersion)
                                       .arg(EditorDegreesVersion));
        const JsonValue *header = member(top, "header");
        if (header && !header->IsObject())
            return fail("header", "not an object");
        if (header && !knownKeys(*header, "header.", {"signature", "reserved", "dataLength"}))
            return false;
        if (header && !isString(member(*header, "signature"), "MACC"))
            return fail("header.signature", "must be \"MACC\"");
        if (header && number(member(*header, "dataLength")) != CameraDataLength)
            return fail("header.dataLength",
                        QStringLiteral("must be the number %1").arg(CameraDataLength));

        const JsonValue *array = member(top, "cameras");
        if (!array || !array->IsArray())
            return fail("cameras", "missing or not an array");
        if (array->Size() != CameraCount)
            return fail(
                "cameras",
                QStringLiteral("holds %1 cameras, not %2").arg(array->Size()).arg(CameraCount));
        QStringList keys{QStringLiteral("camera")};
        for (const char *name : FieldJsonNames)
            keys << QLatin1String(name);
        for (int camera = 0; camera < CameraCount; ++camera) {
            const QString place = QStringLiteral("cameras[%1]").arg(camera);
            const JsonValue &object = (*array)[SizeType(camera)];
            if (!object.IsObject())
                return fail(place, "not an object");
            if (!knownKeys(object, place + '.', keys))
                return false;
            const char *name = CameraJsonNames[camera];
            if (!isString(member(object, "camera"), name))
                return fail(place + ".camera", QStringLiteral("must be \"%1\"").arg(name));
            for (int field = 0; field < CameraRecord::FieldCount; ++field) {
                const JsonValue *value = member(object, FieldJsonNames[field]);
                const QString fieldPlace = place + '.' + QLatin1String(FieldJsonNames[field]);
                if (!value)
                    return fail(fieldPlace, "missing");
                const std::optional<float> f = floatFromJson(*value, field, int(*version));
                if (!f)
                    return fail(fieldPlace, m_why);
                (*cameras)[camera].setField(field, *f);
            }
        }
        return true;
    }

private:
    bool fail(const QString &place, const QString &reason)
    {
        error = place.isEmpty() ? reason : place + QStringLiteral(": ") + reason;
        return false;
    }

    // Whether every key of object is one of allowed; if not, fails on the first other.
    bool knownKeys(const JsonValue &object, const QString &place, const QStringList &allowed)
    {
        for (auto m = object.MemberBegin(); m != object.MemberEnd(); ++m) {
            const std::string key(m->name.GetString(), m->name.GetStringLength());
            if (!allowed.contains(QString::fromStdString(key)))
                return fail(place + keyText(key), "unknown key");
        }
        return true;
    }

    // The value of a number (the version, the data length).
    std::optional<double> number(const JsonValue *value) const
    {
        bool ok = false;
        const double number =
            value && value->IsUint()
                ? QByteArray::fromStdString(m_numbers[value->GetUint()]).toDouble(&ok)
                : 0;
        return ok ? std::optional<double>(number) : std::nullopt;
    }

    // A number, or a "0x" string of eight hex digits: the bits.
    std::optional<float> floatFromJson(const JsonValue &value, int field, int version)
    {
        m_why = QStringLiteral("not a number or a \"0x\" string of eight hex digits");
        if (value.IsString() && value.GetStringLength() == 10 &&
            std::string_view(value.GetString(), 2) == "0x") {
            quint32 bits = 0;
            const char *end = value.GetString() + 10;
            const std::from_chars_result read = std::from_chars(end - 8, end, bits, 16);
            if (read.ec == std::errc() && read.ptr == end)
                return floatFromBits(bits);
        } else if (value.IsUint()) {
            const std::string &text = m_numbers[value.GetUint()];
            const StoredNumber stored = sliderSpec(field).isPosition() || version == RadiansVersion
                                            ? storedFromText(text)
                                        : version == DegreesVersion ? radiansFromDegreesText(text)
                                                                    : angleFromText(text, field);
            if (stored.status == StoredNumber::Ok)
                return stored.value;
            if (stored.status == StoredNumber::TooLarge)
                m_why = QStringLiteral("beyond the largest binary32 value");
        }
        return std::nullopt;
    }

    const std::vector<std::string> &m_numbers;
    QString m_why;
};

} // namespace

QByteArray exportCameraJson(const CameraDocument &document)
{
    rapidjson::StringBuffer buffer;
    rapidjson::PrettyWriter<rapidjson::StringBuffer> json(buffer);
    json.SetIndent(' ', 4);
    const auto string = [&json](const char *key, const QString &value) {
        const QByteArray utf8 = value.toUtf8();
        json.Key(key);
        json.String(utf8.constData(), SizeType(utf8.size()));
    };
    // RawValue, not RawNumber: RapidJSON 1.1.0's RawNumber puts the text in quotes.
    const auto number = [&json](const char *key, const std::string &text) {
        json.Key(key);
        json.RawValue(text.data(), text.size(), rapidjson::kNumberType);
    };
    const CameraFileHeader &header = document.DocumentHeader;
    json.StartObject();
    string("format", QLatin1String(FormatName));
    number("version", std::to_string(EditorDegreesVersion));
    json.Key("header");
    json.StartObject();
    string("signature", QString::fromLatin1(header.Signature.data(), 4));
    number("reserved", std::to_string(header.Reserved));
    number("dataLength", std::to_string(header.DataLength));
    json.EndObject();
    json.Key("cameras");
    json.StartArray();
    for (int camera = 0; camera < CameraCount; ++camera) {
        json.StartObject();
        string("camera", QLatin1String(CameraJsonNames[camera]));
        for (int field = 0; field < CameraRecord::FieldCount; ++field) {
            const float value = document.DocumentCameras[camera].field(field);
            const std::optional<std::string> text = sliderSpec(field).isPosition()
                                                        ? storedNumberText(value)
                                                        : degreesNumberText(field, value);
            if (text)
                number(FieldJsonNames[field], *text);
            else
                string(FieldJsonNames[field], bitsText(value));
        }
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    return QByteArray(buffer.GetString(), qsizetype(buffer.GetSize())) + '\n';
}

bool importCameraJson(const QByteArray &json, CameraSet *cameras, QString *error,
                      QStringList *warnings)
{
    const auto fail = [error](const QString &why) {
        *error = why;
        return false;
    };
    if (json.size() > MaxJsonSize)
        return fail(QStringLiteral("larger than 1 MiB"));
    JsonTree tree;
    if (!readJsonTree(json, &tree, error))
        return false;
    CameraRules rules(tree.numbers);
    CameraSet read{};
    if (!rules.readDocument(tree.document, &read))
        return fail(rules.error);
    *cameras = read;
    for (int camera = 0; warnings && camera < CameraCount; ++camera) {
        for (int field = 0; field < CameraRecord::FieldCount; ++field) {
            const float value = read[camera].field(field);
            if (!sliderHolds(field, value))
                warnings->append(QStringLiteral("cameras[%1].%2: %3")
                                     .arg(camera)
                                     .arg(QLatin1String(FieldJsonNames[field]))
                                     .arg(unheldValueText(field, value)));
        }
    }
    return true;
}

} // namespace kestrelcam

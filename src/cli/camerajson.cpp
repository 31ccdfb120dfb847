#include "camerajson.h"

#include "cameranames.h"
#include "jsonnumbers.h"
#include "sliderrange.h"
#include "slidervalues.h"
#include "valuetext.h"

// RapidJSON 1.1.0 grows its stacks from a null pointer plus an offset, which clang's
// UndefinedBehaviorSanitizer reports; that one check is left out of the library's
// own functions, and of nothing else.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((no_sanitize("pointer-overflow"))), apply_to = function)
#endif
#include <rapidjson/error/en.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/reader.h>
#include <rapidjson/stringbuffer.h>
#if defined(__clang__)
#pragma clang attribute pop
#endif

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrelcam {

namespace {

constexpr std::string_view FormatKey = "format";
constexpr std::string_view VersionKey = "version";
constexpr std::string_view HeaderKey = "header";
constexpr std::string_view CamerasKey = "cameras";
constexpr std::string_view CameraKey = "camera";
constexpr std::string_view SignatureKey = "signature";
constexpr std::string_view ReservedKey = "reserved";
constexpr std::string_view DataLengthKey = "dataLength";
constexpr std::string_view FormatName = "kestrel-cam";
constexpr std::string_view Signature = "MACC";
constexpr int RadiansVersion = 1;
constexpr int DegreesVersion = 2;       // every angle through the factor
constexpr int EditorDegreesVersion = 3; // hundredths as the editor stores them

QString fromUtf8(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

// A key as a place names it: as written when it is plain printable ASCII, else in
// JSON's quotes and escapes, so that a message stays on one line.
QString keyText(const std::string &key)
{
    const bool plain = !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
        return c >= 0x20 && c < 0x7f && c != '"';
    });
    if (plain)
        return fromUtf8(key);
    rapidjson::StringBuffer quoted;
    rapidjson::Writer<rapidjson::StringBuffer> writer(quoted);
    writer.String(key.data(), rapidjson::SizeType(key.size()));
    return fromUtf8({quoted.GetString(), quoted.GetSize()});
}

// The line (from 1) and column (from 1, in bytes) of a byte offset.
QString lineAndColumn(const QByteArray &json, qsizetype offset)
{
    const QByteArray before = json.left(offset);
    return QStringLiteral("line %1, column %2")
        .arg(before.count('\n') + 1)
        .arg(offset - before.lastIndexOf('\n'));
}

// A value of the document down to the cameras' fields, the members of an object in
// their order; a container below that is kept without its contents.
struct Value
{
    enum Kind
    {
        Literal, // true, false, null
        Number,
        String,
        Object,
        Array
    } kind = Literal;
    std::string text; // a string's characters, a number as written
    std::vector<std::pair<std::string, Value>> members;
    std::vector<Value> elements;

    const Value *member(std::string_view key) const
    {
        for (const auto &[name, value] : members) {
            if (name == key)
                return &value;
        }
        return nullptr;
    }
    bool isString(std::string_view expected) const { return kind == String && text == expected; }
    std::optional<double> number() const
    {
        double value = 0;
        if (kind != Number ||
            std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc())
            return std::nullopt;
        return value;
    }
};

// The top object, the cameras' array, a camera, its values.
constexpr std::size_t KeptDepth = 4;

// What RapidJSON's reader hands over, as a Value: every number as its text, every
// key in order. Notes the first key that repeats one of its object, with both lines.
class DocumentReader : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, DocumentReader>
{
public:
    using Stream = rapidjson::MemoryStream;

    struct Duplicate
    {
        QString place; // "cameras[0].X"
        qsizetype line = 0;
        qsizetype firstLine = 0;
    };

    DocumentReader(const Stream &stream, const QByteArray &json, qsizetype start)
        : m_stream(stream), m_json(json.constData()), m_start(start)
    {
    }

    Value root;
    std::optional<Duplicate> duplicate;

    // The place of the value being read: "cameras[2].Zoom"; empty at the top.
    QString place() const
    {
        QString place;
        for (const Frame &frame : m_frames)
            place += frame.component;
        place += childComponent();
        return place.startsWith(QLatin1Char('.')) ? place.mid(1) : place;
    }

    bool Null() { return add(Value::Literal); }
    bool Bool(bool) { return add(Value::Literal); }
    bool RawNumber(const char *text, rapidjson::SizeType length, bool)
    {
        return add(Value::Number, {text, length});
    }
    bool String(const char *text, rapidjson::SizeType length, bool)
    {
        return add(Value::String, {text, length});
    }
    bool StartObject() { return open(Value::Object); }
    bool StartArray() { return open(Value::Array); }
    bool EndObject(rapidjson::SizeType) { return close(); }
    bool EndArray(rapidjson::SizeType) { return close(); }
    bool Key(const char *text, rapidjson::SizeType length, bool)
    {
        Frame &frame = m_frames.back();
        frame.key.assign(text, length);
        // The reader stands at the key's opening quote.
        const qsizetype line = lineAt(m_start + qsizetype(m_stream.Tell()));
        const auto [first, isNew] = frame.keyLines.try_emplace(frame.key, line);
        if (!isNew && !duplicate)
            duplicate = Duplicate{place(), line, first->second};
        return true;
    }

private:
    struct Frame
    {
        Value *value; // where its contents go; null when they are not kept
        bool object;
        QString component; // its part of a place: ".key" or "[2]"
        std::size_t count = 0;
        std::string key; // of the member being read
        std::unordered_map<std::string, qsizetype> keyLines;
    };

    QString childComponent() const
    {
        if (m_frames.empty())
            return QString();
        const Frame &frame = m_frames.back();
        return frame.object ? QLatin1Char('.') + keyText(frame.key)
                            : QStringLiteral("[%1]").arg(frame.count);
    }

    Value *store(Value value)
    {
        if (m_frames.empty()) {
            root = std::move(value);
            return &root;
        }
        Frame &frame = m_frames.back();
        ++frame.count;
        if (!frame.value || m_frames.size() >= KeptDepth)
            return nullptr;
        if (frame.object)
            return &frame.value->members.emplace_back(frame.key, std::move(value)).second;
        return &frame.value->elements.emplace_back(std::move(value));
    }

    bool add(Value::Kind kind, std::string_view text = {})
    {
        store(Value{kind, std::string(text), {}, {}});
        return true;
    }

    bool open(Value::Kind kind)
    {
        QString component = childComponent();
        Value *value = store(Value{kind, {}, {}, {}});
        m_frames.push_back({value, kind == Value::Object, std::move(component), 0, {}, {}});
        return true;
    }

    bool close()
    {
        m_frames.pop_back();
        return true;
    }

    // Keys come in increasing order of offset: count the newlines once.
    qsizetype lineAt(qsizetype offset)
    {
        m_line += std::count(m_json + m_counted, m_json + offset, '\n');
        m_counted = offset;
        return m_line;
    }

    const Stream &m_stream;
    const char *m_json;
    qsizetype m_start;
    std::vector<Frame> m_frames;
    qsizetype m_counted = 0;
    qsizetype m_line = 1;
};

// Where a document went wrong: the place in it and why.
struct Failure
{
    QString place;
    QString reason;
};

QString placeIn(std::string_view parent, const std::string &key)
{
    return fromUtf8(parent) + QLatin1Char('.') + keyText(key);
}

// A well-formed "0x" string: "0x" and exactly eight hex digits, either case.
std::optional<float> floatFromBitsText(const std::string &text)
{
    quint32 bits = 0;
    if (text.size() != 10 || !text.starts_with("0x"))
        return std::nullopt;
    const std::from_chars_result read =
        std::from_chars(text.data() + 2, text.data() + 10, bits, 16);
    if (read.ec != std::errc() || read.ptr != text.data() + 10)
        return std::nullopt;
    return floatFromBits(bits);
}

std::optional<float> floatFromJson(const Value &value, int field, const QString &place, int version,
                                   Failure *failure)
{
    if (value.kind == Value::String) {
        if (const std::optional<float> f = floatFromBitsText(value.text))
            return f;
    } else if (value.kind == Value::Number) {
        const StoredNumber stored = sliderSpec(field).isPosition() || version == RadiansVersion
                                        ? storedFromText(value.text)
                                    : version == DegreesVersion ? radiansFromDegreesText(value.text)
                                                                : angleFromText(value.text, field);
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
std::optional<std::string> unknownKey(const Value &object,
                                      std::initializer_list<std::string_view> allowed)
{
    for (const auto &member : object.members) {
        if (std::find(allowed.begin(), allowed.end(), member.first) == allowed.end())
            return member.first;
    }
    return std::nullopt;
}

std::optional<Failure> checkHeader(const Value &header)
{
    if (header.kind != Value::Object)
        return Failure{fromUtf8(HeaderKey), QStringLiteral("not an object")};
    if (const auto unknown = unknownKey(header, {SignatureKey, ReservedKey, DataLengthKey}))
        return Failure{placeIn(HeaderKey, *unknown), QStringLiteral("unknown key")};
    const Value *signature = header.member(SignatureKey);
    if (!signature || !signature->isString(Signature))
        return Failure{placeIn(HeaderKey, std::string(SignatureKey)),
                       QStringLiteral("must be \"MACC\"")};
    const Value *dataLength = header.member(DataLengthKey);
    if (!dataLength || dataLength->number() != CameraDataLength)
        return Failure{placeIn(HeaderKey, std::string(DataLengthKey)),
                       QStringLiteral("must be the number %1").arg(CameraDataLength)};
    return std::nullopt;
}

std::optional<Failure> readCameras(const Value *array, int version, CameraSet *cameras)
{
    if (!array || array->kind != Value::Array)
        return Failure{fromUtf8(CamerasKey), QStringLiteral("missing or not an array")};
    if (array->elements.size() != CameraCount)
        return Failure{fromUtf8(CamerasKey), QStringLiteral("holds %1 cameras, not %2")
                                                 .arg(array->elements.size())
                                                 .arg(CameraCount)};

    for (int camera = 0; camera < CameraCount; ++camera) {
        const std::string place = std::string(CamerasKey) + '[' + std::to_string(camera) + ']';
        const Value &object = array->elements[std::size_t(camera)];
        if (object.kind != Value::Object)
            return Failure{fromUtf8(place), QStringLiteral("not an object")};
        for (const auto &member : object.members) {
            if (member.first != CameraKey && std::find(FieldJsonNames.begin(), FieldJsonNames.end(),
                                                       member.first) == FieldJsonNames.end())
                return Failure{placeIn(place, member.first), QStringLiteral("unknown key")};
        }
        const std::string_view name = CameraJsonNames[camera];
        const Value *named = object.member(CameraKey);
        if (!named || !named->isString(name))
            return Failure{placeIn(place, std::string(CameraKey)),
                           QStringLiteral("must be \"%1\"").arg(fromUtf8(name))};
        for (int field = 0; field < CameraRecord::FieldCount; ++field) {
            const QString fieldPlace = placeIn(place, FieldJsonNames[field]);
            const Value *value = object.member(FieldJsonNames[field]);
            if (!value)
                return Failure{fieldPlace, QStringLiteral("missing")};
            Failure failure;
            const std::optional<float> f =
                floatFromJson(*value, field, fieldPlace, version, &failure);
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
    rapidjson::StringBuffer buffer;
    rapidjson::PrettyWriter<rapidjson::StringBuffer> json(buffer);
    json.SetIndent(' ', 4);
    const auto key = [&json](std::string_view name) {
        json.Key(name.data(), rapidjson::SizeType(name.size()));
    };
    const auto string = [&json](std::string_view value) {
        json.String(value.data(), rapidjson::SizeType(value.size()));
    };
    // RawValue, not RawNumber: RapidJSON 1.1.0's RawNumber puts the text in quotes.
    const auto number = [&json](const std::string &text) {
        json.RawValue(text.data(), text.size(), rapidjson::kNumberType);
    };
    json.StartObject();
    key(FormatKey);
    string(FormatName);
    key(VersionKey);
    number(std::to_string(EditorDegreesVersion));
    key(HeaderKey);
    json.StartObject();
    key(SignatureKey);
    string({header.Signature.data(), header.Signature.size()});
    key(ReservedKey);
    number(std::to_string(header.Reserved));
    key(DataLengthKey);
    number(std::to_string(header.DataLength));
    json.EndObject();
    key(CamerasKey);
    json.StartArray();
    for (int camera = 0; camera < CameraCount; ++camera) {
        json.StartObject();
        key(CameraKey);
        string(CameraJsonNames[camera]);
        for (int field = 0; field < CameraRecord::FieldCount; ++field) {
            const float value = document.DocumentCameras[camera].field(field);
            const std::optional<std::string> text = sliderSpec(field).isPosition()
                                                        ? storedNumberText(value)
                                                        : degreesNumberText(field, value);
            key(FieldJsonNames[field]);
            if (text)
                number(*text);
            else
                string(bitsText(value).toStdString());
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
    const auto fail = [error](const Failure &failure) {
        *error = failure.place.isEmpty() ? failure.reason
                                         : failure.place + QStringLiteral(": ") + failure.reason;
        return false;
    };
    if (json.size() > MaxJsonSize)
        return fail({QString(), QStringLiteral("larger than 1 MiB")});

    // Standard JSON only, in valid UTF-8, to any depth; a byte order mark is skipped.
    const qsizetype start = json.startsWith("\xef\xbb\xbf") ? 3 : 0;
    rapidjson::MemoryStream stream(json.constData() + start, std::size_t(json.size() - start));
    DocumentReader reader(stream, json, start);
    rapidjson::Reader parser;
    const rapidjson::ParseResult parsed =
        parser.Parse<rapidjson::kParseNumbersAsStringsFlag | rapidjson::kParseValidateEncodingFlag |
                     rapidjson::kParseIterativeFlag>(stream, reader);
    // A number no double holds stops the reader at the value it was reading.
    if (parsed.Code() == rapidjson::kParseErrorNumberTooBig && !reader.place().isEmpty())
        return fail({reader.place(), QStringLiteral("beyond the largest binary32 value")});
    // The reader takes a zero byte for the end of the text: after the document, it is
    // a character too many.
    const bool trailing = !parsed.IsError() && qsizetype(stream.Tell()) < json.size() - start;
    if (parsed.IsError() || trailing) {
        const qsizetype offset = start + qsizetype(trailing ? stream.Tell() : parsed.Offset());
        QString reason = QString::fromLatin1(rapidjson::GetParseError_En(
            trailing ? rapidjson::kParseErrorDocumentRootNotSingular : parsed.Code()));
        reason[0] = reason[0].toLower();
        reason.chop(reason.endsWith(QLatin1Char('.')) ? 1 : 0);
        return fail({lineAndColumn(json, offset), reason});
    }
    if (reader.duplicate)
        return fail({reader.duplicate->place, QStringLiteral("duplicate key on line %1 (first on "
                                                             "line %2)")
                                                  .arg(reader.duplicate->line)
                                                  .arg(reader.duplicate->firstLine)});
    const Value &top = reader.root;
    if (top.kind != Value::Object)
        return fail({QString(), QStringLiteral("not a JSON object")});

    if (const auto unknown = unknownKey(top, {FormatKey, VersionKey, HeaderKey, CamerasKey}))
        return fail({keyText(*unknown), QStringLiteral("unknown key")});
    const Value *format = top.member(FormatKey);
    if (!format || !format->isString(FormatName))
        return fail(
            {fromUtf8(FormatKey), QStringLiteral("must be \"%1\"").arg(fromUtf8(FormatName))});
    const Value *versionValue = top.member(VersionKey);
    const std::optional<double> version = versionValue ? versionValue->number() : std::nullopt;
    if (version != RadiansVersion && version != DegreesVersion && version != EditorDegreesVersion)
        return fail({fromUtf8(VersionKey), QStringLiteral("must be the number %1, %2 or %3")
                                               .arg(RadiansVersion)
                                               .arg(DegreesVersion)
                                               .arg(EditorDegreesVersion)});
    if (const Value *header = top.member(HeaderKey)) {
        if (const std::optional<Failure> failure = checkHeader(*header))
            return fail(*failure);
    }
    CameraSet read{};
    if (const std::optional<Failure> failure =
            readCameras(top.member(CamerasKey), int(*version), &read))
        return fail(*failure);
    *cameras = read;

    if (warnings) {
        for (int camera = 0; camera < CameraCount; ++camera) {
            for (int field = 0; field < CameraRecord::FieldCount; ++field) {
                const float value = read[camera].field(field);
                if (!sliderHolds(field, value))
                    warnings->append(QStringLiteral("%1[%2].%3: ")
                                         .arg(fromUtf8(CamerasKey))
                                         .arg(camera)
                                         .arg(QLatin1String(FieldJsonNames[field])) +
                                     unheldValueText(field, value));
            }
        }
    }
    return true;
}

} // namespace kestrelcam

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
#include <rapidjson/document.h>
#include <rapidjson/error/en.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/prettywriter.h>
#if defined(__clang__)
#pragma clang attribute pop
#endif

#include <algorithm>
#include <charconv>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace kestrelcam {

namespace {

using JsonValue = rapidjson::Value;
using rapidjson::SizeType;

constexpr const char *FormatName = "kestrel-cam";
constexpr int RadiansVersion = 1;
constexpr int DegreesVersion = 2;       // every angle through the factor
constexpr int EditorDegreesVersion = 3; // hundredths as the editor stores them

// A key as a place names it: as written when it is plain printable ASCII, else in
// JSON's quotes and escapes, so that a message stays on one line.
QString keyText(const std::string &key)
{
    if (!key.empty() && std::all_of(key.begin(), key.end(),
                                    [](char c) { return c >= 0x20 && c < 0x7f && c != '"'; }))
        return QString::fromStdString(key);
    rapidjson::StringBuffer quoted;
    rapidjson::Writer<rapidjson::StringBuffer>(quoted).String(key.data(), SizeType(key.size()));
    return QString::fromUtf8(quoted.GetString(), qsizetype(quoted.GetSize()));
}

// The line (from 1) and column (from 1, in bytes) of a byte offset.
std::pair<qsizetype, qsizetype> lineAndColumn(const QByteArray &json, qsizetype offset)
{
    const QByteArray before = json.left(offset);
    return {before.count('\n') + 1, offset - before.lastIndexOf('\n')};
}

// RapidJSON's own tree of the document, but each number is the index of its text as
// written (so that -0 keeps its sign and nothing is rounded through a double). On the
// way, the place of the value being read and the first key that repeats one of its
// object, with the offsets of both.
class DocumentReader : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, DocumentReader>
{
public:
    DocumentReader(rapidjson::Document &document, const rapidjson::MemoryStream &stream)
        : m_document(document), m_stream(stream)
    {
    }

    std::vector<std::string> numbers;
    // Numbers the reader cannot hold even as text, by their offset: a 0 stands in the
    // text in their place (see importCameraJson).
    std::map<std::size_t, std::string> setAside;
    QString duplicate;                                    // the place of the first key given twice
    std::pair<std::size_t, std::size_t> duplicateOffsets; // of it, and of its first

    bool Null() { return value() && m_document.Null(); }
    bool Bool(bool b) { return value() && m_document.Bool(b); }
    bool RawNumber(const char *text, SizeType length, bool)
    {
        // The reader stands just after the number.
        const auto kept = setAside.find(m_stream.Tell() - length);
        if (kept != setAside.end())
            numbers.push_back(kept->second);
        else
            numbers.emplace_back(text, length);
        return value() && m_document.Uint(unsigned(numbers.size() - 1));
    }
    bool String(const char *text, SizeType length, bool copy)
    {
        return value() && m_document.String(text, length, copy);
    }
    bool StartObject() { return open(true) && m_document.StartObject(); }
    bool StartArray() { return open(false) && m_document.StartArray(); }
    bool EndObject(SizeType count) { return close() && m_document.EndObject(count); }
    bool EndArray(SizeType count) { return close() && m_document.EndArray(count); }
    bool Key(const char *text, SizeType length, bool copy)
    {
        Frame &frame = m_frames.back();
        frame.key.assign(text, length);
        // The reader stands at the key's opening quote.
        const auto [first, isNew] = frame.keyOffsets.try_emplace(frame.key, m_stream.Tell());
        if (!isNew && duplicate.isEmpty())
            duplicate = place(), duplicateOffsets = {m_stream.Tell(), first->second};
        return m_document.Key(text, length, copy);
    }

    // The place of the value being read: "cameras[2].Zoom"; empty at the top. A
    // container's key or index stays as it is while the container is read.
    QString place() const
    {
        QString place;
        for (const Frame &frame : m_frames)
            place += frame.object ? QLatin1Char('.') + keyText(frame.key)
                                  : QStringLiteral("[%1]").arg(frame.count);
        return place.startsWith(QLatin1Char('.')) ? place.mid(1) : place;
    }

private:
    struct Frame
    {
        bool object;
        std::size_t count = 0; // values read
        std::string key;       // of the member being read
        std::unordered_map<std::string, std::size_t> keyOffsets;
    };

    bool value()
    {
        if (!m_frames.empty())
            ++m_frames.back().count;
        return true;
    }
    bool open(bool object)
    {
        m_frames.push_back({object, 0, {}, {}});
        return true;
    }
    bool close()
    {
        m_frames.pop_back();
        return value();
    }

    rapidjson::Document &m_document;
    const rapidjson::MemoryStream &m_stream;
    std::vector<Frame> m_frames;
};

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
    // Standard JSON only, in valid UTF-8, to any depth; a byte order mark is skipped.
    const qsizetype start = json.startsWith("\xef\xbb\xbf") ? 3 : 0;
    // RapidJSON refuses a number beyond a double (1e400) even as text. Each such number
    // is set aside and the text read again with a 0 of the same length in its place, so
    // that the number is judged where it stands by the rules of its field (a camera's
    // value beyond binary32, a version that is none, an ignored field) and every place
    // in the text stays where it was. A document of many such numbers is refused.
    constexpr int MaxSetAside = 64;
    QByteArray text = json;
    std::map<std::size_t, std::string> setAside;
    std::optional<rapidjson::Document> document;
    rapidjson::ParseResult parsed;
    std::optional<rapidjson::MemoryStream> stream;
    std::optional<DocumentReader> reader;
    for (;;) {
        stream.emplace(text.constData() + start, std::size_t(text.size() - start));
        document.emplace();
        reader.emplace(*document, *stream);
        reader->setAside = setAside;
        const auto parse = [&](rapidjson::Document &) {
            constexpr unsigned flags = rapidjson::kParseNumbersAsStringsFlag |
                                       rapidjson::kParseValidateEncodingFlag |
                                       rapidjson::kParseIterativeFlag;
            parsed = rapidjson::Reader().Parse<flags>(*stream, *reader);
            return !parsed.IsError();
        };
        document->Populate(parse);
        if (parsed.Code() != rapidjson::kParseErrorNumberTooBig)
            break;
        if (int(setAside.size()) == MaxSetAside)
            return fail(reader->place() + QStringLiteral(": beyond the largest binary32 value"));
        const qsizetype first = start + qsizetype(parsed.Offset());
        qsizetype end = first;
        while (end < text.size() && text[end] && std::strchr("+-.0123456789eE", text[end]))
            ++end;
        setAside[parsed.Offset()] = text.mid(first, end - first).toStdString();
        text.replace(first, end - first, QByteArray("0").leftJustified(end - first, ' '));
    }
    // The reader takes a zero byte for the end of the text: after the document, it is
    // a character too many.
    const bool trailing = !parsed.IsError() && qsizetype(stream->Tell()) < json.size() - start;
    if (parsed.IsError() || trailing) {
        QString reason = QString::fromLatin1(rapidjson::GetParseError_En(
            trailing ? rapidjson::kParseErrorDocumentRootNotSingular : parsed.Code()));
        reason[0] = reason[0].toLower();
        reason.chop(reason.endsWith(QLatin1Char('.')) ? 1 : 0);
        const auto [line, column] =
            lineAndColumn(json, start + qsizetype(trailing ? stream->Tell() : parsed.Offset()));
        return fail(QStringLiteral("line %1, column %2: %3").arg(line).arg(column).arg(reason));
    }
    if (!reader->duplicate.isEmpty())
        return fail(
            QStringLiteral("%1: duplicate key on line %2 (first on line %3)")
                .arg(reader->duplicate)
                .arg(lineAndColumn(json, start + qsizetype(reader->duplicateOffsets.first)).first)
                .arg(
                    lineAndColumn(json, start + qsizetype(reader->duplicateOffsets.second)).first));
    CameraRules rules(reader->numbers);
    CameraSet read{};
    if (!rules.readDocument(*document, &read))
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

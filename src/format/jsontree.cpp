#include "jsontree.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <unordered_map>

namespace kestrelcam {

namespace {

using rapidjson::SizeType;

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
    // text in their place (see readJsonTree).
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

// One reading of the text (from start) into RapidJSON's tree, with the numbers set
// aside so far. The text is its own: the stream reads it.
struct Pass
{
    Pass(const QByteArray &json, qsizetype start,
         const std::map<std::size_t, std::string> &setAside)
        : text(json), stream(text.constData() + start, std::size_t(text.size() - start)),
          reader(document, stream)
    {
        reader.setAside = setAside;
        const auto parse = [this](rapidjson::Document &) {
            constexpr unsigned flags = rapidjson::kParseNumbersAsStringsFlag |
                                       rapidjson::kParseValidateEncodingFlag |
                                       rapidjson::kParseIterativeFlag;
            parsed = rapidjson::Reader().Parse<flags>(stream, reader);
            return !parsed.IsError();
        };
        document.Populate(parse);
    }

    const QByteArray text;
    rapidjson::MemoryStream stream;
    rapidjson::Document document;
    DocumentReader reader;
    rapidjson::ParseResult parsed;
};

// RapidJSON refuses a number beyond a double (1e400) even as text. Each such number is
// set aside and the text read again with a 0 of the same length in its place, so that
// the number is judged where it stands by the rules of its field (a camera's value
// beyond binary32, a version that is none, an ignored field) and every place in the
// text stays where it was. *pass is the last reading; a document of many such numbers
// is refused, and the reason returned.
std::optional<QString> readSettingAside(const QByteArray &json, qsizetype start,
                                        std::optional<Pass> *pass)
{
    constexpr int MaxSetAside = 64;
    QByteArray text = json;
    std::map<std::size_t, std::string> setAside;
    for (;;) {
        pass->emplace(text, start, setAside);
        const rapidjson::ParseResult parsed = (*pass)->parsed;
        if (parsed.Code() != rapidjson::kParseErrorNumberTooBig)
            return std::nullopt;
        if (int(setAside.size()) == MaxSetAside)
            return (*pass)->reader.place() + QStringLiteral(": beyond the largest binary32 value");
        const qsizetype first = start + qsizetype(parsed.Offset());
        qsizetype end = first;
        while (end < text.size() && text[end] && std::strchr("+-.0123456789eE", text[end]))
            ++end;
        setAside[parsed.Offset()] = text.mid(first, end - first).toStdString();
        text.replace(first, end - first, QByteArray("0").leftJustified(end - first, ' '));
    }
}

// What is wrong with the text as JSON, and where: "line 3, column 7: ...".
std::optional<QString> syntaxError(const QByteArray &json, qsizetype start, const Pass &pass)
{
    // The reader takes a zero byte for the end of the text: after the document, it is
    // a character too many.
    const bool trailing =
        !pass.parsed.IsError() && qsizetype(pass.stream.Tell()) < json.size() - start;
    if (!pass.parsed.IsError() && !trailing)
        return std::nullopt;
    QString reason = QString::fromLatin1(rapidjson::GetParseError_En(
        trailing ? rapidjson::kParseErrorDocumentRootNotSingular : pass.parsed.Code()));
    reason[0] = reason[0].toLower();
    reason.chop(reason.endsWith(QLatin1Char('.')) ? 1 : 0);
    const auto [line, column] = lineAndColumn(
        json, start + qsizetype(trailing ? pass.stream.Tell() : pass.parsed.Offset()));
    return QStringLiteral("line %1, column %2: %3").arg(line).arg(column).arg(reason);
}

// The first key given twice in its object, with the lines of both.
std::optional<QString> duplicateKeyError(const QByteArray &json, qsizetype start,
                                         const DocumentReader &reader)
{
    if (reader.duplicate.isEmpty())
        return std::nullopt;
    const auto lineOf = [&](std::size_t offset) {
        return QString::number(lineAndColumn(json, start + qsizetype(offset)).first);
    };
    // All three at once: a key holding "%1" stays as it is.
    return QStringLiteral("%1: duplicate key on line %2 (first on line %3)")
        .arg(reader.duplicate, lineOf(reader.duplicateOffsets.first),
             lineOf(reader.duplicateOffsets.second));
}

} // namespace

QString keyText(const std::string &key)
{
    if (!key.empty() && std::all_of(key.begin(), key.end(),
                                    [](char c) { return c >= 0x20 && c < 0x7f && c != '"'; }))
        return QString::fromStdString(key);
    rapidjson::StringBuffer quoted;
    rapidjson::Writer<rapidjson::StringBuffer>(quoted).String(key.data(), SizeType(key.size()));
    return QString::fromUtf8(quoted.GetString(), qsizetype(quoted.GetSize()));
}

bool readJsonTree(const QByteArray &json, JsonTree *tree, QString *error)
{
    // Standard JSON only, in valid UTF-8, to any depth; a byte order mark is skipped.
    const qsizetype start = json.startsWith("\xef\xbb\xbf") ? 3 : 0;
    std::optional<Pass> pass;
    std::optional<QString> why = readSettingAside(json, start, &pass);
    if (!why)
        why = syntaxError(json, start, *pass);
    if (!why)
        why = duplicateKeyError(json, start, pass->reader);
    if (why) {
        *error = *why;
        return false;
    }
    tree->document = std::move(pass->document);
    tree->numbers = std::move(pass->reader.numbers);
    return true;
}

} // namespace kestrelcam

#include "jsonscan.h"

#include "jsonwriter.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <charconv>

namespace kestrelcam {

namespace {

// Deeper than QJsonDocument reads (1024 levels), so that it is the one to refuse.
constexpr qsizetype MaxDepth = 1100;
// Numbers deeper than this are no value of a camera document.
constexpr qsizetype NumberDepth = 3;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// One pass over the text, as QJsonDocument's reader takes it: the same white space,
// literals and number syntax (which is more lenient than JSON's: "1." and ".5").
class Scanner
{
public:
    explicit Scanner(const QByteArray &json)
        : m_begin(json.constData()), m_at(m_begin), m_end(m_begin + json.size())
    {
    }

    JsonScan run()
    {
        if (m_end - m_at >= 3 && std::equal(m_at, m_at + 3, "\xef\xbb\xbf"))
            m_at += 3;
        m_result.wellFormed = scan();
        if (!m_result.wellFormed)
            m_result.errorOffset = m_at - m_begin;
        return std::move(m_result);
    }

private:
    struct Frame
    {
        bool object;
        QString component; // its part of a place: ".key" or "[index]"
        qsizetype index = 0;
        QString key;                     // the current member's component
        QHash<QString, qsizetype> lines; // keys seen, with their lines
    };

    bool scan()
    {
        for (;;) {
            // A value is expected here.
            skipSpace();
            if (m_at == m_end)
                return false;
            const char c = *m_at;
            if (c == '{' || c == '[') {
                if (qsizetype(m_frames.size()) >= MaxDepth)
                    return false;
                const QString component = childComponent();
                ++m_at;
                m_frames.push_back({c == '{', component, 0, QString(), {}});
                skipSpace();
                if (m_at < m_end && *m_at == (c == '{' ? '}' : ']')) {
                    ++m_at;
                    m_frames.pop_back();
                } else {
                    if (c == '{' && !member())
                        return false;
                    continue;
                }
            } else if (c == '"') {
                if (!skipString())
                    return false;
            } else if (c == 't' || c == 'f' || c == 'n') {
                if (!literal())
                    return false;
            } else if (!number()) {
                return false;
            }
            // After a value: the next member or element, or the end of containers.
            for (;;) {
                skipSpace();
                if (m_frames.empty())
                    return m_at == m_end;
                if (m_at == m_end)
                    return false;
                Frame &frame = m_frames.back();
                if (*m_at == ',') {
                    ++m_at;
                    if (frame.object) {
                        skipSpace();
                        if (!member())
                            return false;
                    } else {
                        ++frame.index;
                    }
                    break;
                }
                if (*m_at != (frame.object ? '}' : ']'))
                    return false;
                ++m_at;
                m_frames.pop_back();
            }
        }
    }

    void skipSpace()
    {
        while (m_at < m_end && (*m_at == ' ' || *m_at == '\t' || *m_at == '\n' || *m_at == '\r'))
            ++m_at;
    }

    bool skipString()
    {
        for (++m_at; m_at < m_end; ++m_at) {
            if (*m_at == '\\')
                ++m_at;
            else if (*m_at == '"')
                break;
        }
        if (m_at >= m_end)
            return false;
        ++m_at;
        return true;
    }

    bool literal()
    {
        for (const char *word : {"true", "false", "null"}) {
            const qsizetype length = qsizetype(qstrlen(word));
            if (m_end - m_at >= length && std::equal(m_at, m_at + length, word)) {
                m_at += length;
                return true;
            }
        }
        return false;
    }

    // A member's key and colon; the value follows.
    bool member()
    {
        if (m_at == m_end || *m_at != '"')
            return false;
        const char *start = m_at;
        if (!skipString())
            return false;
        const QByteArray quoted = QByteArray::fromRawData(start, m_at - start);
        QString key;
        if (quoted.contains('\\')) {
            // Escapes as QJsonDocument decodes them, so that keys compare as it keeps them.
            const QJsonArray decoded = QJsonDocument::fromJson('[' + quoted + ']').array();
            key = decoded.isEmpty() ? QString::fromUtf8(quoted) : decoded.first().toString();
        } else {
            key = QString::fromUtf8(quoted.mid(1, quoted.size() - 2));
        }
        Frame &frame = m_frames.back();
        frame.key = QLatin1Char('.') + keyText(key);
        const qsizetype line = lineAt(start - m_begin);
        const auto seen = frame.lines.constFind(key);
        if (seen != frame.lines.constEnd()) {
            if (!m_result.duplicate)
                m_result.duplicate = JsonScan::Duplicate{placeOf(frame.key), line, *seen};
        } else {
            frame.lines.insert(key, line);
        }
        skipSpace();
        if (m_at == m_end || *m_at != ':')
            return false;
        ++m_at;
        return true;
    }

    // QJsonDocument's number syntax: -?(0|digits)(.digits)?([eE][+-]?digits)?, any
    // of the digits possibly none; what a double cannot read it refuses.
    bool number()
    {
        const char *start = m_at;
        if (m_at < m_end && *m_at == '-')
            ++m_at;
        if (m_at < m_end && *m_at == '0')
            ++m_at;
        else
            while (m_at < m_end && isDigit(*m_at))
                ++m_at;
        if (m_at < m_end && *m_at == '.')
            for (++m_at; m_at < m_end && isDigit(*m_at);)
                ++m_at;
        if (m_at < m_end && (*m_at == 'e' || *m_at == 'E')) {
            ++m_at;
            if (m_at < m_end && (*m_at == '-' || *m_at == '+'))
                ++m_at;
            while (m_at < m_end && isDigit(*m_at))
                ++m_at;
        }
        double value = 0;
        const std::from_chars_result read = std::from_chars(start, m_at, value);
        if (start == m_at || read.ptr != m_at || read.ec == std::errc::invalid_argument) {
            m_at = start;
            return false;
        }
        if (read.ec == std::errc::result_out_of_range)
            m_result.unreadable.emplace_back(start - m_begin, m_at - start);
        if (qsizetype(m_frames.size()) <= NumberDepth)
            m_result.numbers.insert(placeOf(childComponent()), QByteArray(start, m_at - start));
        return true;
    }

    // The component of the value about to be read, in the innermost container.
    QString childComponent() const
    {
        if (m_frames.empty())
            return QString();
        const Frame &frame = m_frames.back();
        return frame.object ? frame.key : QStringLiteral("[%1]").arg(frame.index);
    }

    // The place of a value in the innermost container: "cameras[2].Zoom".
    QString placeOf(const QString &component) const
    {
        QString place;
        for (const Frame &frame : m_frames)
            place += frame.component;
        place += component;
        return place.startsWith(QLatin1Char('.')) ? place.mid(1) : place;
    }

    // Offsets are asked for in increasing order: count the newlines once.
    qsizetype lineAt(qsizetype offset)
    {
        m_line += std::count(m_begin + m_counted, m_begin + offset, '\n');
        m_counted = offset;
        return m_line;
    }

    const char *m_begin;
    const char *m_at;
    const char *m_end;
    std::vector<Frame> m_frames;
    JsonScan m_result;
    qsizetype m_counted = 0;
    qsizetype m_line = 1;
};

} // namespace

JsonScan scanJson(const QByteArray &json)
{
    return Scanner(json).run();
}

QString keyText(const QString &key)
{
    const bool plain = std::all_of(key.begin(), key.end(), [](QChar c) {
        return c.unicode() >= 0x20 && c.unicode() < 0x7f && c != QLatin1Char('"');
    });
    if (plain && !key.isEmpty())
        return key;
    return QString::fromUtf8(jsonString(key));
}

std::pair<qsizetype, qsizetype> lineAndColumn(const QByteArray &json, qsizetype offset)
{
    offset = std::clamp<qsizetype>(offset, 0, json.size());
    const QByteArray before = json.left(offset);
    return {before.count('\n') + 1, offset - (before.lastIndexOf('\n') + 1) + 1};
}

} // namespace kestrelcam

#include "jsonwriter.h"

namespace kestrelcam {

QByteArray jsonString(const QString &text)
{
    QByteArray quoted("\"");
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                quoted +=
                    "\\u00" +
                    QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0');
            else
                quoted += c;
        }
    }
    return quoted + '"';
}

void JsonWriter::start(std::string_view key)
{
    if (!m_open.empty()) {
        m_text += m_open.back().empty ? "\n" : ",\n";
        m_open.back().empty = false;
        m_text += QByteArray(4 * qsizetype(m_open.size()), ' ');
    }
    if (!key.empty())
        m_text += jsonString(QString::fromUtf8(key.data(), qsizetype(key.size()))) + ": ";
}

void JsonWriter::beginObject(std::string_view key)
{
    start(key);
    m_text += '{';
    m_open.push_back({'}', true});
}

void JsonWriter::beginArray(std::string_view key)
{
    start(key);
    m_text += '[';
    m_open.push_back({']', true});
}

void JsonWriter::end()
{
    const Open closed = m_open.back();
    m_open.pop_back();
    if (!closed.empty)
        m_text += '\n' + QByteArray(4 * qsizetype(m_open.size()), ' ');
    m_text += closed.close;
}

void JsonWriter::string(std::string_view key, const QString &value)
{
    start(key);
    m_text += jsonString(value);
}

void JsonWriter::number(std::string_view key, std::string_view text)
{
    start(key);
    m_text += QByteArray(text.data(), qsizetype(text.size()));
}

} // namespace kestrelcam

#pragma once

#include <QByteArray>
#include <QString>

#include <string_view>
#include <vector>

namespace kestrelcam {

// JSON text written in the order it is given, indented by four spaces a level, one
// member or element a line (QJsonDocument would sort an object's keys).
class JsonWriter
{
public:
    // Members of an object take a key; elements of an array and the top value none.
    void beginObject(std::string_view key = {});
    void beginArray(std::string_view key = {});
    void end();
    void string(std::string_view key, const QString &value);
    // `text` is a JSON number as it is to appear.
    void number(std::string_view key, std::string_view text);

    // The text, ending in a newline, once every object and array has ended.
    QByteArray text() const { return m_text + '\n'; }

private:
    void start(std::string_view key);

    QByteArray m_text;
    struct Open
    {
        char close; // '}' or ']'
        bool empty; // nothing in it yet
    };
    std::vector<Open> m_open;
};

// A string in JSON's quotes and escapes: "a\"b", control characters as \u00XX.
QByteArray jsonString(const QString &text);

} // namespace kestrelcam

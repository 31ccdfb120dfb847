#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

// What QJsonDocument does not tell about a JSON text: keys that repeat in an object
// (it keeps the last value), each number's text as written (it drops the sign of a
// zero and refuses a number no double holds), and the line of each key.
namespace kestrelcam {

struct JsonScan
{
    // False where the text stops being JSON as QJsonDocument reads it: at errorOffset.
    bool wellFormed = false;
    qsizetype errorOffset = 0;

    // The first key that repeats an earlier one of its object.
    struct Duplicate
    {
        QString place; // "cameras[0].X"
        qsizetype line = 0;
        qsizetype firstLine = 0;
    };
    std::optional<Duplicate> duplicate;

    // The text of each number up to three levels down, by its place: "version",
    // "header.dataLength", "cameras[2].Zoom".
    QHash<QString, QByteArray> numbers;

    // Offset and length of each number that no double holds (1e400, 1e-400).
    std::vector<std::pair<qsizetype, qsizetype>> unreadable;
};

JsonScan scanJson(const QByteArray &json);

// A key as a place names it: as written when it is plain printable ASCII, else in
// JSON's quotes and escapes, so that a message stays on one line.
QString keyText(const QString &key);

// The line (from 1) and column (from 1, in bytes) of a byte offset.
std::pair<qsizetype, qsizetype> lineAndColumn(const QByteArray &json, qsizetype offset);

} // namespace kestrelcam

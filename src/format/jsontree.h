#pragma once

#include <QByteArray>
#include <QString>

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

#include <string>
#include <vector>

// Standard JSON (RFC 8259) in UTF-8 read into RapidJSON's tree for kestrel-cam's
// formats: each number is kept as its text as written, and every refusal says where.
namespace kestrelcam {

// The document's tree, each number in it the index of its text in `numbers` (so that
// -0 keeps its sign and nothing is rounded through a double).
struct JsonTree
{
    rapidjson::Document document;
    std::vector<std::string> numbers;
};

// Reads json, a byte order mark allowed, to any depth; a number beyond a double
// (1e400) is kept as its text like any other, for its field's rules to judge. On
// failure *error says where and why, on one line: "line 3, column 7: ..." (the column
// in bytes), the place of a key given twice, "cameras[0].X: duplicate key on line 13
// (first on line 12)", or, after 64 numbers beyond a double, the place of the last:
// "PLACE: beyond the largest binary32 value".
bool readJsonTree(const QByteArray &json, JsonTree *tree, QString *error);

// A key as a place names it: as written when it is plain printable ASCII, else in
// JSON's quotes and escapes, so that a message stays on one line.
QString keyText(const std::string &key);

} // namespace kestrelcam

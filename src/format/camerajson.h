#pragma once

#include "camerarecord.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The camera file as JSON text, and back. Export writes version 3, four spaces a
// level, keys in this order:
//
// {
//     "format": "kestrel-cam",
//     "version": 3,
//     "header": {"signature": "MACC", "reserved": 0, "dataLength": 216},
//     "cameras": [
//         {"camera": "Nose", "X": 2.323915, ..., "Zoom": 77.99, ..., "Pitch2": -7.16},
//         ... six cameras in file order, each named first, then X, Y, Z, Yaw1, Pitch1,
//         Bank, Zoom, Yaw2, Pitch2
//     ]
// }
//
// X, Y and Z are metres, the angles degrees, each written as the shortest decimal
// import reads back as the stored value (jsonnumbers.h): an angle the editor stores
// for a slider position as it shows it (77.99). A value no decimal gives (a NaN, an
// infinity) is the string "0x" and the eight hex digits of its bits; -0 is -0.
//
// Version 2 reads every angle through the editor's factor alone, version 1 has
// radians; import reads all three. "header" may be left out, its "reserved" is
// ignored; keys may come in any order but none twice. Standard JSON (RFC 8259) in
// UTF-8, a byte order mark allowed.
namespace kestrelcam {

// Larger JSON files are refused before they are parsed.
inline constexpr qsizetype MaxJsonSize = 1024 * 1024;

// The document as export writes it, version 3, ending in a newline.
QByteArray exportCameraJson(const CameraDocument &document);

// Reads the six cameras from a JSON document. On failure *cameras is left as it was
// and *error says where and why, on one line: "cameras[2].Zoom: ...",
// "line 3, column 7: ..." (the column in bytes). On success each value no slider of
// the editor holds adds one line to *warnings, when given: "cameras[0].X: 130 m is
// beyond the slider's range (-120 to 120 m); the editor shows 120".
bool importCameraJson(const QByteArray &json, CameraSet *cameras, QString *error,
                      QStringList *warnings = nullptr);

} // namespace kestrelcam

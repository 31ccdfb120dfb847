#pragma once

#include "camerarecord.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The camera file as JSON text, and back. Export writes version 3:
//
// {
//     "format": "kestrel-cam",
//     "version": 3,
//     "header": {
//         "signature": "MACC",
//         "reserved": 0,
//         "dataLength": 216
//     },
//     "cameras": [
//         {
//             "camera": "Nose",
//             "X": 2.323915,
//             ...
//             "Zoom": 77.99428,
//             ...
//             "Pitch2": -7.16
//         },
//         ... six cameras in file order, each "camera" first, then X, Y, Z, Yaw1,
//         Pitch1, Bank, Zoom, Yaw2, Pitch2
//     ]
// }
//
// X, Y and Z are metres: the shortest decimal whose nearest binary32 is the stored
// value. The six angles are degrees. A whole number of hundredths from -300 to 300
// (77.99, -7.16, 180: a position of the editor's angle sliders) is read as the
// editor's typed entry and Apply store it: the degrees rounded to binary32, then
// multiplied in double by the editor's factor 3.141592654 / 180 and rounded to
// binary32. Any other number is read as a double,
// multiplied by the factor and rounded once. Each angle is written as the shortest
// decimal read back as the stored radians: what the editor stores as it shows it,
// every other value off those hundredths. A value no decimal gives (a NaN, an
// infinity) is the string "0x" and the eight hex digits of its bits. -0 is the
// number -0, in degrees too.
//
// Version 2 is the same with every angle read through the factor alone, version 1
// with the angles in radians, read as the metres are. Import reads all three;
// "header" may be left out, its "reserved" is ignored; keys may come in any order but
// none twice. The text is standard JSON (RFC 8259) in UTF-8, a byte order mark
// allowed.
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

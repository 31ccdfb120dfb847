#pragma once

#include "camerarecord.h"

#include <QByteArray>
#include <QString>

// The camera file as JSON text, and back.
//
// {"format": "kestrel-cam", "version": 1,
//  "header": {"signature": "MACC", "reserved": 0, "dataLength": 216},
//  "cameras": [{"camera": "Nose", "X": 2.323915, ..., "Pitch2": -0.125}, ... six in file order]}
//
// Values are in file units (metres, radians). A finite value is the shortest decimal
// whose nearest binary32 is the stored value; a NaN, an infinity or a negative zero
// is the string "0x" and the eight hex digits of its bits, as a JSON number cannot
// carry them.
namespace kestrelcam {

// Larger JSON files are refused before they are parsed.
inline constexpr qsizetype MaxJsonSize = 1024 * 1024;

// The document as export writes it: indented, keys in the order QJsonObject keeps
// them (sorted), ending in a newline.
QByteArray exportCameraJson(const CameraDocument &document);

// Reads the six cameras from a JSON document. On failure *cameras is left as it was
// and *error says where and why: "cameras[2].Zoom: ...", "line 3, column 7: ...".
bool importCameraJson(const QByteArray &json, CameraSet *cameras, QString *error);

} // namespace kestrelcam

#pragma once

#include "camerarecord.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

class DefaultTable;

// How the command line and its JSON name the cameras, the fields and the makes.
namespace kestrelcam {

// Camera names on the command line, in camera order; the index 0-5 names a camera too.
inline constexpr std::array<const char *, CameraCount> CameraArgumentNames = {
    "nose", "gearbox", "zeppelin", "rollbar", "frontsusp", "rearsusp"};
// Camera names in the JSON text, in camera order.
inline constexpr std::array<const char *, CameraCount> CameraJsonNames = {
    "Nose", "Gearbox", "Zeppelin", "Roll Bar", "Front Suspension", "Rear Suspension"};
// Field names on the command line and in the JSON text, in file order.
inline constexpr std::array<const char *, CameraRecord::FieldCount> FieldArgumentNames = {
    "x", "y", "z", "yaw1", "pitch1", "bank", "zoom", "yaw2", "pitch2"};
inline constexpr std::array<const char *, CameraRecord::FieldCount> FieldJsonNames = {
    "X", "Y", "Z", "Yaw1", "Pitch1", "Bank", "Zoom", "Yaw2", "Pitch2"};

// Lookups of a command-line word, case-insensitive; nullopt when it names nothing.
std::optional<int> cameraFromArgument(const QString &word);
std::optional<int> fieldFromArgument(const QString &word);
std::optional<int> makeFromArgument(const QString &word, const DefaultTable &defaults);
// A camera, or all six for "all" (or "*"), in camera order; empty when it names nothing.
std::vector<int> camerasFromArgument(const QString &word);

// "nose.zoom": how the command line names one value.
QString valueName(int camera, int field);

} // namespace kestrelcam

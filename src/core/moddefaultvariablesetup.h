#pragma once

#include "camerarecord.h"

#include <QString>

#include <array>

inline constexpr int CarTypeCount = 7;

class DefaultTable;
namespace modDefaultVariableSetup {
DefaultTable SetupDefaults();
}

// The built-in defaults: for each of the seven car makes, six cameras and the
// make's camera file name. Filled once at start and read-only afterwards; every
// lookup hands out a copy.
class DefaultTable
{
public:
    CameraFileHeader DefaultHeader() const { return m_header; }
    // carType 0..6, camera 0..5.
    CameraRecord DefaultCamera(int carType, int camera) const { return m_cameras[carType][camera]; }
    CameraSet DefaultCameras(int carType) const { return m_cameras[carType]; }
    QString DefaultFileName(int carType) const { return m_fileNames[carType]; }
    // The make as the car type dialog shows it.
    QString MakeName(int carType) const { return m_makeNames[carType]; }

private:
    friend DefaultTable modDefaultVariableSetup::SetupDefaults();
    DefaultTable() = default;

    CameraFileHeader m_header;
    std::array<CameraSet, CarTypeCount> m_cameras{};
    std::array<QString, CarTypeCount> m_fileNames;
    std::array<QString, CarTypeCount> m_makeNames;
};

using modDefaultVariableSetup::SetupDefaults;

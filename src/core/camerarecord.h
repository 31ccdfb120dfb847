#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

// The bits of a binary32 value, and the value of 32 bits: how the file holds it.
constexpr std::uint32_t floatBits(float value)
{
    return std::bit_cast<std::uint32_t>(value);
}
constexpr float floatFromBits(std::uint32_t bits)
{
    return std::bit_cast<float>(bits);
}

// One on-board camera as the simulator stores it: nine binary32 values in
// file order. Positions are metres, angles radians.
struct CameraRecord
{
    float X = 0;
    float Y = 0;
    float Z = 0;
    float Yaw1 = 0;
    float Pitch1 = 0;
    float Bank = 0;
    float Zoom = 0;
    float Yaw2 = 0;
    float Pitch2 = 0;

    static constexpr int FieldCount = 9;

    // Field i in file order (0 X ... 8 Pitch2).
    float field(int i) const { return this->*fieldMembers[i]; }
    void setField(int i, float value) { this->*fieldMembers[i] = value; }

    // Equality of the stored bits, so that NaNs and signed zeros compare as the file holds them.
    bool sameBits(const CameraRecord &other) const
    {
        return std::memcmp(this, &other, sizeof(CameraRecord)) == 0;
    }

private:
    static constexpr std::array<float CameraRecord::*, FieldCount> fieldMembers = {
        &CameraRecord::X,    &CameraRecord::Y,      &CameraRecord::Z,
        &CameraRecord::Yaw1, &CameraRecord::Pitch1, &CameraRecord::Bank,
        &CameraRecord::Zoom, &CameraRecord::Yaw2,   &CameraRecord::Pitch2};
};
static_assert(sizeof(CameraRecord) == 36, "a camera record is 36 bytes");

struct CameraFileHeader
{
    std::array<char, 4> Signature = {'M', 'A', 'C', 'C'};
    std::int32_t Reserved = 0;
    std::int32_t DataLength = 216;

    bool operator==(const CameraFileHeader &) const = default;
};

// Six cameras in file order.
inline constexpr int CameraCount = 6;
using CameraSet = std::array<CameraRecord, CameraCount>;

enum CameraIndex
{
    NoseCamera,
    GearboxCamera,
    ZeppelinCamera,
    RollBarCamera,
    FrontSuspensionCamera,
    RearSuspensionCamera
};

// Each camera's caption as the editor's camera options show it, in camera order.
inline constexpr std::array<const char *, CameraCount> CameraCaptions = {
    "Nose", "Gear Box", "Zepplin/Shoulder *", "Roll Bar", "Front Suspension", "Rear Suspension"};

inline constexpr int CameraFileHeaderSize = 12;
inline constexpr int CameraRecordSize = 36;
inline constexpr int CameraFileSize = CameraFileHeaderSize + CameraCount * CameraRecordSize; // 228
inline constexpr std::int32_t CameraDataLength = CameraCount * CameraRecordSize;             // 216

// A camera file's contents: the header as read (or as last written) and the six
// cameras. The editor's document is one of these, and so is what a reader yields.
struct CameraDocument
{
    CameraFileHeader DocumentHeader;
    CameraSet DocumentCameras;
};

// The header every saved file carries: "MACC", 0, 216.
inline CameraFileHeader MakeCCamHeader()
{
    return CameraFileHeader{};
}

// Equality of all six records' stored bits.
inline bool sameBits(const CameraSet &a, const CameraSet &b)
{
    for (int i = 0; i < CameraCount; ++i) {
        if (!a[i].sameBits(b[i]))
            return false;
    }
    return true;
}

#include "moddefaultvariablesetup.h"

namespace modDefaultVariableSetup {

namespace {

// Seven fields per camera (X, Y, Z, Yaw1, Pitch1, Bank, Zoom); every camera has
// Yaw2 = 0 and Pitch2 = -0.125. Each literal is the binary32 nearest its decimal.
struct SevenFields
{
    float X, Y, Z, Yaw1, Pitch1, Bank, Zoom;
};

// [car type][camera]
constexpr SevenFields table[CarTypeCount][CameraCount] = {
    // 0 Brabham
    {
        {2.323915f, 0.2047831f, 0.08309222f, 0.0f, 0.003525602f, 0.0f, 1.361257f}, // Nose
        {-1.304172f, 0.0f, 0.002297342f, 3.141032f, 0.0f, 0.0f, 1.361257f},        // Gearbox
        {-0.3985842f, -0.2821206f, 0.3726695f, 0.0f, 0.0f, 0.0f, 1.361257f},       // Zeppelin
        {-0.1035536f, 0.0f, 0.5980672f, 0.0f, 0.1735071f, 0.0f, 1.361257f},        // Roll Bar
        {0.5252523f, 0.5454509f, 0.004569628f, 0.0f, 0.0004230934f, 0.0f,
         1.361257f}, // Front Suspension
        {0.1034234f, -0.644862f, -0.000165899f, 3.062854f, 0.0f, 0.0f,
         1.221253f}, // Rear Suspension
    },
    // 1 BRM
    {
        {2.323915f, 0.2047831f, 0.08309222f, 0.0f, 0.003525602f, 0.0f, 1.361257f},   // Nose
        {-1.304172f, 0.0f, 0.002297342f, 3.141032f, 0.0004790172f, 0.0f, 1.361257f}, // Gearbox
        {-0.3985842f, -0.2821206f, 0.3726695f, 0.0f, 0.0f, 0.0f, 1.361257f},         // Zeppelin
        {-0.07169066f, 0.0f, 0.6010654f, 0.0f, 0.1712859f, 0.0f, 1.361257f},         // Roll Bar
        {0.6177786f, 0.600081f, 0.004569628f, 0.0f, 0.0f, 0.0f, 1.361257f}, // Front Suspension
        {0.1139675f, -0.6437534f, -0.002584002f, 3.062355f, 0.0f, 0.0f,
         1.221234f}, // Rear Suspension
    },
    // 2 Coventry
    {
        {2.500837f, 0.003065013f, 0.003070857f, -0.0001014387f, 0.001500571f, -0.000007691784f,
         1.361257f},                                                                 // Nose
        {-0.997386f, 0.0f, 0.002297342f, 3.141032f, 0.0004790172f, 0.0f, 1.361257f}, // Gearbox
        {-0.3985842f, -0.3037107f, 0.4046623f, 0.0f, 0.0f, 0.0f, 1.361257f},         // Zeppelin
        {-0.1045249f, 0.0f, 0.5969881f, 0.0f, 0.1719666f, 0.0f, 1.361257f},          // Roll Bar
        {0.5309335f, 0.545477f, 0.004569628f, 0.0f, 0.0f, 0.0f, 1.361257f}, // Front Suspension
        {0.104452f, -0.6409558f, 0.001991381f, 3.063622f, 0.001087934f, 0.0f,
         1.221241f}, // Rear Suspension
    },
    // 3 Eagle
    {
        {2.34464f, -0.1897463f, 0.005221113f, 0.0f, -0.0004281005f, 0.0f, 1.361257f}, // Nose
        {-1.531506f, 0.0f, -0.002612749f, 3.141032f, 0.001328811f, 0.0f, 1.361257f},  // Gearbox
        {-0.2546582f, -0.2662106f, 0.3353121f, 0.0f, 0.0f, 0.0f, 1.361257f},          // Zeppelin
        {-0.0958153f, 0.0f, 0.6047592f, 0.0f, 0.1742766f, 0.0f, 1.361257f},           // Roll Bar
        {0.6223063f, 0.598394f, 0.0f, 0.0f, -0.001042521f, 0.0f, 1.361257f}, // Front Suspension
        {0.09956384f, -0.6421904f, -0.0003873708f, 3.063618f, 0.0f, 0.0f,
         1.221253f}, // Rear Suspension
    },
    // 4 Ferrari
    {
        {2.503119f, 0.004071432f, 0.002243254f, 0.0f, 0.005823705f, 0.0f, 1.361257f}, // Nose
        {-0.9975056f, 0.0f, 0.002297342f, 3.141032f, 0.0004790172f, 0.0f, 1.361257f}, // Gearbox
        {-0.4037362f, -0.2967452f, 0.3977028f, 0.0f, 0.0f, 0.0f, 1.361257f},          // Zeppelin
        {0.1464996f, 0.0f, 0.5980469f, 0.0f, 0.1719921f, 0.0f, 1.361257f},            // Roll Bar
        {0.6039141f, 0.6030281f, 0.004569628f, 0.0f, 0.0f, 0.0f, 1.361257f}, // Front Suspension
        {0.1136071f, -0.6417258f, -0.0002681105f, 3.064143f, 0.0f, 0.0f,
         1.221235f}, // Rear Suspension
    },
    // 5 Lotus
    {
        {2.452515f, -0.0025759f, -0.003411487f, 0.0f, 0.0f, 0.0f, 1.361257f},         // Nose
        {-0.9995754f, 0.0f, 0.0f, 3.142077f, 0.0f, 0.0f, 1.361257f},                  // Gearbox
        {-0.2706765f, -0.2888242f, 0.4461198f, 0.0f, -0.001526897f, 0.0f, 1.361257f}, // Zeppelin
        {0.02424778f, -0.002001534f, 0.6045981f, 0.0005975572f, 0.1719432f, 0.0f,
         1.361257f},                                                           // Roll Bar
        {0.5978822f, 0.5981543f, 0.0f, 0.0f, -0.0003759745f, 0.0f, 1.361257f}, // Front Suspension
        {0.1483817f, -0.6433045f, -0.000340251f, 3.063691f, 0.0f, 0.0f,
         1.221234f}, // Rear Suspension
    },
    // 6 Murasama
    {
        {2.34464f, -0.1897463f, 0.005221113f, 0.0f, -0.0004281005f, 0.0f, 1.361257f}, // Nose
        {-1.531506f, 0.0f, 0.004158419f, 3.140814f, 0.001328811f, 0.0f, 1.361257f},   // Gearbox
        {-0.2546582f, -0.2662106f, 0.3353121f, -0.046584f, 0.0f, 0.0f, 1.361257f},    // Zeppelin
        {-0.09838573f, 0.0f, 0.6044223f, 0.0f, 0.1732118f, 0.0f, 1.361257f},          // Roll Bar
        {0.5970627f, 0.6013671f, 0.0f, 0.0f, -0.001042521f, 0.0f, 1.361257f}, // Front Suspension
        {0.1120829f, -0.6427268f, 0.0f, 3.063823f, 0.0f, 0.0f, 1.221253f},    // Rear Suspension
    },
};

} // namespace

DefaultTable SetupDefaults()
{
    DefaultTable defaults;
    defaults.m_header = MakeCCamHeader();
    static const char *const makes[CarTypeCount] = {"Brabham", "BRM",   "Coventry", "Eagle",
                                                    "Ferrari", "Lotus", "Murasama"};
    static const char *const fileNames[CarTypeCount] = {
        "brabham.cam", "brm.cam",   "coventry.cam", "eagle.cam",
        "ferrari.cam", "lotus.cam", "murasama.cam"};
    for (int carType = 0; carType < CarTypeCount; ++carType) {
        defaults.m_makeNames[carType] = QString::fromLatin1(makes[carType]);
        defaults.m_fileNames[carType] = QString::fromLatin1(fileNames[carType]);
        for (int camera = 0; camera < CameraCount; ++camera) {
            const SevenFields &f = table[carType][camera];
            defaults.m_cameras[carType][camera] =
                CameraRecord{f.X, f.Y, f.Z, f.Yaw1, f.Pitch1, f.Bank, f.Zoom, 0.0f, -0.125f};
        }
    }
    return defaults;
}

} // namespace modDefaultVariableSetup

#pragma once

#include "camerarecord.h"
#include "slidervalues.h"
#include "windowlayout.h"

// Where the controls of the two windows stand, in layout units, each within its
// container. A control's place is named after the control.

// The main window: the client area holds the camera selector, the editor frame,
// the file row and the three views.
namespace MainWindowPlaces {

using WindowLayout::Place;

// The client area, with its top-left corner's place on the screen.
inline constexpr Place Client = {165, 450, 11880, 8025};

// In the client area.
inline constexpr Place CameraSelectorFrame = {120, 0, 2055, 3975};
inline constexpr Place Cameditframe = {2280, 0, 9495, 3975};
inline constexpr Place lblfile1 = {120, 4080, 5175, 315};
inline constexpr Place cmdLoadCCamFile = {6120, 4080, 1815, 255};
inline constexpr Place cmdsaveCameraFile = {8040, 4080, 1815, 255};
inline constexpr Place cmdMakeCamFile = {9960, 4080, 1815, 255};
// Picture1, Picture2 and Picture3, the three views, are in viewplaces.h.

// In the camera selector: the camera options, in camera order, and the note below them.
inline constexpr Place optionPlaces[CameraCount] = {
    {240, 360, 1575, 375},  {240, 720, 1575, 375},  {240, 1080, 1695, 375},
    {240, 1440, 1455, 375}, {240, 1800, 1575, 375}, {240, 2160, 1695, 375},
};
inline constexpr Place Label1 = {120, 2520, 1815, 735};

// In the editor frame: the nine value rows, in field order, each a row label, a
// value display, a unit label and a slider.
inline constexpr int RowLabelHeight = 255;
inline constexpr int ValueWidth = 795;
inline constexpr int ValueHeight = 255;
inline constexpr int MetresUnitWidth = 735;
inline constexpr int MetresUnitHeight = 255;
inline constexpr int DegreesUnitWidth = 975;
inline constexpr int DegreesUnitHeight = 195;
inline constexpr int SliderWidth = 3015;
inline constexpr int SliderHeight = 135;

struct RowPlace
{
    const char *labelName;
    int labelLeft, labelTop, labelWidth;
    int valueLeft, valueTop;
    const char *unitName;
    int unitLeft, unitTop;
    int sliderLeft, sliderTop;

    constexpr Place label() const { return {labelLeft, labelTop, labelWidth, RowLabelHeight}; }
    constexpr Place value() const { return {valueLeft, valueTop, ValueWidth, ValueHeight}; }
    constexpr Place metresUnit() const
    {
        return {unitLeft, unitTop, MetresUnitWidth, MetresUnitHeight};
    }
    constexpr Place degreesUnit() const
    {
        return {unitLeft, unitTop, DegreesUnitWidth, DegreesUnitHeight};
    }
    constexpr Place slider() const { return {sliderLeft, sliderTop, SliderWidth, SliderHeight}; }
};
inline constexpr RowPlace rowPlaces[SliderCount] = {
    {"Label2", 540, 360, 135, 780, 360, "Label12", 1680, 360, 780, 660},
    {"Label3", 540, 960, 135, 780, 942, "Label13", 1680, 960, 780, 1260},
    {"Label4", 540, 1560, 135, 780, 1524, "Label14", 1680, 1560, 780, 1845},
    {"Label6", 240, 2160, 495, 780, 2106, "Label15", 1680, 2100, 780, 2430},
    {"Label7", 240, 2760, 495, 780, 2688, "Label16", 1680, 2700, 780, 3015},
    {"Label8", 240, 3300, 615, 780, 3210, "Label17", 1680, 3240, 780, 3540},
    {"Label9", 4560, 1080, 1095, 5700, 1080, "Label18", 6540, 1080, 5700, 1380},
    {"Label10", 4620, 1680, 1035, 5700, 1665, "Label19", 6540, 1680, 5700, 1980},
    {"Label11", 4620, 2220, 975, 5700, 2250, "Label20", 6540, 2280, 5700, 2565},
};

// The labels at the ends of a slider that tell which way its value grows.
struct DirectionPlace
{
    const char *name;
    const char *caption;
    int left, top, width, height;
    bool atLeftEnd;
};
inline constexpr DirectionPlace directionPlaces[] = {
    {"Label5", "<- Rear", 120, 600, 615, 255, true},
    {"Label23", "Front->", 3840, 600, 615, 255, false},
    {"Label24", "<- Right", 60, 1200, 675, 255, true},
    {"Label25", "Left ->", 3840, 1200, 615, 195, false},
    {"Label26", "<- Down", 120, 1800, 615, 195, true},
    {"Label27", "Up ->", 3840, 1800, 555, 195, false},
    {"Label28", "<- Right", 60, 2400, 675, 255, true},
    {"Label29", "Left ->", 3840, 2400, 615, 195, false},
    {"Label31", "<- Up", 120, 3000, 555, 195, true},
    {"Label30", "Down ->", 3840, 3000, 735, 195, false},
    {"Label33", "<- Left", 120, 3540, 555, 255, true},
    {"Label32", "Right ->", 3840, 3540, 1035, 195, false},
    {"Label34", "<- Zoom", 4920, 1320, 615, 195, true},
    {"Label35", "Wide ->", 8760, 1320, 555, 255, false},
};

// The title and the editor's buttons, also in the editor frame.
inline constexpr Place Label21 = {5100, 2820, 4335, 555};
inline constexpr Place cmdCopyCam = {5220, 3600, 735, 255};
inline constexpr Place cmdPaste = {6000, 3600, 735, 255};
inline constexpr Place cmdEditCancel = {7500, 3600, 855, 255};
inline constexpr Place cmdeditApply = {8460, 3600, 855, 255};

} // namespace MainWindowPlaces

// The car type dialog: the option column, 360 apart, and OK at the lower right,
// level with the last option.
namespace CarTypeDialogPlaces {

using WindowLayout::Place;

inline constexpr int ClientWidth = 4140;
inline constexpr int ClientHeight = 2940;

inline constexpr Place optCarType(int index)
{
    return {180, 120 + index * 360, 1815, 315};
}
inline constexpr Place cmdCarOk = {2640, 2220, 1155, 435};

} // namespace CarTypeDialogPlaces

#include "frmcarcamera.h"

#include "cameraeditor.h"
#include "filecommands.h"
#include "optionbutton.h"
#include "picturebox.h"
#include "qtuserdialogs.h"
#include "settingsstore.h"
#include "slidervalues.h"
#include "valuelabel.h"
#include "valuescrollbar.h"
#include "windowlayout.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

namespace {

using WindowLayout::place;

constexpr int ClientWidth = 11880;
constexpr int ClientHeight = 8025;
// Where the client area opens, from the screen's top-left corner.
constexpr int ClientLeft = 165;
constexpr int ClientTop = 450;

QString arrayName(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption, const QRect &rect,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(rect);
    label->setAlignment(alignment);
    return label;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption,
                        const QRect &rect, const QString &toolTip, bool enabled = true)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(rect);
    button->setToolTip(toolTip);
    button->setEnabled(enabled);
    return button;
}

// The camera options, in camera order.
struct OptionPlace
{
    int left, top, width, height;
};
constexpr OptionPlace optionPlaces[CameraCount] = {
    {240, 360, 1575, 375},  {240, 720, 1575, 375},  {240, 1080, 1695, 375},
    {240, 1440, 1455, 375}, {240, 1800, 1575, 375}, {240, 2160, 1695, 375},
};

// The nine value rows of the editor frame, in field order.
struct RowPlace
{
    const char *labelName;
    int labelLeft, labelTop, labelWidth;
    int valueLeft, valueTop;
    const char *unitName;
    int unitLeft, unitTop;
    int sliderLeft, sliderTop;
};
constexpr RowPlace rowPlaces[SliderCount] = {
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
constexpr int RowLabelHeight = 255;
constexpr int ValueWidth = 795;
constexpr int ValueHeight = 255;
constexpr int MetresUnitWidth = 735;
constexpr int MetresUnitHeight = 255;
constexpr int DegreesUnitWidth = 975;
constexpr int DegreesUnitHeight = 195;
constexpr int SliderWidth = 3015;
constexpr int SliderHeight = 135;

// The labels at the ends of a slider that tell which way its value grows.
struct DirectionPlace
{
    const char *name;
    const char *caption;
    int left, top, width, height;
    bool atLeftEnd;
};
constexpr DirectionPlace directionPlaces[] = {
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

} // namespace

frmCarCamera::frmCarCamera(UserDialogs *dialogs, SettingsStore *settings, QWidget *parent)
    : QMainWindow(parent), m_ownDialogs(dialogs ? nullptr : new QtUserDialogs(this)),
      m_ownSettings(settings ? nullptr : new QtSettingsStore),
      m_dialogs(dialogs ? dialogs : m_ownDialogs.get()),
      m_settings(settings ? settings : m_ownSettings.get()), m_defaults(SetupDefaults())
{
    setObjectName(QStringLiteral("frmCarCamera"));
    setWindowTitle(QStringLiteral("Kestrel File Editor"));
    setWindowIcon(WindowLayout::applicationIcon());
    setFont(WindowLayout::dialogFont());

    // Menu bar: File has no items and does nothing; Help holds About.
    QAction *fileMenu = menuBar()->addAction(QStringLiteral("&File"));
    fileMenu->setObjectName(QStringLiteral("mnuFile"));
    QMenu *helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    helpMenu->setObjectName(QStringLiteral("mnuHelp"));
    QAction *about = helpMenu->addAction(QStringLiteral("&About"));
    about->setObjectName(QStringLiteral("mnuHelpAbout"));
    connect(about, &QAction::triggered, this, &frmCarCamera::showAbout);

    // The client area; controls keep their places when the window is resized.
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    // The client area, below the menu bar, opens at its fixed place on the screen.
    const int menuHeight = menuBar()->sizeHint().height();
    const QRect clientPlace = place(ClientLeft, ClientTop, ClientWidth, ClientHeight);
    setGeometry(clientPlace.adjusted(0, -menuHeight, 0, 0));

    EditorWidgets widgets;

    // Camera selector.
    auto *selector = new QGroupBox(QStringLiteral("Camera Selector"), client);
    selector->setObjectName(QStringLiteral("CameraSelectorFrame"));
    selector->setGeometry(place(120, 0, 2055, 3975));
    for (int k = 0; k < CameraCount; ++k) {
        const OptionPlace &p = optionPlaces[k];
        auto *option = new OptionButton(QLatin1String(CameraCaptions[k]), selector);
        option->setObjectName(arrayName("OptCameraNumber", k));
        option->setGeometry(place(p.left, p.top, p.width, p.height));
        widgets.OptCameraNumber[k] = option;
    }
    QLabel *note = makeLabel(
        selector, "Label1", QStringLiteral("*  Zeppelin/Shoulder view not visible during replays."),
        place(120, 2520, 1815, 735));
    note->setWordWrap(true);

    // Editor frame: no caption until a camera is selected.
    auto *frame = new QGroupBox(client);
    frame->setObjectName(QStringLiteral("Cameditframe"));
    frame->setGeometry(place(2280, 0, 9495, 3975));
    widgets.Cameditframe = frame;

    QFont bold = frame->font();
    bold.setBold(true);
    for (int i = 0; i < SliderCount; ++i) {
        const RowPlace &r = rowPlaces[i];
        const SliderSpec &info = sliderSpec(i);

        QLabel *rowLabel = makeLabel(frame, r.labelName, QLatin1String(info.caption),
                                     place(r.labelLeft, r.labelTop, r.labelWidth, RowLabelHeight));
        rowLabel->setFont(bold);

        auto *display = new ValueLabel(QLatin1String(info.designCaption), frame);
        display->setObjectName(arrayName("lblCameraValues", i));
        display->setGeometry(place(r.valueLeft, r.valueTop, ValueWidth, ValueHeight));
        display->setFrameStyle(QFrame::Box | QFrame::Plain);
        display->setLineWidth(1);
        display->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // Opaque, so that a new value repaints the display alone, not the frame behind it.
        display->setAutoFillBackground(true);
        widgets.lblCameraValues[i] = display;

        if (info.isPosition())
            makeLabel(frame, r.unitName, QStringLiteral("Meters"),
                      place(r.unitLeft, r.unitTop, MetresUnitWidth, MetresUnitHeight));
        else
            makeLabel(frame, r.unitName, QStringLiteral("Degrees"),
                      place(r.unitLeft, r.unitTop, DegreesUnitWidth, DegreesUnitHeight));

        auto *slider = new ValueScrollBar(Qt::Horizontal, frame);
        slider->setObjectName(arrayName("HScrollCam", i));
        slider->setGeometry(place(r.sliderLeft, r.sliderTop, SliderWidth, SliderHeight));
        slider->setRange(info.minimum, info.maximum);
        // Arrows move one position, clicks on the track the larger step.
        slider->setSingleStep(1);
        slider->setPageStep(info.clickStep);
        slider->setValue(info.designPosition);
        slider->setFocusPolicy(Qt::StrongFocus);
        // Opaque for the same reason: a drag repaints the bar alone.
        slider->setAutoFillBackground(true);
        widgets.HScrollCam[i] = slider;
    }
    for (const DirectionPlace &d : directionPlaces) {
        // The label at a slider's left end hugs the slider from the left, the one at
        // its right end from the right.
        makeLabel(frame, d.name, QLatin1String(d.caption), place(d.left, d.top, d.width, d.height),
                  (d.atLeftEnd ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
    }

    QLabel *title =
        makeLabel(frame, "Label21", QStringLiteral("Kestrel Editor"), place(5100, 2820, 4335, 555));
    QFont titleFont = frame->font();
    titleFont.setPointSizeF(24);
    title->setFont(titleFont);
    title->setToolTip(QStringLiteral("Written by the Kestrel developers"));

    widgets.cmdCopyCam =
        makeButton(frame, "cmdCopyCam", QStringLiteral("Copy"), place(5220, 3600, 735, 255),
                   QStringLiteral("Copy the currently active camera to copy buffer"), false);
    widgets.cmdPaste = makeButton(
        frame, "cmdPaste", QStringLiteral("Paste"), place(6000, 3600, 735, 255),
        QStringLiteral("Pastes copy buffer into currently selected camera position"), false);
    widgets.cmdEditCancel =
        makeButton(frame, "cmdEditCancel", QStringLiteral("Cancel"), place(7500, 3600, 855, 255),
                   QStringLiteral("Cancels movements of sliders, does not cancel paste."));
    widgets.cmdeditApply =
        makeButton(frame, "cmdeditApply", QStringLiteral("Apply"), place(8460, 3600, 855, 255),
                   QStringLiteral("Apply edits, enables Save camera"));

    // File row.
    QLabel *fileLabel = makeLabel(client, "lblfile1", QString(), place(120, 4080, 5175, 315));
    // A file name is shown as it is written, never as markup.
    fileLabel->setTextFormat(Qt::PlainText);
    QPushButton *load =
        makeButton(client, "cmdLoadCCamFile", QStringLiteral("Load Car Camera File"),
                   place(6120, 4080, 1815, 255), QStringLiteral("Load existing camera file."));
    widgets.cmdsaveCameraFile = makeButton(
        client, "cmdsaveCameraFile", QStringLiteral("Save Camera File As"),
        place(8040, 4080, 1815, 255), QStringLiteral("Save current camera edits."), false);
    QPushButton *makeNew =
        makeButton(client, "cmdMakeCamFile", QStringLiteral("Create New Cam File"),
                   place(9960, 4080, 1815, 255),
                   QStringLiteral("Create a new car cam.  toggle through car types"));

    // The three views.
    widgets.Picture1 = new PictureBox(PictureBox::View::Top, QColor(64, 64, 64), client);
    widgets.Picture1->setObjectName(QStringLiteral("Picture1"));
    widgets.Picture1->setGeometry(place(120, 4440, 3855, 3375));
    widgets.Picture2 = new PictureBox(PictureBox::View::Side, QColor(128, 128, 128), client);
    widgets.Picture2->setObjectName(QStringLiteral("Picture2"));
    widgets.Picture2->setGeometry(place(4080, 4440, 3855, 3375));
    widgets.Picture3 = new PictureBox(PictureBox::View::Front, QColor(128, 128, 128), client);
    widgets.Picture3->setObjectName(QStringLiteral("Picture3"));
    widgets.Picture3->setGeometry(place(8040, 4440, 3735, 3375));

    // Load: the defaults are already set up; a clean editor, then the first new
    // document (Brabham, no dialog), which selects the Nose camera.
    m_editor = std::make_unique<CameraEditor>(m_document, *m_dialogs, widgets);
    m_editor->DisableApplyCancel();
    m_fileCommands =
        std::make_unique<FileCommands>(m_document, m_defaults, *m_editor, *m_dialogs, *m_settings,
                                       FileCommands::Widgets{fileLabel, widgets.cmdsaveCameraFile});
    connect(load, &QPushButton::clicked, m_fileCommands.get(), &FileCommands::loadCameraFile);
    connect(widgets.cmdsaveCameraFile, &QPushButton::clicked, m_fileCommands.get(),
            &FileCommands::saveCameraFile);
    connect(makeNew, &QPushButton::clicked, m_fileCommands.get(), &FileCommands::makeCameraFile);
    m_fileCommands->makeCameraFile();

    setAccessibleNames(widgets);
    setFocusOrder(widgets, load, makeNew);
}

bool frmCarCamera::hasPendingChanges() const
{
    return m_editor->hasPendingChanges();
}

void frmCarCamera::setAccessibleNames(const EditorWidgets &widgets)
{
    for (int i = 0; i < SliderCount; ++i) {
        widgets.HScrollCam[i]->setAccessibleName(valueAccessibleName(i));
        widgets.lblCameraValues[i]->setAccessibleName(
            displayAccessibleName(i, widgets.lblCameraValues[i]->text()));
    }
    widgets.Picture1->setAccessibleName(QStringLiteral("Top view"));
    widgets.Picture2->setAccessibleName(QStringLiteral("Side view"));
    widgets.Picture3->setAccessibleName(QStringLiteral("Front view"));
    // Other labels and buttons are spoken by their current caption.
}

void frmCarCamera::setFocusOrder(const EditorWidgets &w, QWidget *load, QWidget *makeNew)
{
    const std::array<QWidget *, 25> order = {w.OptCameraNumber[0],
                                             w.OptCameraNumber[1],
                                             w.OptCameraNumber[2],
                                             w.OptCameraNumber[3],
                                             w.OptCameraNumber[4],
                                             w.OptCameraNumber[5],
                                             load,
                                             w.cmdeditApply,
                                             w.cmdEditCancel,
                                             w.HScrollCam[2],
                                             w.HScrollCam[3],
                                             w.HScrollCam[4],
                                             w.HScrollCam[5],
                                             w.HScrollCam[8],
                                             w.cmdsaveCameraFile,
                                             w.HScrollCam[6],
                                             w.HScrollCam[0],
                                             w.HScrollCam[7],
                                             w.HScrollCam[1],
                                             makeNew,
                                             w.cmdCopyCam,
                                             w.cmdPaste,
                                             w.Picture1,
                                             w.Picture2,
                                             w.Picture3};
    // From the last view the focus goes round to the camera options by itself.
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void frmCarCamera::showAbout()
{
    m_dialogs->message(
        QStringLiteral("Kestrel File Editor %1\n\n"
                       "Edits the per-car camera files (*.cam) of a racing simulator: the "
                       "position, view angles and zoom of each car's six on-board cameras.\n\n"
                       "Written by the Kestrel developers.")
            .arg(QStringLiteral(KESTREL_VERSION)),
        UserDialogs::applicationTitle(), UserDialogs::Buttons::Ok);
}

// The editor and the commands go before the widgets they work on.
frmCarCamera::~frmCarCamera() = default;

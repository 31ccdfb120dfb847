#include "frmcarcamera.h"

#include "cameraeyecontroller.h"
#include "edithistory.h"
#include "filecommands.h"
#include "filedrop.h"
#include "mainmenus.h"
#include "optionbutton.h"
#include "picturebox.h"
#include "qtuserdialogs.h"
#include "settingsstore.h"
#include "slidervalues.h"
#include "valuelabel.h"
#include "valuescrollbar.h"
#include "windowlayout.h"
#include "windowplaces.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {

using FileDrop::draggedFile;
using FileDrop::takeDrag;
using WindowLayout::place;
namespace Places = MainWindowPlaces;

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

} // namespace

frmCarCamera::frmCarCamera(UserDialogs *dialogs, SettingsStore *settings, QWidget *parent)
    : QMainWindow(parent), m_ownDialogs(dialogs ? nullptr : new QtUserDialogs(this)),
      m_ownSettings(settings ? nullptr
                             : new QtSettingsStore(QtSettingsStore::forProgramFolder(
                                   QCoreApplication::applicationDirPath()))),
      m_dialogs(dialogs ? dialogs : m_ownDialogs.get()),
      m_settings(settings ? settings : m_ownSettings.get()), m_defaults(SetupDefaults())
{
    setObjectName(QStringLiteral("frmCarCamera"));
    setWindowIcon(WindowLayout::applicationIcon());
    setFont(WindowLayout::dialogFont());

    // The controls, created in this order: it is their stacking order.
    createMenus();
    QWidget *client = createClientArea();
    createCameraSelector(client);
    createEditorFrame(client);
    createFileRow(client);
    createViews(client);

    // Load: the defaults are already set up; a clean editor, then the first new
    // document (Brabham, no dialog), which selects the Nose camera.
    m_editor = std::make_unique<CameraEditor>(m_document, *m_dialogs, m_widgets);
    m_editor->DisableApplyCancel();
    m_history = std::make_unique<EditHistory>(m_document, *m_editor);
    m_fileCommands = std::make_unique<FileCommands>(
        m_document, m_defaults, *m_editor, *m_history, *m_dialogs, *m_settings,
        FileCommands::Widgets{m_lblfile1, m_widgets.cmdsaveCameraFile});
    connectCommands();
    m_fileCommands->makeCameraFile();
    m_cameraEye = std::make_unique<CameraEyeController>(this, *m_editor, m_widgets, *m_settings);

    setAccessibleNames();
    setFocusOrder();
    setAcceptDrops(true);
}

// The editor and the commands go before the widgets they work on.
frmCarCamera::~frmCarCamera() = default;

bool frmCarCamera::hasPendingChanges() const
{
    return m_editor->hasPendingChanges();
}

void frmCarCamera::openCameraFile(const QString &path)
{
    m_fileCommands->openCameraFile(path);
}

void frmCarCamera::closeEvent(QCloseEvent *event)
{
    if (m_fileCommands->askToSaveChanges())
        event->accept();
    else
        event->ignore();
}

void frmCarCamera::dragEnterEvent(QDragEnterEvent *event)
{
    if (!takeDrag(event))
        event->ignore();
}

void frmCarCamera::dragMoveEvent(QDragMoveEvent *event)
{
    if (!takeDrag(event))
        event->ignore();
}

// The drop is finished first and the file opened afterwards, so that a message box
// about the file does not keep the program the file came from waiting.
void frmCarCamera::dropEvent(QDropEvent *event)
{
    if (!takeDrag(event)) {
        event->ignore();
        return;
    }
    const QString path = draggedFile(event->mimeData());
    QMetaObject::invokeMethod(
        this, [this, path] { openCameraFile(path); }, Qt::QueuedConnection);
}

// Menu bar: File, Edit and Help (the camera's eye adds View before Help).
void frmCarCamera::createMenus()
{
    m_menus = new MainMenus(this);
    QMenu *helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    helpMenu->setObjectName(QStringLiteral("mnuHelp"));
    QAction *about = helpMenu->addAction(QStringLiteral("&About"));
    about->setObjectName(QStringLiteral("mnuHelpAbout"));
    connect(about, &QAction::triggered, this, &frmCarCamera::showAbout);
}

// The client area; controls keep their places when the window is resized.
QWidget *frmCarCamera::createClientArea()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    // The client area, below the menu bar, opens at its fixed place on the screen.
    const int menuHeight = menuBar()->sizeHint().height();
    setGeometry(place(Places::Client).adjusted(0, -menuHeight, 0, 0));
    return client;
}

void frmCarCamera::createCameraSelector(QWidget *client)
{
    auto *selector = new QGroupBox(QStringLiteral("Camera Selector"), client);
    selector->setObjectName(QStringLiteral("CameraSelectorFrame"));
    selector->setGeometry(place(Places::CameraSelectorFrame));
    for (int k = 0; k < CameraCount; ++k) {
        auto *option = new OptionButton(QLatin1String(CameraCaptions[k]), selector);
        option->setObjectName(arrayName("OptCameraNumber", k));
        option->setGeometry(place(Places::optionPlaces[k]));
        m_widgets.OptCameraNumber[k] = option;
    }
    QLabel *note = makeLabel(
        selector, "Label1", QStringLiteral("*  Zeppelin/Shoulder view not visible during replays."),
        place(Places::Label1));
    note->setWordWrap(true);
}

// The editor frame: no caption until a camera is selected.
void frmCarCamera::createEditorFrame(QWidget *client)
{
    auto *frame = new QGroupBox(client);
    frame->setObjectName(QStringLiteral("Cameditframe"));
    frame->setGeometry(place(Places::Cameditframe));
    m_widgets.Cameditframe = frame;

    QFont bold = frame->font();
    bold.setBold(true);
    for (int i = 0; i < SliderCount; ++i) {
        const Places::RowPlace &r = Places::rowPlaces[i];
        const SliderSpec &info = sliderSpec(i);

        QLabel *rowLabel =
            makeLabel(frame, r.labelName, QLatin1String(info.caption), place(r.label()));
        rowLabel->setFont(bold);

        auto *display = new ValueLabel(QLatin1String(info.designCaption), frame);
        display->setObjectName(arrayName("lblCameraValues", i));
        display->setGeometry(place(r.value()));
        display->setFrameStyle(QFrame::Box | QFrame::Plain);
        display->setLineWidth(1);
        display->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // Opaque, so that a new value repaints the display alone, not the frame behind it.
        display->setAutoFillBackground(true);
        m_widgets.lblCameraValues[i] = display;

        if (info.isPosition())
            makeLabel(frame, r.unitName, QStringLiteral("Meters"), place(r.metresUnit()));
        else
            makeLabel(frame, r.unitName, QStringLiteral("Degrees"), place(r.degreesUnit()));

        auto *slider = new ValueScrollBar(Qt::Horizontal, frame);
        slider->setObjectName(arrayName("HScrollCam", i));
        slider->setGeometry(place(r.slider()));
        slider->setRange(info.minimum, info.maximum);
        // Arrows move one position, clicks on the track the larger step.
        slider->setSingleStep(1);
        slider->setPageStep(info.clickStep);
        slider->setValue(info.designPosition);
        slider->setFocusPolicy(Qt::StrongFocus);
        // Opaque for the same reason: a drag repaints the bar alone.
        slider->setAutoFillBackground(true);
        m_widgets.HScrollCam[i] = slider;
    }
    for (const Places::DirectionPlace &d : Places::directionPlaces) {
        // The label at a slider's left end hugs the slider from the left, the one at
        // its right end from the right.
        makeLabel(frame, d.name, QLatin1String(d.caption), place(d.left, d.top, d.width, d.height),
                  (d.atLeftEnd ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
    }

    QLabel *title =
        makeLabel(frame, "Label21", QStringLiteral("Kestrel Editor"), place(Places::Label21));
    QFont titleFont = frame->font();
    titleFont.setPointSizeF(24);
    title->setFont(titleFont);
    title->setToolTip(QStringLiteral("Written by the Kestrel developers"));

    m_widgets.cmdCopyCam =
        makeButton(frame, "cmdCopyCam", QStringLiteral("Copy"), place(Places::cmdCopyCam),
                   QStringLiteral("Copy the currently active camera to copy buffer"), false);
    m_widgets.cmdPaste = makeButton(
        frame, "cmdPaste", QStringLiteral("Paste"), place(Places::cmdPaste),
        QStringLiteral("Pastes copy buffer into currently selected camera position"), false);
    m_widgets.cmdEditCancel =
        makeButton(frame, "cmdEditCancel", QStringLiteral("Cancel"), place(Places::cmdEditCancel),
                   QStringLiteral("Cancels movements of sliders, does not cancel paste."));
    m_widgets.cmdeditApply =
        makeButton(frame, "cmdeditApply", QStringLiteral("Apply"), place(Places::cmdeditApply),
                   QStringLiteral("Apply edits, enables Save camera"));
}

void frmCarCamera::createFileRow(QWidget *client)
{
    m_lblfile1 = makeLabel(client, "lblfile1", QString(), place(Places::lblfile1));
    // A file name is shown as it is written, never as markup.
    m_lblfile1->setTextFormat(Qt::PlainText);
    m_cmdLoadCCamFile =
        makeButton(client, "cmdLoadCCamFile", QStringLiteral("Load Car Camera File"),
                   place(Places::cmdLoadCCamFile), QStringLiteral("Load existing camera file."));
    m_widgets.cmdsaveCameraFile = makeButton(
        client, "cmdsaveCameraFile", QStringLiteral("Save Camera File As"),
        place(Places::cmdsaveCameraFile), QStringLiteral("Save current camera edits."), false);
    m_cmdMakeCamFile =
        makeButton(client, "cmdMakeCamFile", QStringLiteral("Create New Cam File"),
                   place(Places::cmdMakeCamFile),
                   QStringLiteral("Create a new car cam.  toggle through car types"));
}

// The top, side and front views.
void frmCarCamera::createViews(QWidget *client)
{
    m_widgets.Picture1 =
        new PictureBox(PictureBox::View::Top, ViewColours::Picture1Background, client);
    m_widgets.Picture1->setObjectName(QStringLiteral("Picture1"));
    m_widgets.Picture1->setGeometry(place(Places::Picture1));
    m_widgets.Picture2 =
        new PictureBox(PictureBox::View::Side, ViewColours::Picture2Background, client);
    m_widgets.Picture2->setObjectName(QStringLiteral("Picture2"));
    m_widgets.Picture2->setGeometry(place(Places::Picture2));
    m_widgets.Picture3 =
        new PictureBox(PictureBox::View::Front, ViewColours::Picture3Background, client);
    m_widgets.Picture3->setObjectName(QStringLiteral("Picture3"));
    m_widgets.Picture3->setGeometry(place(Places::Picture3));
}

// The file row's buttons and the menus run the file commands; the title follows the
// document.
void frmCarCamera::connectCommands()
{
    m_menus->connectCommands(*m_fileCommands, *m_history, m_cmdMakeCamFile, m_cmdLoadCCamFile,
                             m_widgets.cmdCopyCam, m_widgets.cmdPaste);
    connect(m_fileCommands.get(), &FileCommands::documentFileChanged, this,
            &frmCarCamera::updateTitle);
    connect(m_history.get(), &EditHistory::changed, this, &frmCarCamera::updateTitle);
    connect(m_cmdLoadCCamFile, &QPushButton::clicked, m_fileCommands.get(),
            &FileCommands::loadCameraFile);
    connect(m_widgets.cmdsaveCameraFile, &QPushButton::clicked, m_fileCommands.get(),
            &FileCommands::saveCameraFile);
    connect(m_cmdMakeCamFile, &QPushButton::clicked, m_fileCommands.get(),
            &FileCommands::makeCameraFile);
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

void frmCarCamera::updateTitle()
{
    // A "[*]" in the file's name is shown as written, not as the mark.
    QString name = m_fileCommands->documentName();
    name.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
    setWindowTitle(name + QStringLiteral("[*] - Kestrel File Editor"));
    setWindowModified(m_history->isModified());
}

#include "frmcarcamera.h"

#include "cameraeyecontroller.h"
#include "filecommands.h"
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
#include <QApplication>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

namespace {

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

// The file a drag brings, if the window takes it: exactly one local file that is not
// a folder. A name that names no camera file is taken and then refused by the open
// command, as the Load command refuses it.
QString draggedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return QString();
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.constFirst().isLocalFile())
        return QString();
    const QString path = urls.constFirst().toLocalFile();
    if (path.isEmpty() || QFileInfo(path).isDir())
        return QString();
    return path;
}

// Takes a drag that brings a file to open, as a copy or a link: the file is only read,
// so the source is never asked to move it. Nothing is taken while a dialog or message
// box is open.
bool takeDrag(QDropEvent *event)
{
    if (QApplication::activeModalWidget() || draggedFile(event->mimeData()).isEmpty())
        return false;
    for (const Qt::DropAction action : {Qt::CopyAction, Qt::LinkAction}) {
        if (event->possibleActions() & action) {
            event->setDropAction(action);
            event->accept();
            return true;
        }
    }
    return false;
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
    setWindowTitle(QStringLiteral("Kestrel File Editor"));
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
    m_fileCommands = std::make_unique<FileCommands>(
        m_document, m_defaults, *m_editor, *m_dialogs, *m_settings,
        FileCommands::Widgets{m_lblfile1, m_widgets.cmdsaveCameraFile});
    connectCommands();
    m_fileCommands->makeCameraFile();
    m_cameraEye = std::make_unique<CameraEyeController>(this, m_widgets, *m_settings);

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

// Menu bar: File has no items and does nothing; Help holds About.
void frmCarCamera::createMenus()
{
    QAction *fileMenu = menuBar()->addAction(QStringLiteral("&File"));
    fileMenu->setObjectName(QStringLiteral("mnuFile"));
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

// The file row's buttons run the file commands.
void frmCarCamera::connectCommands()
{
    connect(m_cmdLoadCCamFile, &QPushButton::clicked, m_fileCommands.get(),
            &FileCommands::loadCameraFile);
    connect(m_widgets.cmdsaveCameraFile, &QPushButton::clicked, m_fileCommands.get(),
            &FileCommands::saveCameraFile);
    connect(m_cmdMakeCamFile, &QPushButton::clicked, m_fileCommands.get(),
            &FileCommands::makeCameraFile);
}

void frmCarCamera::setAccessibleNames()
{
    for (int i = 0; i < SliderCount; ++i) {
        m_widgets.HScrollCam[i]->setAccessibleName(valueAccessibleName(i));
        m_widgets.lblCameraValues[i]->setAccessibleName(
            displayAccessibleName(i, m_widgets.lblCameraValues[i]->text()));
    }
    m_widgets.Picture1->setAccessibleName(QStringLiteral("Top view"));
    m_widgets.Picture2->setAccessibleName(QStringLiteral("Side view"));
    m_widgets.Picture3->setAccessibleName(QStringLiteral("Front view"));
    // Other labels and buttons are spoken by their current caption.
}

void frmCarCamera::setFocusOrder()
{
    const EditorWidgets &w = m_widgets;
    const std::array<QWidget *, 25> order = {w.OptCameraNumber[0],
                                             w.OptCameraNumber[1],
                                             w.OptCameraNumber[2],
                                             w.OptCameraNumber[3],
                                             w.OptCameraNumber[4],
                                             w.OptCameraNumber[5],
                                             m_cmdLoadCCamFile,
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
                                             m_cmdMakeCamFile,
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

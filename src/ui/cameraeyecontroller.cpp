#include "cameraeyecontroller.h"

#include "cameraeyeview.h"
#include "frmcameraeye.h"
#include "settingsstore.h"
#include "slidervalues.h"
#include "viewcamera.h"

#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

constexpr int Yaw1Slider = 3;
constexpr int Pitch1Slider = 4;
constexpr int ZoomSlider = 6;

const QString Section = QStringLiteral("CameraEye");
const QString VisibleKey = QStringLiteral("Visible");
const QString GeometryKey = QStringLiteral("Geometry");
// Pixels between the main window and the eye window placed beside it.
constexpr int EyeWindowGap = 8;

} // namespace

CameraEyeController::CameraEyeController(QMainWindow *mainWindow, const CameraEditor &editor,
                                         const EditorWidgets &widgets, SettingsStore &settings)
    : m_mainWindow(mainWindow), m_editor(editor), m_widgets(widgets), m_settings(settings),
      m_window(new frmCameraEye(mainWindow))
{
    createMenu(mainWindow);
    // Connected after the editor's own handling, so the sliders and the frame's
    // caption are already those of the new position or camera.
    for (QScrollBar *slider : m_widgets.HScrollCam)
        connect(slider, &QScrollBar::valueChanged, this, &CameraEyeController::showCamera);
    for (QRadioButton *option : m_widgets.OptCameraNumber)
        connect(option, &QRadioButton::toggled, this, &CameraEyeController::showCaption);
    connect(m_window->picture(), &CameraEyeView::aimRequested, this, &CameraEyeController::aim);
    connect(m_window->picture(), &CameraEyeView::zoomRequested, this, &CameraEyeController::zoom);
    connect(m_window, &frmCameraEye::closed, this, [this] {
        m_action->setChecked(false);
        remember(false);
    });
    showCamera();
    showCaption();
    mainWindow->installEventFilter(this);
}

CameraEyeController::~CameraEyeController()
{
    m_mainWindow->removeEventFilter(this);
}

void CameraEyeController::createMenu(QMainWindow *mainWindow)
{
    auto *view = new QMenu(QStringLiteral("&View"), mainWindow->menuBar());
    view->setObjectName(QStringLiteral("mnuView"));
    m_action = view->addAction(QStringLiteral("Camera's Eye"));
    m_action->setObjectName(QStringLiteral("mnuViewCameraEye"));
    m_action->setCheckable(true);
    m_action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    // The shortcut works in the eye window too.
    m_window->addAction(m_action);
    const QMenu *help = mainWindow->menuBar()->findChild<QMenu *>(QStringLiteral("mnuHelp"));
    mainWindow->menuBar()->insertMenu(help ? help->menuAction() : nullptr, view);
    connect(m_action, &QAction::toggled, this, &CameraEyeController::setVisible);
}

void CameraEyeController::setVisible(bool visible)
{
    if (visible == m_window->isVisible())
        return;
    if (visible) {
        m_window->show();
        m_window->raise();
        m_window->activateWindow();
        remember(true);
    } else {
        m_window->close(); // unchecks the item and remembers it closed
    }
}

void CameraEyeController::showCamera()
{
    m_window->picture()->setCamera(viewCameraForPositions(m_editor.workingCopy()));
}

void CameraEyeController::showCaption()
{
    m_window->setCameraCaption(m_widgets.Cameditframe->title());
}

void CameraEyeController::aim(const EyeAim &aim)
{
    setSlider(Yaw1Slider, aim.yaw);
    setSlider(Pitch1Slider, aim.pitch);
}

void CameraEyeController::zoom(int notches)
{
    QScrollBar *slider = m_widgets.HScrollCam[ZoomSlider];
    slider->setValue(
        zoomPositionAfterNotches(slider->value(), notches, slider->minimum(), slider->maximum()));
}

// Sets an angle slider to the position nearest `degrees` (halves to even), within its
// range: its change handling runs as for a move by hand.
void CameraEyeController::setSlider(int index, double degrees)
{
    m_widgets.HScrollCam[index]->setValue(pointedPosition(index, degrees));
}

void CameraEyeController::remember(bool visible)
{
    m_settings.write(Section, VisibleKey, visible ? QStringLiteral("1") : QStringLiteral("0"));
    m_settings.write(Section, GeometryKey,
                     QString::fromLatin1(m_window->saveGeometry().toBase64()));
}

void CameraEyeController::restore()
{
    const QByteArray geometry =
        QByteArray::fromBase64(m_settings.read(Section, GeometryKey, QString()).toLatin1());
    if (geometry.isEmpty() || !m_window->restoreGeometry(geometry))
        placeBesideMainWindow();
    if (m_settings.read(Section, VisibleKey, QStringLiteral("0")) == QStringLiteral("1"))
        m_action->setChecked(true);
}

// The first time, the window opens to the right of the main window, not over it;
// where the screen is too narrow for that, as far right as it fits.
void CameraEyeController::placeBesideMainWindow()
{
    const QRect main = m_mainWindow->frameGeometry();
    const QScreen *screen = m_mainWindow->screen();
    QPoint at(main.right() + 1 + EyeWindowGap, main.top());
    if (screen) {
        const QRect room = screen->availableGeometry();
        // The window's frame, not yet drawn, as wide as the main window's.
        const QRect inner = m_mainWindow->geometry();
        const QSize size = m_window->size() + (main.size() - inner.size());
        at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - size.width())));
        at.setY(std::max(room.top(), std::min(at.y(), room.bottom() + 1 - size.height())));
    }
    m_window->move(at);
}

bool CameraEyeController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && !m_restored) {
        m_restored = true;
        restore();
    } else if (event->type() == QEvent::Hide && !m_mainWindow->isVisible() &&
               m_window->isVisible()) {
        // The main window has closed (a minimized one stays visible), which ends the
        // program: the eye window goes with it and is remembered open.
        remember(true);
        m_window->blockSignals(true);
        m_window->close();
        m_window->blockSignals(false);
    }
    return QObject::eventFilter(watched, event);
}

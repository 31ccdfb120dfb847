#include "cameraeditor.h"

#include "picturebox.h"
#include "slidervalues.h"
#include "userdialogs.h"
#include "valuelabel.h"
#include "viewcamera.h"

#include <QEvent>
#include <QGroupBox>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace {

// The decimal separator of the user's number format, used for the value displays
// and accepted in typed entry beside the full stop.
QChar userDecimalPoint()
{
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 ? point.front() : QLatin1Char('.');
}

constexpr int XSlider = 0;
constexpr int YSlider = 1;
constexpr int ZSlider = 2;

} // namespace

CameraEditor::CameraEditor(CameraDocument &document, UserDialogs &dialogs,
                           const EditorWidgets &widgets, QObject *parent)
    : QObject(parent), m_document(document), m_dialogs(dialogs), m_widgets(widgets)
{
    for (int i = 0; i < SliderCount; ++i) {
        // valueChanged comes for every new position, whatever moved it: dragging
        // (the bars track), arrows, page clicks, keys and code. It does not come
        // when a position is set to the one the slider already has.
        connect(m_widgets.HScrollCam[i], &QScrollBar::valueChanged, this,
                [this, i](int position) { sliderChanged(i, position); });
        connect(m_widgets.lblCameraValues[i], &ValueLabel::clicked, this,
                [this, i] { typedEntry(i); });
    }

    for (int k = 0; k < CameraCount; ++k) {
        QRadioButton *option = m_widgets.OptCameraNumber[k];
        // Selections by mouse, keyboard or code all arrive here.
        connect(option, &QRadioButton::toggled, this, [this, k](bool checked) {
            if (checked)
                Selection(k);
        });
        option->installEventFilter(this);
    }

    connect(m_widgets.cmdeditApply, &QPushButton::clicked, this, &CameraEditor::apply);
    connect(m_widgets.cmdEditCancel, &QPushButton::clicked, this, &CameraEditor::cancel);
    connect(m_widgets.cmdCopyCam, &QPushButton::clicked, this, &CameraEditor::copy);
    connect(m_widgets.cmdPaste, &QPushButton::clicked, this, &CameraEditor::paste);

    // Pointing: the horizontal axis of a view is always set before its vertical one.
    connect(m_widgets.Picture1, &PictureBox::pressed, this, [this](double x, double y) {
        Xset(x);
        Yset(y);
    });
    connect(m_widgets.Picture2, &PictureBox::pressed, this, [this](double x, double y) {
        Xset(x);
        Zset(y);
    });
    connect(m_widgets.Picture3, &PictureBox::pressed, this, [this](double x, double y) {
        Yset(x);
        Zset(y);
    });
}

void CameraEditor::EditorFill(int cameraNumber)
{
    m_activeCamera = cameraNumber;
    const CameraRecord record = m_document.DocumentCameras[cameraNumber];
    // One slider after the other: each one that moves redraws the views from the
    // positions as they stand at that moment. A value the slider cannot hold shows
    // at the nearest end of its range (a NaN at 0); the record keeps it until Apply.
    m_filling = true;
    for (int i = 0; i < SliderCount; ++i)
        m_widgets.HScrollCam[i]->setValue(positionForField(i, record.field(i)));
    m_filling = false;
    m_widgets.cmdCopyCam->setEnabled(true);
}

void CameraEditor::ApplyActiveCam(int camera)
{
    CameraRecord &record = m_document.DocumentCameras[camera];
    for (int i = 0; i < SliderCount; ++i)
        record.setField(i, fieldForPosition(i, m_widgets.HScrollCam[i]->value()));
}

void CameraEditor::DisableApplyCancel()
{
    const bool wasPending = hasPendingChanges();
    m_widgets.cmdeditApply->setEnabled(false);
    m_widgets.cmdEditCancel->setEnabled(false);
    if (wasPending)
        emit pendingChanged(false);
}

bool CameraEditor::hasPendingChanges() const
{
    return m_widgets.cmdeditApply->isEnabled();
}

void CameraEditor::apply()
{
    const CameraRecord before = m_document.DocumentCameras[m_activeCamera];
    ApplyActiveCam(m_activeCamera);
    DisableApplyCancel();
    m_widgets.cmdsaveCameraFile->setEnabled(true);
    emit recordChanged(m_activeCamera, before, m_document.DocumentCameras[m_activeCamera],
                       Change::Apply);
}

void CameraEditor::cancel()
{
    EditorFill(m_activeCamera);
    DisableApplyCancel();
}

void CameraEditor::Selection(int k)
{
    m_widgets.Cameditframe->setTitle(m_widgets.OptCameraNumber[k]->text() +
                                     QStringLiteral(" Camera"));
    EditorFill(k);
    DisableApplyCancel();
}

void CameraEditor::showFirstCamera()
{
    showCamera(NoseCamera);
}

void CameraEditor::showCamera(int k)
{
    QRadioButton *option = m_widgets.OptCameraNumber[k];
    if (option->isChecked()) {
        EditorFill(k);
        DisableApplyCancel();
    } else {
        option->setChecked(true); // runs Selection, which fills and disables
    }
}

std::array<int, CameraRecord::FieldCount> CameraEditor::workingCopy() const
{
    std::array<int, SliderCount> positions{};
    for (int i = 0; i < SliderCount; ++i)
        positions[i] = m_widgets.HScrollCam[i]->value();
    return positions;
}

void CameraEditor::setWorkingCopy(const std::array<int, CameraRecord::FieldCount> &positions)
{
    for (int i = 0; i < SliderCount; ++i)
        m_widgets.HScrollCam[i]->setValue(positions[i]);
}

void CameraEditor::copy()
{
    // The record as stored: moves not yet applied are not copied.
    m_copyBuffer = m_document.DocumentCameras[m_activeCamera];
    m_widgets.cmdPaste->setEnabled(true);
}

void CameraEditor::paste()
{
    // The document takes the copy at once; the fill leaves Apply and Cancel enabled
    // if any slider moved, and Cancel cannot undo the paste.
    const CameraRecord before = m_document.DocumentCameras[m_activeCamera];
    m_document.DocumentCameras[m_activeCamera] = m_copyBuffer;
    EditorFill(m_activeCamera);
    emit recordChanged(m_activeCamera, before, m_copyBuffer, Change::Paste);
}

void CameraEditor::typedEntry(int index)
{
    const SliderSpec &info = sliderSpec(index);
    const QString text =
        m_dialogs.inputBox(QString::fromLatin1(info.prompt), QString::fromLatin1(info.title),
                           m_widgets.lblCameraValues[index]->text());
    const TypedEntryResult result = evaluateTypedEntry(index, text, userDecimalPoint());
    switch (result.outcome) {
    case TypedEntryResult::Empty:
        return;
    case TypedEntryResult::NotNumeric:
        m_dialogs.message(QString::fromLatin1(info.nonNumericMessage),
                          UserDialogs::applicationTitle(), UserDialogs::Buttons::Ok);
        return;
    case TypedEntryResult::OutOfRange:
        m_dialogs.message(QString::fromLatin1(ValueOutsideOfRangeMessage),
                          UserDialogs::applicationTitle(), UserDialogs::Buttons::Ok);
        return;
    case TypedEntryResult::Accepted:
        // The same position as before changes nothing.
        m_widgets.HScrollCam[index]->setValue(result.position);
        return;
    }
}

void CameraEditor::Xset(double metres)
{
    m_widgets.HScrollCam[XSlider]->setValue(pointedPosition(XSlider, metres));
}

void CameraEditor::Yset(double metres)
{
    m_widgets.HScrollCam[YSlider]->setValue(pointedPosition(YSlider, metres));
}

void CameraEditor::Zset(double metres)
{
    m_widgets.HScrollCam[ZSlider]->setValue(pointedPosition(ZSlider, metres));
}

void CameraEditor::sliderChanged(int index, int position)
{
    ValueLabel *display = m_widgets.lblCameraValues[index];
    display->setText(formatPlainDecimal(sliderValue(index, position), userDecimalPoint()));
    // Screen readers speak the row, its unit and the number.
    display->setAccessibleName(displayAccessibleName(index, display->text()));

    // The views are drawn from the sliders, never from the document. Yaw2 and
    // Pitch2 are not drawn, but a change of them redraws all the same.
    const ViewCamera camera = viewCameraForPositions(workingCopy());
    for (PictureBox *view : {m_widgets.Picture1, m_widgets.Picture2, m_widgets.Picture3})
        view->showCamera(camera);

    const bool wasPending = hasPendingChanges();
    m_widgets.cmdeditApply->setEnabled(true);
    m_widgets.cmdEditCancel->setEnabled(true);
    if (!wasPending)
        emit pendingChanged(true);
    if (!m_filling)
        emit edited();
}

int CameraEditor::cameraOptionIndex(const QObject *object) const
{
    for (int k = 0; k < CameraCount; ++k) {
        if (m_widgets.OptCameraNumber[k] == object)
            return k;
    }
    return -1;
}

bool CameraEditor::eventFilter(QObject *watched, QEvent *event)
{
    // Any button; a double click's second press counts as a press too.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        const int k = cameraOptionIndex(watched);
        // Nothing pending: the option's own handling of the click selects it.
        if (k >= 0 && hasPendingChanges()) {
            pressOnCameraOption(k);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void CameraEditor::pressOnCameraOption(int k)
{
    // The frame still names the camera being left: the selection has not changed yet.
    const UserDialogs::Answer answer =
        m_dialogs.message(QStringLiteral("Apply recent changes to ") +
                              m_widgets.Cameditframe->title() + QLatin1Char('?'),
                          QStringLiteral("Camera has changed"), UserDialogs::Buttons::YesNo);
    if (answer == UserDialogs::Answer::Yes)
        apply();

    // Whatever the answer, option k becomes the selected one; if it was already
    // selected nothing is reloaded, so after No its pending changes stay.
    QRadioButton *option = m_widgets.OptCameraNumber[k];
    option->setChecked(true);
    option->setFocus(Qt::MouseFocusReason);
}

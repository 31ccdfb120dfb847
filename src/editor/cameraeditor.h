#pragma once

#include "camerarecord.h"

#include <QObject>

#include <array>

class QEvent;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QScrollBar;
class PictureBox;
class UserDialogs;
class ValueLabel;

// The widgets the editor works on, all created and placed by the main window.
struct EditorWidgets
{
    std::array<QScrollBar *, CameraRecord::FieldCount> HScrollCam{};
    std::array<ValueLabel *, CameraRecord::FieldCount> lblCameraValues{};
    std::array<QRadioButton *, CameraCount> OptCameraNumber{};
    QGroupBox *Cameditframe = nullptr;
    QPushButton *cmdeditApply = nullptr;
    QPushButton *cmdEditCancel = nullptr;
    QPushButton *cmdCopyCam = nullptr;
    QPushButton *cmdPaste = nullptr;
    QPushButton *cmdsaveCameraFile = nullptr;
    PictureBox *Picture1 = nullptr; // top view
    PictureBox *Picture2 = nullptr; // side view
    PictureBox *Picture3 = nullptr; // front view
};

// The camera editor: one camera of the document is active; the nine sliders are
// its working copy, written back into the document only by Apply (or Paste).
class CameraEditor : public QObject
{
    Q_OBJECT

public:
    CameraEditor(CameraDocument &document, UserDialogs &dialogs, const EditorWidgets &widgets,
                 QObject *parent = nullptr);

    // Makes camera n active, sets the sliders 0..8 from its record and enables Copy.
    void EditorFill(int cameraNumber);
    // Writes the nine slider positions into the document's camera.
    void ApplyActiveCam(int camera);
    void DisableApplyCancel();
    // Whether a slider has moved since the last Apply, Cancel or camera selection:
    // Apply is enabled exactly then.
    bool hasPendingChanges() const;

    // Click of Apply and of Cancel.
    void apply();
    void cancel();

    // Ends the open and new-file commands: camera 0 active and filled, Apply and Cancel disabled.
    void showFirstCamera();
    // Makes camera k the selected one and shows its record as stored, nothing pending.
    void showCamera(int k);
    int activeCamera() const { return m_activeCamera; }

    // The nine slider positions, and setting them all as the user would: each one that
    // moves is a change, so Apply and Cancel are enabled if any did.
    std::array<int, CameraRecord::FieldCount> workingCopy() const;
    void setWorkingCopy(const std::array<int, CameraRecord::FieldCount> &positions);

    // Copy and Paste buttons.
    void copy();
    void paste();

    // Typed entry on a click of value display i.
    void typedEntry(int index);

    // Pointing in the views.
    void Xset(double metres);
    void Yset(double metres);
    void Zset(double metres);

    // What wrote a camera's record from the editor.
    enum class Change
    {
        Apply,
        Paste
    };

signals:
    // Apply or Paste wrote the record of `camera` (also when its bits stayed the same).
    void recordChanged(int camera, const CameraRecord &before, const CameraRecord &after,
                       CameraEditor::Change change);
    // Apply and Cancel became enabled (changes pending) or disabled.
    void pendingChanged(bool pending);
    // A slider moved other than by a fill from the document: a drag, a click, typed
    // entry, pointing in a view, or setWorkingCopy().
    void edited();

protected:
    // Mouse presses on the camera options: the question about pending changes.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Click of camera option k: option k has become the selected one.
    void Selection(int k);
    // Change handling of slider i, for every change of its position.
    void sliderChanged(int index, int position);
    void pressOnCameraOption(int k);
    int cameraOptionIndex(const QObject *object) const;

    CameraDocument &m_document;
    UserDialogs &m_dialogs;
    EditorWidgets m_widgets;
    int m_activeCamera = 0;
    CameraRecord m_copyBuffer;
    // Set while EditorFill sets the sliders from the document.
    bool m_filling = false;
};

#include "undocommands.h"

QString cameraStepName(int camera)
{
    QString name = QLatin1String(CameraCaptions[camera]);
    // The asterisk refers to the note under the camera options.
    if (name.endsWith(QLatin1String(" *")))
        name.chop(2);
    return name;
}

QString cameraStepText(CameraEditor::Change change, int camera)
{
    const QString format = change == CameraEditor::Change::Apply ? QStringLiteral("Apply to %1")
                                                                 : QStringLiteral("Paste into %1");
    return format.arg(cameraStepName(camera));
}

CameraStep::CameraStep(CameraDocument &document, CameraEditor &editor, int camera,
                       const CameraRecord &before, const CameraRecord &after,
                       CameraEditor::Change change)
    : QUndoCommand(cameraStepText(change, camera)), m_document(document), m_editor(editor),
      m_camera(camera), m_before(before), m_after(after)
{
}

void CameraStep::undo()
{
    show(m_before);
}

void CameraStep::redo()
{
    if (m_made) {
        m_made = false;
        return;
    }
    show(m_after);
}

void CameraStep::show(const CameraRecord &record)
{
    m_document.DocumentCameras[m_camera] = record;
    m_editor.showCamera(m_camera);
}

#pragma once

#include "cameraeditor.h"
#include "camerarecord.h"

#include <QString>
#include <QUndoCommand>

// A camera's name in the texts of the Edit menu: its option's caption without the
// note marker ("Roll Bar", "Zepplin/Shoulder").
QString cameraStepName(int camera);

// What an undo step is called after "Undo " or "Redo ": "Apply to Roll Bar",
// "Paste into Gear Box".
QString cameraStepText(CameraEditor::Change change, int camera);

// One change of a camera's stored record by Apply or Paste, holding the record before
// and after it bit for bit. It is pushed once the editor has made the change, so its
// first redo does nothing; every later undo or redo writes the record back and shows
// that camera as stored, with nothing pending.
class CameraStep : public QUndoCommand
{
public:
    CameraStep(CameraDocument &document, CameraEditor &editor, int camera,
               const CameraRecord &before, const CameraRecord &after, CameraEditor::Change change);

    void undo() override;
    void redo() override;

private:
    void show(const CameraRecord &record);

    CameraDocument &m_document;
    CameraEditor &m_editor;
    int m_camera;
    CameraRecord m_before;
    CameraRecord m_after;
    bool m_made = true; // the editor has already made the change
};

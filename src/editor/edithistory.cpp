#include "edithistory.h"

#include "undocommands.h"

#include <QScopedValueRollback>

EditHistory::EditHistory(CameraDocument &document, CameraEditor &editor, QObject *parent)
    : QObject(parent), m_document(document), m_editor(editor), m_saved(document.DocumentCameras)
{
    connect(&m_editor, &CameraEditor::recordChanged, this, &EditHistory::recordChanged);
    connect(&m_editor, &CameraEditor::edited, this, &EditHistory::edited);
    connect(&m_editor, &CameraEditor::pendingChanged, this, &EditHistory::pendingChanged);
}

bool EditHistory::userEditsPending() const
{
    return m_userEdits && m_editor.hasPendingChanges();
}

bool EditHistory::droppedEditsNext() const
{
    return m_dropped && m_dropped->index == m_stack.index();
}

bool EditHistory::canUndo() const
{
    return userEditsPending() || m_stack.canUndo();
}

// Nothing is redone over changes pending: they would be lost.
bool EditHistory::canRedo() const
{
    return !m_editor.hasPendingChanges() && (droppedEditsNext() || m_stack.canRedo());
}

QString EditHistory::undoText() const
{
    if (userEditsPending()) {
        return QStringLiteral("Undo Unapplied Changes to %1")
            .arg(cameraStepName(m_editor.activeCamera()));
    }
    if (m_stack.canUndo())
        return QStringLiteral("Undo %1").arg(m_stack.undoText());
    return QStringLiteral("Undo");
}

QString EditHistory::redoText() const
{
    if (!canRedo())
        return QStringLiteral("Redo");
    if (droppedEditsNext())
        return QStringLiteral("Redo Unapplied Changes to %1")
            .arg(cameraStepName(m_dropped->camera));
    return QStringLiteral("Redo %1").arg(m_stack.redoText());
}

void EditHistory::undo()
{
    if (!canUndo())
        return;
    {
        const QScopedValueRollback<bool> busy(m_busy, true);
        if (userEditsPending()) {
            m_dropped =
                DroppedEdits{m_stack.index(), m_editor.activeCamera(), m_editor.workingCopy()};
            m_editor.cancel();
        } else {
            // Also a Paste whose fill left Apply enabled: the step shows the camera
            // as stored, nothing pending.
            m_stack.undo();
        }
        m_userEdits = false;
    }
    emit changed();
}

void EditHistory::redo()
{
    if (!canRedo())
        return;
    {
        const QScopedValueRollback<bool> busy(m_busy, true);
        if (droppedEditsNext()) {
            const DroppedEdits edits = *m_dropped;
            m_dropped.reset();
            m_editor.showCamera(edits.camera);
            m_editor.setWorkingCopy(edits.positions);
            m_userEdits = true;
        } else {
            m_stack.redo();
        }
    }
    emit changed();
}

bool EditHistory::isModified() const
{
    return m_editor.hasPendingChanges() || !sameBits(m_document.DocumentCameras, m_saved);
}

void EditHistory::markSaved()
{
    m_saved = m_document.DocumentCameras;
    emit changed();
}

void EditHistory::reset()
{
    m_stack.clear();
    m_dropped.reset();
    m_userEdits = false;
    m_saved = m_document.DocumentCameras;
    emit changed();
}

void EditHistory::recordChanged(int camera, const CameraRecord &before, const CameraRecord &after,
                                CameraEditor::Change change)
{
    // Whatever was pending has been applied or pasted over.
    m_userEdits = false;
    // A change that leaves every bit as it was is no step. A step is the newest: what
    // Undo had dropped cannot come back above it.
    if (!before.sameBits(after)) {
        m_dropped.reset();
        m_stack.push(new CameraStep(m_document, m_editor, camera, before, after, change));
    }
    emit changed();
}

void EditHistory::edited()
{
    if (m_busy)
        return;
    m_userEdits = true;
    m_dropped.reset();
    emit changed();
}

void EditHistory::pendingChanged(bool pending)
{
    if (!pending)
        m_userEdits = false;
    if (!m_busy)
        emit changed();
}

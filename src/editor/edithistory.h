#pragma once

#include "cameraeditor.h"
#include "camerarecord.h"

#include <QObject>
#include <QUndoStack>

#include <array>
#include <optional>

// The document's undo history and its unsaved state.
//
// Each Apply and each Paste that changes a record is one step on an undo stack.
// Changes the user has made on the sliders and not yet applied count as one more
// step above them: Undo drops them, as Cancel does, and Redo brings them back,
// pending again, until anything new is edited or written into the document.
//
// The document has unsaved changes while changes are pending or while its cameras
// differ, bit for bit, from what they were when it was opened, created or last saved.
class EditHistory : public QObject
{
    Q_OBJECT

public:
    EditHistory(CameraDocument &document, CameraEditor &editor, QObject *parent = nullptr);

    bool canUndo() const;
    bool canRedo() const;
    // "Undo Apply to Roll Bar", "Redo Paste into Gear Box"; plain "Undo" or "Redo"
    // when there is nothing to undo or redo.
    QString undoText() const;
    QString redoText() const;
    void undo();
    void redo();

    bool isModified() const;
    // The document as it stands has been written to its file.
    void markSaved();
    // A new document (opened or created): no history, nothing unsaved.
    void reset();

signals:
    // Something the Edit menu or the window's modified mark show may have changed.
    void changed();

private:
    // Changes the user made and Undo dropped, for Redo to bring back. They belong
    // above the step at `index` of the stack.
    struct DroppedEdits
    {
        int index = 0;
        int camera = 0;
        std::array<int, CameraRecord::FieldCount> positions{};
    };

    // Changes pending that the user made, not those a Paste's fill left.
    bool userEditsPending() const;
    bool droppedEditsNext() const;
    void recordChanged(int camera, const CameraRecord &before, const CameraRecord &after,
                       CameraEditor::Change change);
    void edited();
    void pendingChanged(bool pending);

    CameraDocument &m_document;
    CameraEditor &m_editor;
    QUndoStack m_stack;
    std::optional<DroppedEdits> m_dropped;
    CameraSet m_saved;
    bool m_userEdits = false;
    // Set while undo or redo moves the sliders, whose signals are then its own doing.
    bool m_busy = false;
};

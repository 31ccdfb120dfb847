#pragma once

#include <QString>

class QDropEvent;
class QMimeData;

// Files dropped on the main window.
namespace FileDrop {

// The file a drag brings, if the window takes it: exactly one local file that is not
// a folder. A name that names no camera file is taken and then refused by the open
// command, as the Load command refuses it.
QString draggedFile(const QMimeData *data);

// Takes a drag that brings a file to open, as a copy or a link: the file is only read,
// so the source is never asked to move it. Nothing is taken while a dialog or message
// box is open.
bool takeDrag(QDropEvent *event);

} // namespace FileDrop

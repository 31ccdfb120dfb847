#pragma once

#include <QObject>

class EditHistory;
class FileCommands;
class QAction;
class QMainWindow;
class QMenu;
class QPushButton;

// The main window's File and Edit menus. File: New..., Open..., Open Recent, Save,
// Save As..., Quit; Edit: Undo, Redo, Copy Camera, Paste Camera. Each has the
// platform's standard shortcut; New, Open, Save As, Copy and Paste do what their
// buttons do, and Copy and Paste are enabled exactly when their buttons are.
class MainMenus : public QObject
{
    Q_OBJECT

public:
    // Adds both menus to the window's menu bar.
    explicit MainMenus(QMainWindow *window);

    void connectCommands(FileCommands &files, EditHistory &history, QPushButton *newButton,
                         QPushButton *openButton, QPushButton *copyButton,
                         QPushButton *pasteButton);

protected:
    // Copy and Paste follow their buttons' enabled state.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addAction(QMenu *menu, const char *name, const QString &text);
    void createFileMenu();
    void createEditMenu();
    void fillRecentMenu();
    void updateEditActions();

    QMainWindow *m_window;
    FileCommands *m_files = nullptr;
    EditHistory *m_history = nullptr;
    QPushButton *m_copyButton = nullptr;
    QPushButton *m_pasteButton = nullptr;

    QMenu *m_fileMenu = nullptr;
    QMenu *m_recentMenu = nullptr;
    QAction *m_new = nullptr;
    QAction *m_open = nullptr;
    QAction *m_save = nullptr;
    QAction *m_saveAs = nullptr;
    QAction *m_quit = nullptr;
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    QAction *m_copy = nullptr;
    QAction *m_paste = nullptr;
};

#include "mainmenus.h"

#include "edithistory.h"
#include "filecommands.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {

// The platform's standard keys; where it has none, the ones most editors use.
QList<QKeySequence> standardKeys(QKeySequence::StandardKey key, const char *otherwise)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (keys.isEmpty())
        keys << QKeySequence(QLatin1String(otherwise));
    return keys;
}

// A file name as a menu entry shows it: an ampersand is no access key.
QString menuText(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

MainMenus::MainMenus(QMainWindow *window) : QObject(window), m_window(window)
{
    createFileMenu();
    createEditMenu();
}

QAction *MainMenus::addAction(QMenu *menu, const char *name, const QString &text)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    return action;
}

void MainMenus::createFileMenu()
{
    m_fileMenu = m_window->menuBar()->addMenu(QStringLiteral("&File"));
    m_fileMenu->setObjectName(QStringLiteral("mnuFile"));
    m_new = addAction(m_fileMenu, "mnuFileNew", QStringLiteral("&New..."));
    m_new->setShortcuts(QKeySequence::New);
    m_open = addAction(m_fileMenu, "mnuFileOpen", QStringLiteral("&Open..."));
    m_open->setShortcuts(QKeySequence::Open);
    m_recentMenu = m_fileMenu->addMenu(QStringLiteral("Open &Recent"));
    m_recentMenu->setObjectName(QStringLiteral("mnuFileOpenRecent"));
    // A file's whole path shows as it is pointed at.
    m_recentMenu->setToolTipsVisible(true);
    m_save = addAction(m_fileMenu, "mnuFileSave", QStringLiteral("&Save"));
    m_save->setShortcuts(QKeySequence::Save);
    m_saveAs = addAction(m_fileMenu, "mnuFileSaveAs", QStringLiteral("Save &As..."));
    m_saveAs->setShortcuts(standardKeys(QKeySequence::SaveAs, "Ctrl+Shift+S"));
    m_fileMenu->addSeparator();
    m_quit = addAction(m_fileMenu, "mnuFileQuit", QStringLiteral("&Quit"));
    m_quit->setShortcuts(standardKeys(QKeySequence::Quit, "Ctrl+Q"));
    // Closing the window asks about unsaved changes; the program ends with it.
    connect(m_quit, &QAction::triggered, m_window, &QWidget::close);
    // The list may have changed in another copy of the program meanwhile.
    connect(m_fileMenu, &QMenu::aboutToShow, this, &MainMenus::fillRecentMenu);
}

void MainMenus::createEditMenu()
{
    QMenu *edit = m_window->menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    m_undo = addAction(edit, "mnuEditUndo", QStringLiteral("Undo"));
    m_undo->setShortcuts(QKeySequence::Undo);
    m_redo = addAction(edit, "mnuEditRedo", QStringLiteral("Redo"));
    m_redo->setShortcuts(QKeySequence::Redo);
    edit->addSeparator();
    m_copy = addAction(edit, "mnuEditCopy", QStringLiteral("&Copy Camera"));
    m_copy->setShortcuts(QKeySequence::Copy);
    m_paste = addAction(edit, "mnuEditPaste", QStringLiteral("&Paste Camera"));
    m_paste->setShortcuts(QKeySequence::Paste);
}

void MainMenus::connectCommands(FileCommands &files, EditHistory &history, QPushButton *newButton,
                                QPushButton *openButton, QPushButton *copyButton,
                                QPushButton *pasteButton)
{
    m_files = &files;
    m_history = &history;
    m_copyButton = copyButton;
    m_pasteButton = pasteButton;

    connect(m_new, &QAction::triggered, newButton, &QPushButton::click);
    connect(m_open, &QAction::triggered, openButton, &QPushButton::click);
    connect(m_save, &QAction::triggered, &files, &FileCommands::save);
    connect(m_saveAs, &QAction::triggered, &files, &FileCommands::saveCameraFile);
    connect(&files.recentFiles(), &RecentFiles::changed, this, &MainMenus::fillRecentMenu);
    fillRecentMenu();

    connect(m_undo, &QAction::triggered, &history, &EditHistory::undo);
    connect(m_redo, &QAction::triggered, &history, &EditHistory::redo);
    connect(&history, &EditHistory::changed, this, &MainMenus::updateEditActions);
    updateEditActions();

    connect(m_copy, &QAction::triggered, copyButton, &QPushButton::click);
    connect(m_paste, &QAction::triggered, pasteButton, &QPushButton::click);
    m_copy->setEnabled(copyButton->isEnabled());
    m_paste->setEnabled(pasteButton->isEnabled());
    copyButton->installEventFilter(this);
    pasteButton->installEventFilter(this);
}

bool MainMenus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        if (watched == m_copyButton)
            m_copy->setEnabled(m_copyButton->isEnabled());
        else if (watched == m_pasteButton)
            m_paste->setEnabled(m_pasteButton->isEnabled());
    }
    return QObject::eventFilter(watched, event);
}

void MainMenus::updateEditActions()
{
    m_undo->setText(m_history->undoText());
    m_undo->setEnabled(m_history->canUndo());
    m_redo->setText(m_history->redoText());
    m_redo->setEnabled(m_history->canRedo());
}

// Each file by its name, with its whole path as status and tool tip; two files of
// the same name also show their folders.
void MainMenus::fillRecentMenu()
{
    if (!m_files)
        return;
    // An entry may be the one being chosen: it goes once its signal has returned.
    for (QAction *old : m_recentMenu->actions()) {
        m_recentMenu->removeAction(old);
        old->deleteLater();
    }
    const QStringList files = m_files->recentFiles().files();
    QStringList names;
    for (const QString &path : files)
        names << QFileInfo(path).fileName();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        const QString shown = QDir::toNativeSeparators(path);
        QString text = names[i];
        if (names.count(names[i]) > 1)
            text += QStringLiteral(" (%1)").arg(QDir::toNativeSeparators(QFileInfo(path).path()));
        QAction *entry = m_recentMenu->addAction(menuText(text));
        entry->setObjectName(QStringLiteral("mnuFileRecent(%1)").arg(i));
        entry->setStatusTip(shown);
        entry->setToolTip(shown);
        connect(entry, &QAction::triggered, m_files,
                [this, path] { m_files->openRecentFile(path); });
    }
    m_recentMenu->addSeparator();
    QAction *clear =
        addAction(m_recentMenu, "mnuFileClearRecent", QStringLiteral("&Clear Recent Files"));
    clear->setEnabled(!files.isEmpty());
    connect(clear, &QAction::triggered, &m_files->recentFiles(), &RecentFiles::clear);
    m_recentMenu->menuAction()->setEnabled(!files.isEmpty());
}

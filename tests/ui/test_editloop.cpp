// The editor's everyday loop: save in place, undo and redo, the title's mark, the
// question before unsaved changes are dropped, and the recent files.

#include "mainwindow.h"
#include "slidervalues.h"

#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

namespace {

using Answer = UserDialogs::Answer;
const QString Question = "Kestrel|SaveDiscardCancel|Do you want to save the changes to %1?";
const QString LengthMessage = "File Length does not indicate Camera file";
constexpr int Eagle = 3, Ferrari = 4, Lotus = 5;
constexpr int GearBox = 1, RollBar = 3;

QString recentKey(int i)
{
    return QString("RecentFiles/RecentFile%1").arg(i + 1);
}

} // namespace

class TestEditLoop : public QObject, WindowFixture
{
    Q_OBJECT

    QString camFile(const QString &name, int carType)
    {
        return writeFile(path(name), cameraFile(defaultCameras(carType)));
    }
    // The recent files' menu entries as shown: "name|status tip".
    QStringList recentEntries() const
    {
        QStringList entries;
        for (const QAction *action : m->get<QMenu>("mnuFileOpenRecent")->actions()) {
            if (action->objectName().startsWith("mnuFileRecent("))
                entries << action->text() + '|' + action->statusTip();
        }
        return entries;
    }

    // One file dragged onto the window and dropped; it opens once the drop is over.
    void drop(const QString &file)
    {
        sendDrag<QDragEnterEvent>(m->window.get(), {QUrl::fromLocalFile(file)}, nullptr);
        sendDrag<QDropEvent>(m->window.get(), {QUrl::fromLocalFile(file)}, nullptr);
    }

private slots:
    void init() { startWindow(); }
    void cleanup() { verifyDialogsScripted(); }

    // Edit, Ctrl+S, edit again, Ctrl+Z back to the saved state, Ctrl+Shift+Z, close:
    // Cancel keeps everything, Discard ends; after a restart the file is a recent one.
    void everydayLoop()
    {
        const QString lotus = camFile("lotus.cam", Lotus);
        // Not the mode a new file gets: the save keeps it.
        QVERIFY(QFile::setPermissions(lotus, QFile::ReadOwner | QFile::WriteOwner));
        const QFile::Permissions mode = QFile::permissions(lotus);
        m->open(lotus);
        QCOMPARE(m->title(), "lotus.cam - Kestrel File Editor");
        m->nudge(0);
        QCOMPARE(m->title(), "lotus.cam* - Kestrel File Editor");

        m->key(Qt::Key_S);
        const CameraSet saved = m->cameras();
        QCOMPARE(saved[0].X, 2.456f); // 613 steps of 1/250 m, moved one on
        QCOMPARE(readFile(lotus), cameraFile(saved));
        QVERIFY(m->clean() && !m->modified());
        QCOMPARE(m->dialogs.fileRequests.size(), 1); // only the open dialog
        QCOMPARE(QFile::permissions(lotus), mode);

        m->nudge(0);
        QVERIFY(m->modified());
        QCOMPARE(m->action("mnuEditUndo")->text(), "Undo Unapplied Changes to Nose");
        m->key(Qt::Key_Z);
        QVERIFY(!m->modified() && m->clean());
        QCOMPARE(m->slider(0)->value(), 614);
        m->key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(m->modified() && m->pending());
        QCOMPARE(m->slider(0)->value(), 615);

        m->dialogs.answers = {Answer::Cancel, Answer::Discard};
        QVERIFY(!m->window->close());
        QVERIFY(m->window->isVisible() && m->pending() && m->slider(0)->value() == 615);
        QVERIFY(m->window->close());
        QCOMPARE(m->dialogs.messages, QStringList(2, Question.arg("lotus.cam")));
        QCOMPARE(readFile(lotus), cameraFile(saved));

        const auto settings = m->settings.values;
        m = std::make_unique<MainWindow>(settings);
        QCOMPARE(recentEntries(), QStringList{"lotus.cam|" + QDir::toNativeSeparators(lotus)});
        m->action("mnuFileRecent(0)")->trigger();
        QVERIFY(sameBits(m->cameras(), saved));
        QCOMPARE(m->title(), "lotus.cam - Kestrel File Editor");
    }

    // Each Apply and Paste is a step; undo gives the record back bit for bit and shows
    // that camera as stored.
    void undoAndRedoSteps()
    {
        CameraSet cameras = defaultCameras(Eagle);
        cameras[GearBox].Bank = std::numeric_limits<float>::quiet_NaN();
        m->open(writeFile(path("eagle.cam"), cameraFile(cameras)));
        QVERIFY(!m->action("mnuEditUndo")->isEnabled() && !m->action("mnuEditRedo")->isEnabled());

        m->clickOption(RollBar);
        m->type(6, "50");
        m->click("cmdeditApply");
        QCOMPARE(m->action("mnuEditUndo")->text(), "Undo Apply to Roll Bar");
        const CameraSet applied = m->cameras();
        // Paste is enabled, in the menu too, once something was copied.
        QVERIFY(!m->action("mnuEditPaste")->isEnabled() && m->action("mnuEditCopy")->isEnabled());
        m->key(Qt::Key_C);
        QVERIFY(m->action("mnuEditPaste")->isEnabled() && m->enabled("cmdPaste"));
        m->clickOption(GearBox);
        m->nudge(2);
        m->key(Qt::Key_V); // over the pending move; the fill leaves Apply enabled
        QVERIFY(m->pending() && m->cameras()[GearBox].sameBits(applied[RollBar]));
        QCOMPARE(m->action("mnuEditUndo")->text(), "Undo Paste into Gear Box");
        QVERIFY(!m->action("mnuEditRedo")->isEnabled());

        m->key(Qt::Key_Z);
        QVERIFY(sameBits(m->cameras(), applied) && m->clean());
        QCOMPARE(m->frameCaption(), "Gear Box Camera");
        QCOMPARE(m->action("mnuEditRedo")->text(), "Redo Paste into Gear Box");
        m->clickOption(0);
        m->action("mnuEditUndo")->trigger();
        QVERIFY(sameBits(m->cameras(), cameras) && m->clean() && !m->modified());
        QCOMPARE(m->frameCaption(), "Roll Bar Camera");
        QCOMPARE(m->slider(6)->value(), positionForField(6, cameras[RollBar].Zoom));
        m->key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        m->key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(m->cameras()[GearBox].sameBits(applied[RollBar]) && m->clean());
        QCOMPARE(m->frameCaption(), "Gear Box Camera");

        // Edits dropped by Undo come back with Redo until something new is edited.
        m->nudge(0);
        m->key(Qt::Key_Z);
        QCOMPARE(m->action("mnuEditRedo")->text(), "Redo Unapplied Changes to Gear Box");
        m->nudge(1);
        QVERIFY(!m->action("mnuEditRedo")->isEnabled());
        QCOMPARE(m->action("mnuEditUndo")->text(), "Undo Unapplied Changes to Gear Box");

        // Open and New start a fresh history.
        m->dialogs.answers.push_back(Answer::Discard);
        m->makeNew(Ferrari);
        QVERIFY(!m->action("mnuEditUndo")->isEnabled() && !m->modified());
        QCOMPARE(m->title(), "ferrari.cam - Kestrel File Editor");
    }
    // Every way of dropping the document asks first, before any dialog of its own:
    // Cancel leaves everything as it was, Discard goes on. Nothing unsaved, no question.
    void askedBeforeChangesAreDropped_data()
    {
        QTest::addColumn<QString>("way");
        for (const char *way :
             {"close", "Ctrl+Q", "Ctrl+O", "Load button", "Ctrl+N", "recent file", "dropped file"})
            QTest::newRow(way) << way;
    }
    void askedBeforeChangesAreDropped()
    {
        QFETCH(QString, way);
        const QString ferrari = camFile("ferrari.cam", Ferrari);
        m = std::make_unique<MainWindow>(QMap<QString, QString>{{recentKey(0), ferrari}});
        const bool closes = way == "close" || way == "Ctrl+Q";
        const auto run = [&](bool goesOn) {
            if (goesOn && (way == "Ctrl+O" || way == "Load button"))
                m->dialogs.chooseFile(ferrari);
            if (goesOn && way == "Ctrl+N")
                m->dialogs.carTypes.push_back(Ferrari);
            if (way == "close")
                m->window->close();
            else if (way == "Ctrl+Q")
                m->key(Qt::Key_Q);
            else if (way == "Ctrl+O")
                m->key(Qt::Key_O);
            else if (way == "Load button")
                m->click("cmdLoadCCamFile");
            else if (way == "Ctrl+N")
                m->key(Qt::Key_N);
            else if (way == "recent file")
                m->action("mnuFileRecent(0)")->trigger();
            else
                drop(ferrari);
        };

        m->clickOption(RollBar);
        m->nudge(0);
        const CameraSet before = m->cameras();
        m->dialogs.answers.push_back(Answer::Cancel);
        run(false);
        QTRY_COMPARE(m->dialogs.messages, QStringList{Question.arg("brabham.cam")});
        QVERIFY(m->window->isVisible() && m->pending() && sameBits(m->cameras(), before));
        QCOMPARE(m->frameCaption(), "Roll Bar Camera");
        QVERIFY(m->dialogs.fileRequests.isEmpty());

        m->dialogs.answers.push_back(Answer::Discard);
        run(true);
        if (closes) {
            QVERIFY(!m->window->isVisible());
            m = std::make_unique<MainWindow>(); // nothing unsaved: closes unasked
            QVERIFY(m->window->close());
            return;
        }
        QTRY_VERIFY(sameBits(m->cameras(), defaultCameras(Ferrari)));
        QVERIFY(m->clean() && !m->modified());
        run(true);
        QTRY_VERIFY(m->dialogs.asScripted());
        QCOMPARE(m->dialogs.messages.size(), 2);
    }

    // Save in the question saves in place, or through Save As for a new document; a
    // cancelled or failed save cancels the command and keeps the program and the document.
    void savingInsideTheQuestion()
    {
        m->nudge(0);
        m->dialogs.answers.push_back(Answer::Save);
        m->dialogs.failFileDialog(UserDialogs::CancelError);
        QVERIFY(!m->window->close());
        QCOMPARE(m->dialogs.fileRequests.last().mode, UserDialogs::FileRequest::Save);
        QVERIFY(m->modified());

        m->dialogs.answers.push_back(Answer::Save);
        m->dialogs.chooseFile(path("mine.cam"));
        const CameraSet mine = m->cameras();
        m->makeNew(Lotus);
        QCOMPARE(readFile(path("mine.cam")), cameraFile(mine));
        QCOMPARE(m->title(), "lotus.cam - Kestrel File Editor");

        QVERIFY(QDir(dir->path()).mkdir("cams"));
        const QString file = camFile("cams/lotus.cam", Lotus);
        m->open(file);
        m->nudge(0);
        QVERIFY(QDir(dir->path()).rename("cams", "moved"));
        m->dialogs.answers = {Answer::Save, Answer::Ok};
        QVERIFY(!m->window->close());
        QCOMPARE(m->dialogs.messages.size(), 4);
        QCOMPARE(m->dialogs.messages[2], Question.arg("lotus.cam"));
        QVERIFY2(m->dialogs.messages[3].startsWith("Kestrel|Ok|") &&
                     m->dialogs.messages[3].contains(QDir::toNativeSeparators(file)),
                 qPrintable(m->dialogs.messages[3]));
        // The move was applied, as every save applies first, and is still unsaved.
        QCOMPARE(m->cameras()[0].X, 2.456f);
        QVERIFY(m->modified() && m->window->isVisible());
        QCOMPARE(readFile(path("moved/lotus.cam")), cameraFile(defaultCameras(Lotus)));
        QVERIFY(!QFileInfo::exists(path("cams")));
        m->dialogs.answers.push_back(Answer::Discard);
        QVERIFY(m->window->close());
    }

    // Newest first, each once, at most eight; junk in the settings is left out.
    void recentFilesList()
    {
        QMap<QString, QString> stored = {{recentKey(0), ""},
                                         {recentKey(1), path("c0.cam")},
                                         {recentKey(2), "relative.cam"},
                                         {recentKey(3), path("./c0.cam")},
                                         {recentKey(4), path("r&d.cam")}};
        for (int i = 1; i <= 9; ++i)
            stored[recentKey(4 + i)] = path(QString("c%1.cam").arg(i));
        m = std::make_unique<MainWindow>(stored);
        QStringList expected = {"c0.cam|" + QDir::toNativeSeparators(path("c0.cam")),
                                "r&&d.cam|" + QDir::toNativeSeparators(path("r&d.cam"))};
        for (int i = 1; i <= 6; ++i)
            expected << QString("c%1.cam|").arg(i) +
                            QDir::toNativeSeparators(path(QString("c%1.cam").arg(i)));
        QCOMPARE(recentEntries(), expected);

        camFile("c3.cam", Eagle);
        m->action("mnuFileRecent(4)")->trigger();
        QVERIFY(sameBits(m->cameras(), defaultCameras(Eagle)));
        expected.move(4, 0);
        QCOMPARE(recentEntries(), expected);
        // Stored again without the junk; the keys after the list are emptied.
        QCOMPARE(m->settings.values[recentKey(0)], path("c3.cam"));
        for (int i = 8; i < 14; ++i)
            QCOMPARE(m->settings.values[recentKey(i)], "");

        // Saved under a name that another folder also holds: both show their folders.
        QVERIFY(QDir(dir->path()).mkdir("other"));
        m->save(path("other/c0.cam"));
        QCOMPARE(recentEntries().mid(0, 3),
                 QStringList({"c0.cam (" + QDir::toNativeSeparators(path("other")) + ")|" +
                                  QDir::toNativeSeparators(path("other/c0.cam")),
                              expected[0],
                              "c0.cam (" + QDir::toNativeSeparators(dir->path()) + ")|" +
                                  QDir::toNativeSeparators(path("c0.cam"))}));
        QCOMPARE(recentEntries().size(), 8);

        m->action("mnuFileClearRecent")->trigger();
        QVERIFY(recentEntries().isEmpty());
        QVERIFY(!m->get<QMenu>("mnuFileOpenRecent")->menuAction()->isEnabled());
    }

    // A recent file that is gone or refused is reported with its name and leaves the list.
    void refusedRecentFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // null: none written
        QTest::addColumn<QString>("message");
        QTest::newRow("gone") << "gone.cam" << QByteArray() << "File Not Found";
        QTest::newRow("folder") << "folder.cam" << QByteArray() << LengthMessage;
        QTest::newRow("229 bytes")
            << "long.cam" << cameraFile(defaultCameras(Lotus)) + 'x' << LengthMessage;
#ifndef Q_OS_WIN
        QTest::newRow("device") << "/dev/zero" << QByteArray() << LengthMessage;
#endif
    }
    void refusedRecentFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString file = placeRefusedFile(dir->path(), name, bytes);
        const QString kept = path("kept.cam");
        m = std::make_unique<MainWindow>(
            QMap<QString, QString>{{recentKey(0), file}, {recentKey(1), kept}});
        m->nudge(0);
        const CameraSet before = m->cameras();
        m->dialogs.answers = {Answer::Discard, Answer::Ok};
        m->action("mnuFileRecent(0)")->trigger();
        QCOMPARE(m->dialogs.messages.last(),
                 "Kestrel|Ok|" + QDir::toNativeSeparators(file) + "\n\n" + message);
        QVERIFY(sameBits(m->cameras(), before) && m->pending());
        QCOMPARE(recentEntries(), QStringList{"kept.cam|" + QDir::toNativeSeparators(kept)});
    }
};

QTEST_MAIN(TestEditLoop)
#include "test_editloop.moc"

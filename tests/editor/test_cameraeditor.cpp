// The camera editor driven through the main window: value displays, typed entry,
// the question on a camera press, Apply, Cancel, Copy, Paste and pointing.

#include "mainwindow.h"
#include "modcameramath.h"
#include "picturebox.h"
#include "slidervalues.h"

#include <QScreen>

namespace {

float radians(float degrees)
{
    return float(modCameraMath::DegreesToRadians(degrees));
}

const QList<int> BrabhamNose = {581, 51, 21, 0, 20, 0, 7799, 0, -716};

} // namespace

class TestCameraEditor : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindow> m;
    const QLocale userLocale;

    QList<int> positions() const
    {
        QList<int> list;
        for (int i = 0; i < SliderCount; ++i)
            list << m->slider(i)->value();
        return list;
    }

private slots:
    void init() { m = std::make_unique<MainWindow>(); }
    void cleanup()
    {
        QLocale::setDefault(userLocale);
        QVERIFY2(m->dialogs.asScripted(), qPrintable(m->dialogs.messages.join('\n')));
    }

    // Yaw1, Bank and Yaw2 keep their design position 0, so their displays keep "0.0".
    void startUpShowsTheBrabhamNoseCamera()
    {
        QStringList captions;
        for (int i = 0; i < SliderCount; ++i)
            captions << m->display(i)->text();
        QCOMPARE(captions, QStringList({"2.324", "0.204", "0.084", "0.0", "0.2", "0.0", "77.99",
                                        "0.0", "-7.16"}));
        QCOMPARE(m->display(0)->accessibleName(), "X, metres: 2.324");
        QCOMPARE(m->slider(6)->accessibleName(), "Zoom Angle, degrees");
        // A press on a display released outside it is no click: nothing is asked.
        QTest::mousePress(m->display(0), Qt::LeftButton);
        QTest::mouseRelease(m->display(0), Qt::LeftButton, {}, QPoint(-2, -2));
    }

    // Each slider's change rewrites its display and its spoken name, redraws the views
    // from the sliders (not from the document) and enables Apply and Cancel.
    void everySliderChangeRewritesRedrawsAndEnables()
    {
        const QStringList moved = {"2.328", "0.208", "0.088", "0.01", "0.21",
                                   "0.01",  "78",    "0.01",  "-7.15"};
        for (int i = 0; i < SliderCount; ++i) {
            m->click("cmdEditCancel");
            QVERIFY(m->clean());
            m->nudge(i);
            QCOMPARE(m->display(i)->text(), moved[i]);
            QVERIFY(m->pending());
            const ViewCamera c = *m->get<PictureBox>("Picture3")->camera();
            const float view[] = {float(c.X), float(c.Y), float(c.Z), c.Yaw1,
                                  c.Pitch1,   c.Bank,     c.Zoom};
            if (i < 7)
                QCOMPARE(view[i], moved[i].toFloat());
        }
        QCOMPARE(m->display(8)->accessibleName(), "Unknown 2, degrees: -7.15");
    }

    // What is on screen matches a fresh rendering of the bar after many small steps
    // while dragged, and on reaching and leaving either end.
    void draggedBarShowsItsPosition()
    {
        QScrollBar *zoom = m->slider(6);
        const auto onScreenAsRendered = [&](int position) {
            zoom->setSliderPosition(position);
            QCoreApplication::processEvents();
            const QPoint at = zoom->mapTo(m->window.get(), QPoint());
            const QImage screen =
                m->window->screen()
                    ->grabWindow(m->window->winId(), at.x(), at.y(), zoom->width(), zoom->height())
                    .toImage();
            return screen.convertToFormat(QImage::Format_RGB32) ==
                   zoom->grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        zoom->setSliderDown(true);
        for (int position = 7799; position > 0; position -= 7) {
            zoom->setSliderPosition(position);
            QCoreApplication::processEvents();
        }
        QVERIFY(onScreenAsRendered(0));
        QVERIFY(onScreenAsRendered(1));
        for (int position = 2; position <= 18000; position += 13)
            zoom->setSliderPosition(position);
        for (int position : {17994, 18000, 17990})
            QVERIFY2(onScreenAsRendered(position), qPrintable(QString::number(position)));
        zoom->setSliderDown(false);
        QCOMPARE(m->display(6)->text(), "179.9");
    }

    void userDecimalSeparator()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        m->nudge(0);
        QCOMPARE(m->display(0)->text(), "2,328");
        // The caption offered is accepted as it stands, and so is a full stop.
        m->type(0, m->display(0)->text());
        QCOMPARE(m->dialogs.inputRequests.last(),
                 QString("Value in Meters|Enter a value between -120 and 120|2,328"));
        QCOMPARE(m->slider(0)->value(), 582);
        m->type(0, "1,5");
        QCOMPARE(m->display(0)->text(), "1,5");
        m->type(6, "12.25");
        QCOMPARE(m->display(6)->text(), "12,25");
    }

    // The bounds and the rounding are the core's; here what the user sees: each row's
    // prompt and title offering the value shown, the refusals, and the slider moved.
    void typedEntry()
    {
        const CameraSet document = m->cameras();
        m->dialogs.answers = {UserDialogs::Answer::Ok, UserDialogs::Answer::Ok,
                              UserDialogs::Answer::Ok};
        m->type(2, "-0.41");
        m->type(1, "abc");
        m->type(8, "abc");
        m->type(4, "");      // empty, or Cancel
        m->type(0, "2.324"); // the value shown: nothing changes
        QVERIFY(m->clean());
        QCOMPARE(positions(), BrabhamNose);
        m->type(0, "0.006"); // 1.5 steps, to even
        QCOMPARE(m->slider(0)->value(), 2);
        QCOMPARE(m->display(0)->text(), "0.008");
        QVERIFY(m->pending());
        QVERIFY(sameBits(m->cameras(), document)); // typed entry never writes the document
        QCOMPARE(m->dialogs.messages, QStringList({"Kestrel|Ok|Value outside of range",
                                                   "Kestrel|Ok|Entered Value must be numeric",
                                                   "Kestrel|Ok|Entered value must be numeric"}));
        QCOMPARE(m->dialogs.inputRequests,
                 QStringList({"Value in Meters|Enter a value between -0.4 and 120|0.084",
                              "Value in Meters|Enter a value between -120 and 120|0.204",
                              "Value in Degrees|Enter a value between -180 and 180|-7.16",
                              "Value in Degrees|Enter a value between -180 and 180|0.2",
                              "Value in Meters|Enter a value between -120 and 120|2.324",
                              "Value in Meters|Enter a value between -120 and 120|2.324"}));
    }

    // Press on a camera option with a move of X pending: the question, then the answer.
    void pressOnACameraWithChangesPending_data()
    {
        QTest::addColumn<int>("camera");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("yes");
        QTest::newRow("Roll Bar, left, Yes") << 3 << Qt::LeftButton << true;
        QTest::newRow("Roll Bar, right, No") << 3 << Qt::RightButton << false;
        QTest::newRow("Nose again, No") << 0 << Qt::LeftButton << false;
    }
    void pressOnACameraWithChangesPending()
    {
        QFETCH(int, camera);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, yes);
        const CameraSet before = m->cameras();
        m->nudge(0); // X 2.328
        m->dialogs.answers.push_back(yes ? UserDialogs::Answer::Yes : UserDialogs::Answer::No);
        m->clickOption(camera, button);

        QCOMPARE(m->dialogs.messages,
                 QStringList{"Camera has changed|YesNo|Apply recent changes to Nose Camera?"});
        QCOMPARE(m->cameras()[0].X, yes ? 2.328f : 2.323915f);
        QVERIFY(m->cameras()[3].sameBits(before[3]));
        QCOMPARE(m->frameCaption(), camera ? "Roll Bar Camera" : "Nose Camera");
        // Another camera is loaded clean; the active one is not reloaded, so after No
        // its move is still pending.
        QCOMPARE(m->slider(0)->value(), camera ? -26 : 582);
        QVERIFY(!camera && !yes ? m->pending() : m->clean());
    }

    void selectionWithoutChangesPendingAsksNothing()
    {
        for (int k : {5, 4, 3, 2, 1, 0}) {
            // Anywhere in the option's place, also beside its caption.
            m->clickOption(k, Qt::LeftButton,
                           k % 2 ? QPoint(m->option(k)->width() - 2, 2) : QPoint());
            QCOMPARE(m->frameCaption(), m->option(k)->text() + " Camera");
            QCOMPARE(m->slider(1)->value(), positionForField(1, m->cameras()[k].Y));
            QVERIFY(m->clean());
        }
        // Arrow keys select too; a pending move is dropped without a question.
        m->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m->window.get()));
        m->option(0)->setFocus();
        m->nudge(0);
        QTest::keyClick(m->option(0), Qt::Key_Down);
        QCOMPARE(m->frameCaption(), "Gear Box Camera");
        QCOMPARE(m->slider(0)->value(), -326); // -1.304172 m
        QVERIFY(m->clean());
        QCOMPARE(m->cameras()[0].X, 2.323915f);
    }

    void applyWritesAllNineFieldsAtSliderResolution()
    {
        const CameraSet before = m->cameras();
        m->nudge(7); // only Yaw2 moves
        m->click("cmdeditApply");
        const CameraRecord applied{2.324f,     0.204f,         0.084f,         0, radians(0.2f), 0,
                                   1.3611822f, radians(0.01f), radians(-7.16f)};
        QVERIFY(m->cameras()[0].sameBits(applied));
        for (int c = 1; c < CameraCount; ++c)
            QVERIFY(m->cameras()[c].sameBits(before[c]));
        QVERIFY(m->clean());
    }

    void cancelRestoresTheRecord()
    {
        const CameraSet before = m->cameras();
        m->nudge(0);
        m->type(6, "90");
        m->slider(8)->triggerAction(QAbstractSlider::SliderPageStepSub);
        m->click("cmdEditCancel");
        QCOMPARE(positions(), BrabhamNose);
        QVERIFY(m->clean());
        QVERIFY(sameBits(m->cameras(), before));
    }

    void copyAndPaste()
    {
        const CameraRecord nose = m->cameras()[0];
        // Copy takes the record as stored, without the pending move, which stays.
        m->nudge(0);
        m->click("cmdCopyCam");
        QVERIFY(m->enabled("cmdPaste") && m->pending());
        // A paste that moves a slider leaves Apply enabled; one that moves none leaves it off.
        m->click("cmdPaste");
        QCOMPARE(m->slider(0)->value(), 581);
        QVERIFY(m->pending());
        m->click("cmdEditCancel");
        m->click("cmdPaste");
        QVERIFY(m->clean());

        // Onto another camera with a pending move: replaced at once, without a question.
        m->clickOption(4);
        m->type(3, "45");
        m->click("cmdPaste");
        QVERIFY(m->cameras()[4].sameBits(nose));
        QCOMPARE(m->slider(3)->value(), 0);
        // Cancel cannot undo a paste; Apply writes it again at slider resolution.
        m->click("cmdEditCancel");
        QCOMPARE(m->slider(0)->value(), 581);
        QVERIFY(m->cameras()[4].sameBits(nose) && m->clean());
        m->nudge(7);
        m->click("cmdeditApply");
        QCOMPARE(m->cameras()[4].X, 2.324f);
        QVERIFY(m->cameras()[0].sameBits(nose));

        // The copy outlives its document.
        m->dialogs.answers.push_back(UserDialogs::Answer::Discard); // the unsaved Brabham
        m->makeNew(4);                                              // Ferrari
        m->click("cmdPaste");
        QVERIFY(m->cameras()[0].sameBits(nose));
        QVERIFY(m->pending());
    }

    // The top view (here 3.75 m either way of its centre) sets X and Y, the side view X
    // and Z (its middle pixel is 0, 0, here pressed with the right button), the front
    // view Y and Z, holding Z at -0.4 m.
    void pointingInTheViews()
    {
        QTest::mousePress(m->get("Picture1"), Qt::LeftButton, {}, QPoint(200, 180));
        QCOMPARE(positions().mid(0, 3), QList<int>({525, -567, 21}));
        QVERIFY(m->pending());
        auto *side = m->get<PictureBox>("Picture2");
        QTest::mousePress(side, Qt::RightButton, {}, side->rect().center());
        QCOMPARE(positions().mid(0, 3), QList<int>({0, -567, 0}));
        auto *front = m->get<PictureBox>("Picture3");
        QTest::mousePress(front, Qt::LeftButton, {}, QPoint(124, front->height() - 1));
        QCOMPARE(positions().mid(0, 3), QList<int>({0, 0, -100}));
        QCOMPARE(m->cameras()[0].X, 2.323915f); // the document waits for Apply
    }
};

QTEST_MAIN(TestCameraEditor)
#include "test_cameraeditor.moc"

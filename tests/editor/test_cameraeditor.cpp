// The camera editor driven through the real main window: sliders, value displays,
// camera options, Apply/Cancel and Copy/Paste, with scripted dialogs.

#include "cameraeditor.h"
#include "camerafile.h"
#include "frmcarcamera.h"
#include "memorysettings.h"
#include "modcameramath.h"
#include "picturebox.h"
#include "scripteddialogs.h"
#include "slidervalues.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

namespace {

// Counts the paints a widget receives.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TestCameraEditor : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<MemorySettings> settings;
    std::unique_ptr<frmCarCamera> window;
    QLocale userLocale;

    template <typename T> T *child(const QString &name) const
    {
        T *widget = window->findChild<T *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QScrollBar *slider(int i) const
    {
        return child<QScrollBar>(QStringLiteral("HScrollCam(%1)").arg(i));
    }
    QLabel *display(int i) const
    {
        return child<QLabel>(QStringLiteral("lblCameraValues(%1)").arg(i));
    }
    QRadioButton *option(int k) const
    {
        return child<QRadioButton>(QStringLiteral("OptCameraNumber(%1)").arg(k));
    }
    QPushButton *button(const char *name) const { return child<QPushButton>(QLatin1String(name)); }
    QString frameCaption() const
    {
        return child<QGroupBox>(QStringLiteral("Cameditframe"))->title();
    }
    bool applyEnabled() const { return button("cmdeditApply")->isEnabled(); }
    bool cancelEnabled() const { return button("cmdEditCancel")->isEnabled(); }
    CameraRecord stored(int camera) const { return window->document().DocumentCameras[camera]; }

    void click(QPushButton *b) { QTest::mouseClick(b, Qt::LeftButton); }
    // A press and release on the option's round indicator.
    void clickOption(int k, Qt::MouseButton mouseButton = Qt::LeftButton)
    {
        const QPoint indicator(8, option(k)->height() / 2);
        QTest::mousePress(option(k), mouseButton, Qt::NoModifier, indicator);
        QTest::mouseRelease(option(k), mouseButton, Qt::NoModifier, indicator);
    }
    // Typed entry: a click on value display i answered with `text`.
    void type(int i, const QString &text)
    {
        dialogs->inputs.push_back(text);
        QTest::mouseClick(display(i), Qt::LeftButton);
    }
    // One click on the slider's right arrow: one position up.
    void nudge(int i) { slider(i)->triggerAction(QAbstractSlider::SliderSingleStepAdd); }

    // Loads a document whose Nose camera is `nose` (the other cameras Brabham's).
    void loadNose(const CameraRecord &nose, const QString &path)
    {
        CameraSet cameras = window->document().DocumentCameras;
        cameras[NoseCamera] = nose;
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(serializeCameraFile(MakeCCamHeader(), cameras));
        file.close();
        dialogs->chooseFile(path);
        click(button("cmdLoadCCamFile"));
    }

private slots:
    void init()
    {
        dialogs = std::make_unique<ScriptedDialogs>();
        settings = std::make_unique<MemorySettings>();
        window = std::make_unique<frmCarCamera>(dialogs.get(), settings.get());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup()
    {
        window.reset();
        QVERIFY2(dialogs->unexpected.isEmpty(), qPrintable(dialogs->unexpected.join(u'\n')));
        QVERIFY(dialogs->allAnswersUsed());
        QLocale::setDefault(userLocale);
    }

    void startUpShowsTheBrabhamNoseCamera();
    void everySliderChangeRewritesRedrawsAndEnables();
    void draggedBarShowsItsPosition();
    void userDecimalSeparator();
    void typedEntry_data();
    void typedEntry();
    void typingTheShownValueChangesNothing();
    void pressOnAnotherCameraWithChangesPending_data();
    void pressOnAnotherCameraWithChangesPending();
    void pressOnTheActiveCameraWithChangesPending();
    void selectionWithoutPendingChangesAsksNothing();
    void arrowKeysSelectWithoutAQuestion();
    void applyWritesAllNineFieldsAtSliderResolution();
    void valuesTheSlidersCannotHold();
    void cancelRestoresTheRecord();
    void copyTakesTheStoredRecord();
    void pasteThenCancelAndApply();
    void pasteThatMovesNoSlider();
    void copyAcrossANewDocument();
    void pointingInTheViews();
    void toolTipsAndClosing();
};

void TestCameraEditor::startUpShowsTheBrabhamNoseCamera()
{
    // Yaw1, Bank and Yaw2 stay at their design position 0, so their displays keep "0.0".
    const QStringList captions = {"2.324", "0.204", "0.084", "0.0",  "0.2",
                                  "0.0",   "77.99", "0.0",   "-7.16"};
    const QList<int> positions = {581, 51, 21, 0, 20, 0, 7799, 0, -716};
    for (int i = 0; i < 9; ++i) {
        QCOMPARE(display(i)->text(), captions[i]);
        QCOMPARE(slider(i)->value(), positions[i]);
    }
    QCOMPARE(frameCaption(), QStringLiteral("Nose Camera"));
    QVERIFY(option(0)->isChecked());
    QCOMPARE(window->editor().ActiveCamera(), 0);
    QCOMPARE(child<QLabel>("lblfile1")->text(), QStringLiteral("brabham.cam"));

    QVERIFY(!applyEnabled());
    QVERIFY(!cancelEnabled());
    QVERIFY(button("cmdCopyCam")->isEnabled());
    QVERIFY(button("cmdsaveCameraFile")->isEnabled());
    QVERIFY(!button("cmdPaste")->isEnabled());
    QVERIFY(dialogs->messages.isEmpty());
    QVERIFY(dialogs->inputRequests.isEmpty());

    // The views show the sliders' camera.
    auto *top = child<PictureBox>("Picture1");
    QVERIFY(top->camera());
    QCOMPARE(top->camera()->X, 2.324);
    QCOMPARE(top->camera()->Zoom, 77.99f);
    QCOMPARE(top->camera()->Pitch1, 0.2f);
}

void TestCameraEditor::everySliderChangeRewritesRedrawsAndEnables()
{
    PaintCounter side(child<PictureBox>("Picture2"));
    for (int i = 0; i < 9; ++i) {
        click(button("cmdEditCancel"));
        QVERIFY(!applyEnabled() && !cancelEnabled());
        const int moved = slider(i)->value() + (i < 3 ? 10 : 100);
        const int paintsBefore = side.paints;

        slider(i)->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(slider(i)->value(), moved);
        QCOMPARE(display(i)->text(), formatPlainDecimal(sliderValue(i, moved)));
        QVERIFY(applyEnabled());
        QVERIFY(cancelEnabled());
        // Yaw2 and Pitch2 are not drawn, but their changes redraw too.
        QTRY_VERIFY(side.paints > paintsBefore);
    }

    // The views follow the sliders, not the document.
    click(button("cmdEditCancel"));
    nudge(0);
    type(6, QStringLiteral("12.5"));
    const std::optional<ViewCamera> shown = child<PictureBox>("Picture3")->camera();
    QVERIFY(shown);
    QCOMPARE(shown->X, 582 / 250.0);
    QCOMPARE(shown->Zoom, 12.5f);
    QCOMPARE(stored(0).X, 2.323915f);

    // Setting a slider to the position it has changes nothing.
    click(button("cmdEditCancel"));
    QTest::qWait(20); // the repaints Cancel asked for
    const int paintsBefore = side.paints;
    display(3)->setText(QStringLiteral("untouched"));
    slider(3)->setValue(0);
    QCOMPARE(display(3)->text(), QStringLiteral("untouched"));
    QVERIFY(!applyEnabled());
    QTest::qWait(20);
    QCOMPARE(side.paints, paintsBefore);
}

void TestCameraEditor::draggedBarShowsItsPosition()
{
    // What is on screen must match a fresh rendering of the bar after every kind of
    // move: many small steps while dragged, reaching and leaving the ends.
    QScrollBar *zoom = slider(6);
    const auto onScreen = [&] {
        QCoreApplication::processEvents();
        const QPoint at = zoom->mapTo(window.get(), QPoint(0, 0));
        return window->screen()
            ->grabWindow(window->winId(), at.x(), at.y(), zoom->width(), zoom->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    const auto rendered = [&] {
        return zoom->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };

    zoom->setSliderDown(true);
    for (int position = 7799; position >= 0; position -= 7) {
        zoom->setSliderPosition(position);
        QCoreApplication::processEvents();
    }
    zoom->setSliderPosition(0);
    QCOMPARE(onScreen(), rendered());
    zoom->setSliderPosition(1);
    QCOMPARE(onScreen(), rendered());
    for (int position = 2; position <= 18000; position += 13)
        zoom->setSliderPosition(position);
    QCOMPARE(onScreen(), rendered());
    zoom->setSliderPosition(18000);
    QCOMPARE(onScreen(), rendered());
    zoom->setSliderPosition(17990);
    QCOMPARE(onScreen(), rendered());
    zoom->setSliderDown(false);
    QCOMPARE(display(6)->text(), QStringLiteral("179.9"));
}

void TestCameraEditor::userDecimalSeparator()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    nudge(0);
    QCOMPARE(display(0)->text(), QStringLiteral("2,328"));

    // The caption offered in the input box is accepted as it stands; so is a full stop.
    type(0, display(0)->text());
    QCOMPARE(dialogs->inputRequests.last().defaultText, QStringLiteral("2,328"));
    QCOMPARE(slider(0)->value(), 582);
    type(0, QStringLiteral("1,5"));
    QCOMPARE(slider(0)->value(), 375);
    QCOMPARE(display(0)->text(), QStringLiteral("1,5"));
    type(6, QStringLiteral("12.25"));
    QCOMPARE(slider(6)->value(), 1225);
    QCOMPARE(display(6)->text(), QStringLiteral("12,25"));
    QVERIFY(dialogs->messages.isEmpty());
}

void TestCameraEditor::typedEntry_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position"); // INT_MIN: refused or ignored, nothing changes
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("message");

    const int unchanged = std::numeric_limits<int>::min();
    const QString range = QStringLiteral("Value outside of range");
    QTest::newRow("X 120") << 0 << "120" << 30000 << "120"
                           << "";
    QTest::newRow("X 120.001") << 0 << "120.001" << unchanged << "" << range;
    QTest::newRow("X -120") << 0 << "-120" << -30000 << "-120"
                            << "";
    QTest::newRow("Z -0.4") << 2 << "-0.4" << -100 << "-0.4"
                            << "";
    QTest::newRow("Z -0.41") << 2 << "-0.41" << unchanged << "" << range;
    QTest::newRow("Yaw1 180") << 3 << "180" << 18000 << "180"
                              << "";
    QTest::newRow("Yaw1 181") << 3 << "181" << unchanged << "" << range;
    QTest::newRow("Yaw2 250") << 7 << "250" << unchanged << "" << range;
    QTest::newRow("Zoom -10") << 6 << "-10" << unchanged << "" << range;
    QTest::newRow("Zoom -0.004") << 6 << "-0.004" << 0 << "0"
                                 << "";
    QTest::newRow("X 0.002 half to even") << 0 << "0.002" << 0 << "0"
                                          << "";
    QTest::newRow("X 0.006 half to even") << 0 << "0.006" << 2 << "0.008"
                                          << "";
    QTest::newRow("exponent and blanks") << 1 << " -1.5e1 " << -3750 << "-15"
                                         << "";
    QTest::newRow("Y letters") << 1 << "abc" << unchanged << ""
                               << "Entered Value must be numeric";
    QTest::newRow("Bank letters") << 5 << "abc" << unchanged << ""
                                  << "Entered value must be numeric";
    QTest::newRow("Pitch2 blanks") << 8 << "   " << unchanged << ""
                                   << "Entered value must be numeric";
    QTest::newRow("empty or Cancel") << 4 << "" << unchanged << ""
                                     << "";
}

void TestCameraEditor::typedEntry()
{
    QFETCH(int, row);
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(QString, caption);
    QFETCH(QString, message);

    const CameraSet document = window->document().DocumentCameras;
    const int before = slider(row)->value();
    const QString captionBefore = display(row)->text();
    if (!message.isEmpty())
        dialogs->answers.push_back(UserDialogs::Answer::Ok);
    type(row, text);

    // The box asks with the row's prompt and title, offering what the display shows.
    QCOMPARE(dialogs->inputRequests.size(), 1);
    const ScriptedDialogs::Input asked = dialogs->inputRequests.first();
    QCOMPARE(asked.title,
             row < 3 ? QStringLiteral("Value in Meters") : QStringLiteral("Value in Degrees"));
    QCOMPARE(asked.prompt, row < 2    ? QStringLiteral("Enter a value between -120 and 120")
                           : row == 2 ? QStringLiteral("Enter a value between -0.4 and 120")
                                      : QStringLiteral("Enter a value between -180 and 180"));
    QCOMPARE(asked.defaultText, captionBefore);

    if (message.isEmpty()) {
        QVERIFY(dialogs->messages.isEmpty());
    } else {
        QCOMPARE(dialogs->messages.size(), 1);
        QCOMPARE(dialogs->messages.first().text, message);
        QCOMPARE(dialogs->messages.first().title, QStringLiteral("Kestrel"));
        QCOMPARE(dialogs->messages.first().buttons, UserDialogs::Buttons::Ok);
    }

    if (position == std::numeric_limits<int>::min()) {
        QCOMPARE(slider(row)->value(), before);
        QCOMPARE(display(row)->text(), captionBefore);
        QVERIFY(!applyEnabled());
    } else {
        QCOMPARE(slider(row)->value(), position);
        QCOMPARE(display(row)->text(), caption);
        QVERIFY(applyEnabled());
        QVERIFY(cancelEnabled());
    }
    // Typed entry never writes the document.
    QVERIFY(sameBits(window->document().DocumentCameras, document));
}

void TestCameraEditor::typingTheShownValueChangesNothing()
{
    // Clean: the shown X and the design caption of Bank are taken as they are.
    type(0, display(0)->text());
    type(5, display(5)->text());
    QCOMPARE(slider(0)->value(), 581);
    QCOMPARE(display(5)->text(), QStringLiteral("0.0"));
    QVERIFY(!applyEnabled());

    // Pending: Apply stays enabled.
    nudge(7);
    type(7, display(7)->text());
    QCOMPARE(slider(7)->value(), 1);
    QVERIFY(applyEnabled());
    QVERIFY(dialogs->messages.isEmpty());
}

void TestCameraEditor::pressOnAnotherCameraWithChangesPending_data()
{
    QTest::addColumn<Qt::MouseButton>("mouseButton");
    QTest::addColumn<UserDialogs::Answer>("answer");
    QTest::newRow("left, Yes") << Qt::LeftButton << UserDialogs::Answer::Yes;
    QTest::newRow("left, No") << Qt::LeftButton << UserDialogs::Answer::No;
    QTest::newRow("right, Yes") << Qt::RightButton << UserDialogs::Answer::Yes;
    QTest::newRow("right, No") << Qt::RightButton << UserDialogs::Answer::No;
}

void TestCameraEditor::pressOnAnotherCameraWithChangesPending()
{
    QFETCH(Qt::MouseButton, mouseButton);
    QFETCH(UserDialogs::Answer, answer);

    const CameraRecord nose = stored(0);
    const CameraRecord rollBar = stored(3);
    nudge(0); // X 2.328

    dialogs->answers.push_back(answer);
    clickOption(3, mouseButton);

    // Asked once, naming the camera being left.
    QCOMPARE(dialogs->messages.size(), 1);
    QCOMPARE(dialogs->messages.first().text,
             QStringLiteral("Apply recent changes to Nose Camera?"));
    QCOMPARE(dialogs->messages.first().title, QStringLiteral("Camera has changed"));
    QCOMPARE(dialogs->messages.first().buttons, UserDialogs::Buttons::YesNo);

    if (answer == UserDialogs::Answer::Yes) {
        QCOMPARE(stored(0).X, 2.328f);
        QCOMPARE(stored(0).Y, 0.204f);
        QCOMPARE(stored(0).Zoom, 1.3611822f);
    } else {
        QVERIFY(stored(0).sameBits(nose));
    }
    QVERIFY(stored(3).sameBits(rollBar));

    // Either way the Roll Bar camera is now loaded and clean.
    QVERIFY(option(3)->isChecked());
    QCOMPARE(window->editor().ActiveCamera(), 3);
    QCOMPARE(frameCaption(), QStringLiteral("Roll Bar Camera"));
    QCOMPARE(slider(0)->value(), -26);
    QCOMPARE(display(0)->text(), QStringLiteral("-0.104"));
    QVERIFY(!applyEnabled());
    QVERIFY(!cancelEnabled());
    QVERIFY(button("cmdsaveCameraFile")->isEnabled());
}

void TestCameraEditor::pressOnTheActiveCameraWithChangesPending()
{
    nudge(0);
    dialogs->answers.push_back(UserDialogs::Answer::No);
    clickOption(0);
    QCOMPARE(dialogs->lastMessage(), QStringLiteral("Apply recent changes to Nose Camera?"));
    // No: nothing reloaded, the changes are still pending.
    QCOMPARE(slider(0)->value(), 582);
    QVERIFY(applyEnabled());
    QCOMPARE(stored(0).X, 2.323915f);

    dialogs->answers.push_back(UserDialogs::Answer::Yes);
    clickOption(0);
    QCOMPARE(dialogs->messages.size(), 2);
    QCOMPARE(stored(0).X, 2.328f);
    QCOMPARE(slider(0)->value(), 582);
    QVERIFY(!applyEnabled());
    QVERIFY(option(0)->isChecked());
}

void TestCameraEditor::selectionWithoutPendingChangesAsksNothing()
{
    clickOption(2);
    QVERIFY(option(2)->isChecked());
    QCOMPARE(frameCaption(), QStringLiteral("Zepplin/Shoulder * Camera"));
    QCOMPARE(window->editor().ActiveCamera(), 2);
    QCOMPARE(display(0)->text(), QStringLiteral("-0.4")); // -0.3985842 m
    QVERIFY(!applyEnabled());

    // The right button does not select, as with any option button.
    clickOption(5, Qt::RightButton);
    QVERIFY(option(2)->isChecked());

    const QStringList frames = {
        "Nose Camera",     "Gear Box Camera",         "",
        "Roll Bar Camera", "Front Suspension Camera", "Rear Suspension Camera"};
    for (int k : {0, 1, 3, 4, 5}) {
        clickOption(k);
        QCOMPARE(frameCaption(), frames[k]);
        QVERIFY(!applyEnabled());
    }
    QVERIFY(dialogs->messages.isEmpty());
}

void TestCameraEditor::arrowKeysSelectWithoutAQuestion()
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    option(0)->setFocus();
    nudge(0);
    QVERIFY(applyEnabled());

    QTest::keyClick(option(0), Qt::Key_Down);
    QVERIFY(option(1)->isChecked());
    QCOMPARE(frameCaption(), QStringLiteral("Gear Box Camera"));
    QCOMPARE(slider(0)->value(), -326); // -1.304172 m
    QVERIFY(!applyEnabled());
    // The pending move of the Nose camera is gone.
    QCOMPARE(stored(0).X, 2.323915f);
    QVERIFY(dialogs->messages.isEmpty());
}

void TestCameraEditor::applyWritesAllNineFieldsAtSliderResolution()
{
    const CameraSet before = window->document().DocumentCameras;
    nudge(7); // only Yaw2 moves
    click(button("cmdeditApply"));

    const CameraRecord nose = stored(0);
    QCOMPARE(nose.X, 2.324f);
    QCOMPARE(nose.Y, 0.204f);
    QCOMPARE(nose.Z, 0.084f);
    QCOMPARE(nose.Yaw1, 0.0f);
    QCOMPARE(nose.Pitch1, float(modCameraMath::DegreesToRadians(0.2f)));
    QCOMPARE(nose.Bank, 0.0f);
    QCOMPARE(nose.Zoom, 1.3611822f);
    QCOMPARE(nose.Yaw2, float(modCameraMath::DegreesToRadians(0.01f)));
    QCOMPARE(nose.Pitch2, float(modCameraMath::DegreesToRadians(-7.16f)));
    for (int c = 1; c < 6; ++c)
        QVERIFY(stored(c).sameBits(before[c]));

    QVERIFY(!applyEnabled());
    QVERIFY(!cancelEnabled());
    QVERIFY(button("cmdsaveCameraFile")->isEnabled());
    // The sliders keep what was applied.
    QCOMPARE(slider(0)->value(), 581);
    QCOMPARE(slider(7)->value(), 1);
}

void TestCameraEditor::valuesTheSlidersCannotHold()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());

    // 0.35 m is stored just below 0.35: position 87.
    CameraRecord nose = stored(0);
    nose.X = 0.35f;
    nose.Y = 500.0f;                                    // beyond 120 m
    nose.Z = std::numeric_limits<float>::quiet_NaN();   // not a number
    nose.Zoom = -1.0f;                                  // below 0 degrees
    nose.Yaw2 = std::numeric_limits<float>::infinity(); // beyond 300 degrees
    nose.Pitch2 = -std::numeric_limits<float>::infinity();
    loadNose(nose, folder.filePath(QStringLiteral("odd.cam")));
    QVERIFY(dialogs->messages.isEmpty());

    const QList<int> positions = {87, 30000, 0, 0, 20, 0, 0, 30000, -30000};
    const QStringList captions = {"0.348", "120", "0", "0.0", "0.2", "0.0", "0", "300", "-300"};
    for (int i = 0; i < 9; ++i) {
        QCOMPARE(slider(i)->value(), positions[i]);
        QCOMPARE(display(i)->text(), captions[i]);
    }
    QVERIFY(!applyEnabled());
    // The record keeps what the file held until the user applies.
    QVERIFY(stored(0).sameBits(nose));

    nudge(3);
    click(button("cmdeditApply"));
    QCOMPARE(stored(0).X, 0.348f);
    QCOMPARE(stored(0).Y, 120.0f);
    QCOMPARE(stored(0).Z, 0.0f);
    QCOMPARE(stored(0).Zoom, 0.0f);
    QCOMPARE(stored(0).Yaw2, float(modCameraMath::DegreesToRadians(300.0f)));
    QCOMPARE(stored(0).Pitch2, float(modCameraMath::DegreesToRadians(-300.0f)));
}

void TestCameraEditor::cancelRestoresTheRecord()
{
    const CameraSet before = window->document().DocumentCameras;
    nudge(0);
    type(6, QStringLiteral("90"));
    slider(8)->triggerAction(QAbstractSlider::SliderPageStepSub);
    QVERIFY(cancelEnabled());

    click(button("cmdEditCancel"));
    const QList<int> positions = {581, 51, 21, 0, 20, 0, 7799, 0, -716};
    for (int i = 0; i < 9; ++i)
        QCOMPARE(slider(i)->value(), positions[i]);
    QCOMPARE(display(0)->text(), QStringLiteral("2.324"));
    QCOMPARE(display(6)->text(), QStringLiteral("77.99"));
    QCOMPARE(display(8)->text(), QStringLiteral("-7.16"));
    QVERIFY(!applyEnabled());
    QVERIFY(!cancelEnabled());
    for (int c = 0; c < 6; ++c)
        QVERIFY(stored(c).sameBits(before[c]));
    QCOMPARE(child<PictureBox>("Picture1")->camera()->Zoom, 77.99f);
}

void TestCameraEditor::copyTakesTheStoredRecord()
{
    QVERIFY(!button("cmdPaste")->isEnabled());
    nudge(0);
    click(button("cmdCopyCam"));
    QVERIFY(window->editor().CopyBuffer().sameBits(stored(0)));
    QCOMPARE(window->editor().CopyBuffer().X, 2.323915f);
    QVERIFY(button("cmdPaste")->isEnabled());
    // Copy leaves the pending changes alone.
    QVERIFY(applyEnabled());
    QCOMPARE(slider(0)->value(), 582);
}

void TestCameraEditor::pasteThenCancelAndApply()
{
    const CameraRecord nose = stored(0);
    click(button("cmdCopyCam"));
    clickOption(4);
    type(3, QStringLiteral("45")); // pending on Front Suspension

    // Paste replaces the pending changes and the record at once, without a question.
    click(button("cmdPaste"));
    QVERIFY(stored(4).sameBits(nose));
    QCOMPARE(slider(0)->value(), 581);
    QCOMPARE(slider(3)->value(), 0);
    QCOMPARE(display(3)->text(), QStringLiteral("0"));
    QVERIFY(applyEnabled());
    QVERIFY(cancelEnabled());

    // Cancel cannot undo a paste.
    click(button("cmdEditCancel"));
    QCOMPARE(slider(0)->value(), 581);
    QVERIFY(stored(4).sameBits(nose));
    QVERIFY(!applyEnabled());

    // Apply writes the pasted camera again at slider resolution.
    nudge(7);
    slider(7)->triggerAction(QAbstractSlider::SliderSingleStepSub);
    click(button("cmdeditApply"));
    QCOMPARE(stored(4).X, 2.324f);
    QCOMPARE(stored(4).Zoom, 1.3611822f);
    QVERIFY(stored(0).sameBits(nose));
    QCOMPARE(window->editor().ActiveCamera(), 4);
    QCOMPARE(frameCaption(), QStringLiteral("Front Suspension Camera"));
    QVERIFY(dialogs->messages.isEmpty());
}

void TestCameraEditor::pasteThatMovesNoSlider()
{
    click(button("cmdCopyCam"));
    click(button("cmdPaste"));
    QVERIFY(!applyEnabled());
    QVERIFY(!cancelEnabled());

    // With changes pending the paste moves the slider back and Apply stays enabled.
    nudge(0);
    click(button("cmdPaste"));
    QCOMPARE(slider(0)->value(), 581);
    QVERIFY(applyEnabled());
}

void TestCameraEditor::copyAcrossANewDocument()
{
    const CameraRecord brabhamNose = stored(0);
    click(button("cmdCopyCam"));

    dialogs->carTypes.push_back(4); // Ferrari
    click(button("cmdMakeCamFile"));
    QCOMPARE(child<QLabel>("lblfile1")->text(), QStringLiteral("ferrari.cam"));
    QVERIFY(!stored(0).sameBits(brabhamNose));
    QVERIFY(button("cmdPaste")->isEnabled());
    QVERIFY(window->editor().CopyBuffer().sameBits(brabhamNose));

    click(button("cmdPaste"));
    QVERIFY(stored(0).sameBits(brabhamNose));
    QCOMPARE(slider(0)->value(), 581);
    QVERIFY(applyEnabled());
}

void TestCameraEditor::pointingInTheViews()
{
    auto *top = child<PictureBox>("Picture1");
    auto *side = child<PictureBox>("Picture2");
    auto *front = child<PictureBox>("Picture3");

    // The pixel of the top view nearest x = 1.0 m, y = -2.5 m.
    const double h = top->halfExtent();
    QVERIFY(h > 2.5);
    const QPointF origin = top->toUser(QPointF(0, 0));
    const QPointF unit = top->toUser(QPointF(1, 1)) - origin;
    const QPoint pixel(qRound((1.0 - origin.x()) / unit.x()),
                       qRound((-2.5 - origin.y()) / unit.y()));
    const QPointF pointed = top->toUser(pixel);
    QVERIFY(std::abs(pointed.x() - 1.0) <= std::abs(unit.x()));
    QVERIFY(std::abs(pointed.y() + 2.5) <= std::abs(unit.y()));

    QTest::mousePress(top, Qt::LeftButton, Qt::NoModifier, pixel);
    QCOMPARE(slider(0)->value(), pointedPosition(0, pointed.x()));
    QCOMPARE(slider(1)->value(), pointedPosition(1, pointed.y()));
    QVERIFY(std::abs(slider(0)->value() - 250) <= std::abs(unit.x()) * 250 + 1);
    QVERIFY(std::abs(slider(1)->value() + 625) <= std::abs(unit.y()) * 250 + 1);
    QCOMPARE(slider(2)->value(), 21); // Z untouched
    QCOMPARE(display(0)->text(), formatPlainDecimal(slider(0)->value() / 250.0));
    QVERIFY(applyEnabled());
    QTest::mouseRelease(top, Qt::LeftButton, Qt::NoModifier, pixel);
    click(button("cmdEditCancel"));

    // The side view's centre: X and Z to 0, Y kept; the right button acts alike.
    const QPoint centre = side->rect().center();
    const QPointF centreMetres = side->toUser(centre);
    QTest::mousePress(side, Qt::RightButton, Qt::NoModifier, centre);
    QCOMPARE(slider(0)->value(), pointedPosition(0, centreMetres.x()));
    QCOMPARE(slider(2)->value(), pointedPosition(2, centreMetres.y()));
    QVERIFY(std::abs(slider(0)->value()) <= 10);
    QCOMPARE(slider(1)->value(), 51);
    QTest::mouseRelease(side, Qt::RightButton, Qt::NoModifier, centre);

    // The front view's bottom edge is far below Z = -0.4 m: Z stops there; X kept.
    const int xBefore = slider(0)->value();
    const QPoint bottom(front->width() / 2, front->height() - 1);
    const QPointF bottomMetres = front->toUser(bottom);
    QTest::mouseClick(front, Qt::LeftButton, Qt::NoModifier, bottom);
    QCOMPARE(slider(2)->value(), -100);
    QCOMPARE(display(2)->text(), QStringLiteral("-0.4"));
    QCOMPARE(slider(0)->value(), xBefore);
    QCOMPARE(slider(1)->value(), pointedPosition(1, bottomMetres.x()));
    // The document waits for Apply.
    QCOMPARE(stored(0).X, 2.323915f);
}

void TestCameraEditor::toolTipsAndClosing()
{
    QCOMPARE(button("cmdCopyCam")->toolTip(),
             QStringLiteral("Copy the currently active camera to copy buffer"));
    QCOMPARE(button("cmdPaste")->toolTip(),
             QStringLiteral("Pastes copy buffer into currently selected camera position"));
    QCOMPARE(button("cmdEditCancel")->toolTip(),
             QStringLiteral("Cancels movements of sliders, does not cancel paste."));
    QCOMPARE(button("cmdeditApply")->toolTip(), QStringLiteral("Apply edits, enables Save camera"));
    QCOMPARE(button("cmdMakeCamFile")->toolTip(),
             QStringLiteral("Create a new car cam.  toggle through car types"));

    // Closing with changes pending asks nothing.
    nudge(0);
    QVERIFY(window->close());
    QVERIFY(dialogs->messages.isEmpty());
}

QTEST_MAIN(TestCameraEditor)
#include "test_cameraeditor.moc"

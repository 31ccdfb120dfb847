// The car type dialog driven with real mouse and key events.

#include "frmselectcartype.h"
#include "qtuserdialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// Runs `answer` on the first modal dialog that appears while the next exec() runs.
void answerModalDialog(std::function<void(frmSelectCarType *)> answer)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer] {
        if (auto *dialog = qobject_cast<frmSelectCarType *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
        }
    });
    timer->start();
}

void click(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(8, button->height() / 2));
}

} // namespace

class TestSelectCarType : public QObject
{
    Q_OBJECT

private slots:
    void layoutAndCaptions();
    void okAtOnceGivesBrabham();
    void lastClickedMakeCounts();
    void enterOnFocusedOkAndAltO();
    void arrowKeysMoveTheChoice();
    void closeBoxRejects();
    void resizeKeepsPlaces();
    void qtDialogsShowAFreshDialogEachTime();
};

void TestSelectCarType::layoutAndCaptions()
{
    frmSelectCarType dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("frmSelectCarType"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Select Car Type"));
    QCOMPARE(dialog.size(), QSize(276, 196));
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowMaximizeButtonHint);

    const QStringList makes = {"Brabham", "BRM",   "Coventry", "Eagle",
                               "Ferrari", "Lotus", "Murasama"};
    for (int i = 0; i < 7; ++i) {
        QRadioButton *option =
            dialog.findChild<QRadioButton *>(QStringLiteral("optCarType(%1)").arg(i));
        QVERIFY(option);
        QCOMPARE(option, dialog.optCarType(i));
        QCOMPARE(option->text(), makes[i]);
        QCOMPARE(option->geometry(), QRect(12, 8 + 24 * i, 121, 21));
        QVERIFY(!option->isChecked());
    }
    QPushButton *ok = dialog.findChild<QPushButton *>(QStringLiteral("cmdCarOk"));
    QVERIFY(ok);
    QCOMPARE(ok->text(), QStringLiteral("&Ok"));
    QCOMPARE(ok->geometry(), QRect(176, 148, 77, 29));
    QCOMPARE(dialog.CarChoice(), qint16(0));

    // Tab order: the options top to bottom, then OK.
    QWidget *w = dialog.optCarType(0);
    for (int i = 1; i < 7; ++i) {
        w = w->nextInFocusChain();
        QCOMPARE(w, static_cast<QWidget *>(dialog.optCarType(i)));
    }
    QCOMPARE(w->nextInFocusChain(), static_cast<QWidget *>(ok));
}

void TestSelectCarType::okAtOnceGivesBrabham()
{
    frmSelectCarType dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(dialog.optCarType(0)));
    click(dialog.cmdCarOk());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.CarChoice(), qint16(0));
}

void TestSelectCarType::lastClickedMakeCounts()
{
    frmSelectCarType dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    click(dialog.optCarType(5)); // Lotus
    QCOMPARE(dialog.CarChoice(), qint16(5));
    click(dialog.optCarType(3)); // Eagle
    QVERIFY(dialog.optCarType(3)->isChecked());
    QVERIFY(!dialog.optCarType(5)->isChecked());
    click(dialog.cmdCarOk());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.CarChoice(), qint16(3));
}

void TestSelectCarType::enterOnFocusedOkAndAltO()
{
    {
        frmSelectCarType dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        click(dialog.optCarType(4)); // Ferrari
        dialog.cmdCarOk()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(dialog.cmdCarOk(), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.CarChoice(), qint16(4));
    }
    {
        frmSelectCarType dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        click(dialog.optCarType(6)); // Murasama
        // The access key presses OK as a short animated click.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::AltModifier);
        QTRY_COMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.CarChoice(), qint16(6));
    }
}

void TestSelectCarType::arrowKeysMoveTheChoice()
{
    frmSelectCarType dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QWidget *focused = QApplication::focusWidget();
    QCOMPARE(focused, static_cast<QWidget *>(dialog.optCarType(0)));

    // Down from the focused Brabham option picks BRM, then Coventry.
    QTest::keyClick(focused, Qt::Key_Down);
    QVERIFY(dialog.optCarType(1)->isChecked());
    QCOMPARE(dialog.CarChoice(), qint16(1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QVERIFY(dialog.optCarType(2)->isChecked());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(dialog.optCarType(2)));
    QCOMPARE(dialog.CarChoice(), qint16(2));

    // Up past the top wraps round to the last make.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QVERIFY(dialog.optCarType(6)->isChecked());
    QCOMPARE(dialog.CarChoice(), qint16(6));
    QCOMPARE(dialog.result(), int(QDialog::Rejected)); // nothing accepted yet

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(dialog.cmdCarOk()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.CarChoice(), qint16(6));
}

void TestSelectCarType::closeBoxRejects()
{
    frmSelectCarType dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    click(dialog.optCarType(2));
    QVERIFY(dialog.close());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void TestSelectCarType::resizeKeepsPlaces()
{
    frmSelectCarType dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.resize(500, 400);
    QTRY_COMPARE(dialog.size(), QSize(500, 400));
    QCOMPARE(dialog.optCarType(6)->geometry(), QRect(12, 152, 121, 21));
    QCOMPARE(dialog.cmdCarOk()->geometry(), QRect(176, 148, 77, 29));
}

void TestSelectCarType::qtDialogsShowAFreshDialogEachTime()
{
    QWidget owner;
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    QtUserDialogs dialogs(&owner);

    // What the dialog showed is checked after it has closed, so that a failed
    // check cannot leave it open.
    QWidget *parent = nullptr;
    bool modal = false;
    answerModalDialog([&](frmSelectCarType *dialog) {
        parent = dialog->parentWidget();
        modal = dialog->isModal();
        click(dialog->optCarType(4)); // Ferrari
        click(dialog->cmdCarOk());
    });
    QCOMPARE(dialogs.selectCarType(), std::optional<int>(4));
    QCOMPARE(parent, &owner);
    QVERIFY(modal);

    // A new dialog does not remember Ferrari: OK at once is Brabham.
    bool ferrariChecked = true;
    answerModalDialog([&](frmSelectCarType *dialog) {
        ferrariChecked = dialog->optCarType(4)->isChecked();
        click(dialog->cmdCarOk());
    });
    QCOMPARE(dialogs.selectCarType(), std::optional<int>(0));
    QVERIFY(!ferrariChecked);

    // Closed without OK: nothing.
    answerModalDialog([](frmSelectCarType *dialog) {
        click(dialog->optCarType(1));
        dialog->close();
    });
    QCOMPARE(dialogs.selectCarType(), std::optional<int>());
}

QTEST_MAIN(TestSelectCarType)
#include "test_selectcartype.moc"

#include "modcameramath.h"
#include "slidervalues.h"

#include <QtTest>

#include <cmath>

class TestSliderValues : public QObject
{
    Q_OBJECT

private slots:
    void halfEven()
    {
        QCOMPARE(roundHalfEven(0.5), 0.0);
        QCOMPARE(roundHalfEven(1.5), 2.0);
        QCOMPARE(roundHalfEven(2.5), 2.0);
        QCOMPARE(roundHalfEven(-0.5), -0.0);
        QCOMPARE(roundHalfEven(-1.5), -2.0);
        QCOMPARE(roundHalfEven(2.5000001), 3.0);
    }

    void significantDigits()
    {
        QCOMPARE(roundToSignificantDigits(7799.4278459999995), 7799.42784600000);
        QCOMPARE(roundToSignificantDigits(0.0), 0.0);
        // An angle whose degrees x 100 lands a hair below .5 after conversion still
        // rounds as its 15-digit decimal says.
        QCOMPARE(roundToSignificantDigits(12.499999999999998), 12.5);
    }

    void display_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << 0 << "0";
        QTest::newRow("581") << 0 << 581 << "2.324";
        QTest::newRow("1") << 1 << 1 << "0.004";
        QTest::newRow("-100") << 2 << -100 << "-0.4";
        QTest::newRow("30000") << 0 << 30000 << "120";
        QTest::newRow("-30000") << 1 << -30000 << "-120";
        QTest::newRow("7799") << 6 << 7799 << "77.99";
        QTest::newRow("-716") << 8 << -716 << "-7.16";
        QTest::newRow("-7160") << 8 << -7160 << "-71.6";
        QTest::newRow("20") << 4 << 20 << "0.2";
        QTest::newRow("18000") << 6 << 18000 << "180";
        QTest::newRow("-1") << 3 << -1 << "-0.01";
        QTest::newRow("51") << 0 << 51 << "0.204";
    }

    void display()
    {
        QFETCH(int, index);
        QFETCH(int, position);
        QFETCH(QString, text);
        QCOMPARE(formatPlainDecimal(sliderValue(index, position)), text);
    }

    void displayGeneral()
    {
        QCOMPARE(formatPlainDecimal(1e-7), QStringLiteral("0.0000001"));
        QCOMPARE(formatPlainDecimal(1.5e17), QStringLiteral("150000000000000000"));
        QCOMPARE(formatPlainDecimal(0.1 + 0.2), QStringLiteral("0.3"));
        QCOMPARE(formatPlainDecimal(-0.0), QStringLiteral("0"));
        QCOMPARE(formatPlainDecimal(2.324, QLatin1Char(',')), QStringLiteral("2,324"));
        QCOMPARE(formatPlainDecimal(12345.5), QStringLiteral("12345.5"));
    }

    void fieldToPosition()
    {
        QCOMPARE(positionForField(0, 2.323915f), 581);
        QCOMPARE(positionForField(0, 0.35f), 87); // just below 0.35 as a single
        QCOMPARE(positionForField(6, 1.361257f), 7799);
        QCOMPARE(positionForField(8, -0.125f), -716);
        QCOMPARE(positionForField(4, 0.003525602f), 20);
        QCOMPARE(positionForField(1, 0.2047831f), 51);
        QCOMPARE(positionForField(2, 0.08309222f), 21);
        // Beyond the range: the nearest end. NaN: zero.
        QCOMPARE(positionForField(0, 1000.0f), 30000);
        QCOMPARE(positionForField(2, -5.0f), -100);
        QCOMPARE(positionForField(6, -0.5f), 0);
        QCOMPARE(positionForField(3, std::numeric_limits<float>::infinity()), 18100);
        QCOMPARE(positionForField(7, -std::numeric_limits<float>::infinity()), -30000);
        QCOMPARE(positionForField(5, std::numeric_limits<float>::quiet_NaN()), 0);
    }

    void positionToField()
    {
        QCOMPARE(fieldForPosition(0, 581), 2.324f);
        QCOMPARE(fieldForPosition(0, 87), 0.348f);
        QCOMPARE(fieldForPosition(6, 7799), 1.3611822f);
        QCOMPARE(fieldForPosition(6, 7799), float(modCameraMath::DegreesToRadians(77.99f)));
        // Round trips through a slider are stable.
        for (int index = 0; index < SliderCount; ++index) {
            const SliderSpec &info = sliderSpec(index);
            for (int p = info.minimum; p <= info.maximum; p += 37)
                QCOMPARE(positionForField(index, fieldForPosition(index, p)), p);
        }
    }

    void typedEntry_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("position");
        const int A = TypedEntryResult::Accepted, R = TypedEntryResult::OutOfRange,
                  N = TypedEntryResult::NotNumeric, E = TypedEntryResult::Empty;
        QTest::newRow("X 120") << 0 << "120" << A << 30000;
        QTest::newRow("X 120.001") << 0 << "120.001" << R << 0;
        QTest::newRow("X -120") << 0 << "-120" << A << -30000;
        QTest::newRow("Z -0.4") << 2 << "-0.4" << A << -100;
        QTest::newRow("Z -0.41") << 2 << "-0.41" << R << 0;
        QTest::newRow("Yaw1 181") << 3 << "181" << R << 0;
        QTest::newRow("Yaw1 -180") << 3 << "-180" << A << -18000;
        QTest::newRow("Yaw2 250") << 7 << "250" << R << 0;
        QTest::newRow("Zoom -10") << 6 << "-10" << R << 0;
        QTest::newRow("Zoom -0.004") << 6 << "-0.004" << A << 0;
        QTest::newRow("Zoom -0.005") << 6 << "-0.005" << A << 0;
        QTest::newRow("Zoom -0.006") << 6 << "-0.006" << R << 0;
        QTest::newRow("X 0.002") << 0 << "0.002" << A << 0;
        QTest::newRow("X 0.006") << 0 << "0.006" << A << 2;
        QTest::newRow("blanks, plus, exponent") << 0 << "  +1.5e1 " << A << 3750;
        QTest::newRow("leading point") << 0 << ".5" << A << 125;
        QTest::newRow("trailing point") << 0 << "5." << A << 1250;
        QTest::newRow("letters") << 1 << "abc" << N << 0;
        QTest::newRow("two points") << 1 << "1.2.3" << N << 0;
        QTest::newRow("just a sign") << 1 << "-" << N << 0;
        QTest::newRow("blanks only") << 1 << "   " << N << 0;
        QTest::newRow("inf") << 1 << "inf" << N << 0;
        QTest::newRow("nan") << 1 << "nan" << N << 0;
        QTest::newRow("hex") << 1 << "0x10" << N << 0;
        QTest::newRow("huge") << 1 << "1e400" << R << 0;
        QTest::newRow("tiny") << 1 << "1e-400" << A << 0;
        QTest::newRow("empty") << 1 << "" << E << 0;
    }

    void typedEntry()
    {
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(int, outcome);
        QFETCH(int, position);
        const TypedEntryResult result = evaluateTypedEntry(index, text);
        QCOMPARE(int(result.outcome), outcome);
        if (outcome == TypedEntryResult::Accepted)
            QCOMPARE(result.position, position);
    }

    void typedEntryInCommaLocale()
    {
        const QChar comma = QLatin1Char(',');
        QCOMPARE(evaluateTypedEntry(0, QStringLiteral("2,324"), comma).position, 581);
        QCOMPARE(evaluateTypedEntry(0, QStringLiteral("2.324"), comma).position, 581);
        QCOMPARE(int(evaluateTypedEntry(0, QStringLiteral("1,000.5"), comma).outcome),
                 int(TypedEntryResult::NotNumeric));
        QCOMPARE(int(evaluateTypedEntry(0, QStringLiteral("2,324")).outcome),
                 int(TypedEntryResult::NotNumeric));
    }

    void specsMatchTheSliders()
    {
        QCOMPARE(sliderSpec(2).minimum, -100);
        QCOMPARE(sliderSpec(6).designPosition, 4000);
        QCOMPARE(sliderSpec(8).designPosition, -7160);
        QCOMPARE(QString::fromLatin1(sliderSpec(8).designCaption), QStringLiteral("-7.16"));
        QCOMPARE(QString::fromLatin1(sliderSpec(2).nonNumericMessage),
                 QStringLiteral("Entered Value must be numeric"));
        QCOMPARE(QString::fromLatin1(sliderSpec(3).nonNumericMessage),
                 QStringLiteral("Entered value must be numeric"));
        QCOMPARE(QString::fromLatin1(sliderSpec(2).prompt),
                 QStringLiteral("Enter a value between -0.4 and 120"));
    }
};

QTEST_GUILESS_MAIN(TestSliderValues)
#include "test_slidervalues.moc"

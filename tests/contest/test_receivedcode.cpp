#include "contest/ReceivedCode.h"

#include <QTest>

Q_DECLARE_METATYPE(ReceivedCode::Status)

class TestReceivedCode : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parsesTypedCode_data();
    void parsesTypedCode();
    void integerRule_data();
    void integerRule();
    void sentExchange_data();
    void sentExchange();
    void sentExchangeReadsBackAsSent();
};

void TestReceivedCode::parsesTypedCode_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<ReceivedCode::Status>("status");
    QTest::addColumn<QString>("code");

    using S = ReceivedCode::Status;
    QTest::newRow("with space") << QStringLiteral("22 015") << S::Valid << QStringLiteral("22 015");
    QTest::newRow("without space") << QStringLiteral("22015") << S::Valid << QStringLiteral("22 015");
    QTest::newRow("spaces everywhere") << QStringLiteral("2 2 0 1 5") << S::Valid << QStringLiteral("22 015");
    QTest::newRow("four characters") << QStringLiteral("22 1") << S::Ignored << QString();
    QTest::newRow("spaces count toward five") << QStringLiteral("22  1") << S::Valid << QStringLiteral("22 1");
    QTest::newRow("1234 is too short") << QStringLiteral("1234") << S::Ignored << QString();
    QTest::newRow("empty serial") << QStringLiteral("1    ") << S::Invalid << QStringLiteral("1 ");
    QTest::newRow("letter in KI") << QStringLiteral("2A 015") << S::Invalid << QStringLiteral("2A 015");
    QTest::newRow("dollar hex KI") << QStringLiteral("$A 015") << S::Valid << QStringLiteral("$A 015");
    QTest::newRow("x hex KI") << QStringLiteral("x5 123") << S::Valid << QStringLiteral("x5 123");
    QTest::newRow("long serial kept whole")
        << QStringLiteral("22 12345678") << S::Valid << QStringLiteral("22 12345678");
    QTest::newRow("letters in serial") << QStringLiteral("22 01a") << S::Invalid << QStringLiteral("22 01a");
    QTest::newRow("tab is not a space") << QStringLiteral("22\t015") << S::Invalid << QStringLiteral("22 \t015");
}

void TestReceivedCode::parsesTypedCode()
{
    QFETCH(QString, typed);
    QFETCH(ReceivedCode::Status, status);
    QFETCH(QString, code);
    const ReceivedCode result = parseReceivedCode(typed);
    QCOMPARE(result.status, status);
    if (status != ReceivedCode::Status::Ignored) {
        QCOMPARE(result.code, code);
    }
}

void TestReceivedCode::integerRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("integer");

    QTest::newRow("empty") << QString() << false;
    QTest::newRow("digits") << QStringLiteral("015") << true;
    QTest::newRow("plus") << QStringLiteral("+7") << true;
    QTest::newRow("minus") << QStringLiteral("-7") << true;
    QTest::newRow("sign alone") << QStringLiteral("-") << false;
    QTest::newRow("largest") << QStringLiteral("2147483647") << true;
    QTest::newRow("one past largest") << QStringLiteral("2147483648") << false;
    QTest::newRow("smallest") << QStringLiteral("-2147483648") << true;
    QTest::newRow("one below smallest") << QStringLiteral("-2147483649") << false;
    QTest::newRow("many leading zeros") << QStringLiteral("000000000000000000001") << true;
    QTest::newRow("0x") << QStringLiteral("0x1F") << true;
    QTest::newRow("0X") << QStringLiteral("0XfF") << true;
    QTest::newRow("X") << QStringLiteral("Xab") << true;
    QTest::newRow("hex largest") << QStringLiteral("$FFFFFFFF") << true;
    QTest::newRow("hex too large") << QStringLiteral("$100000000") << false;
    QTest::newRow("hex without digits") << QStringLiteral("$") << false;
    QTest::newRow("0x without digits") << QStringLiteral("0x") << false;
    QTest::newRow("signed hex") << QStringLiteral("-$5") << false;
    QTest::newRow("leading spaces") << QStringLiteral("  12") << true;
    QTest::newRow("trailing space") << QStringLiteral("12 ") << false;
    QTest::newRow("Arabic-Indic digits") << QStringLiteral("\u0661\u0662") << false;
    QTest::newRow("decimal point") << QStringLiteral("1.5") << false;
}

void TestReceivedCode::integerRule()
{
    QFETCH(QString, text);
    QFETCH(bool, integer);
    QCOMPARE(isIntegerText(text), integer);
}

void TestReceivedCode::sentExchange_data()
{
    QTest::addColumn<qint64>("ki");
    QTest::addColumn<qint64>("serial");
    QTest::addColumn<QString>("text");

    QTest::newRow("design values") << qint64(22) << qint64(1) << QStringLiteral("22 001");
    QTest::newRow("four digits never cut") << qint64(22) << qint64(1234) << QStringLiteral("22 1234");
    QTest::newRow("zero, KI below 10") << qint64(7) << qint64(0) << QStringLiteral("07 000");
    QTest::newRow("negative serial") << qint64(22) << qint64(-5) << QStringLiteral("22 0-5");
}

void TestReceivedCode::sentExchange()
{
    QFETCH(qint64, ki);
    QFETCH(qint64, serial);
    QFETCH(QString, text);
    QCOMPARE(::sentExchange(ki, serial), text);
}

void TestReceivedCode::sentExchangeReadsBackAsSent()
{
    // what one station sends, the other (this program too) takes apart into the same KI and serial
    for (qint64 ki = 0; ki <= 12; ++ki) {
        const QString sent = ::sentExchange(ki, 2);
        const ReceivedCode read = parseReceivedCode(sent);
        QCOMPARE(read.status, ReceivedCode::Status::Valid);
        QCOMPARE(read.code, sent);
        QCOMPARE(journalKi(read.code).toInt(), int(ki));
    }
}

QTEST_GUILESS_MAIN(TestReceivedCode)
#include "test_receivedcode.moc"

#include <QSignalSpy>
#include <QTest>

#include "TerminationSignals.h"

#include <csignal>

class TestTerminationSignals : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void signalsArriveOnTheEventLoop_data();
    void signalsArriveOnTheEventLoop();
    void defaultHandlingComesBack();
};

void TestTerminationSignals::signalsArriveOnTheEventLoop_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM: shutting down") << int(SIGTERM);
    QTest::newRow("SIGHUP: logging out") << int(SIGHUP);
}

void TestTerminationSignals::signalsArriveOnTheEventLoop()
{
    QFETCH(int, signalNumber);
    TerminationSignals signals;
    QSignalSpy spy(&signals, &TerminationSignals::terminationRequested);

    QCOMPARE(::raise(signalNumber), 0); // the process lives on
    QCOMPARE(spy.size(), 0);            // nothing runs inside the handler
    QVERIFY(spy.wait(5000));
    QCOMPARE(spy.takeFirst().value(0).toInt(), signalNumber);

    // Twice, as a desktop may send it while the window is closing.
    QCOMPARE(::raise(signalNumber), 0);
    QVERIFY(spy.wait(5000));
}

void TestTerminationSignals::defaultHandlingComesBack()
{
    { TerminationSignals signals; }
    struct sigaction current {};
    QCOMPARE(::sigaction(SIGTERM, nullptr, &current), 0);
    QVERIFY(current.sa_handler == SIG_DFL);
}

QTEST_GUILESS_MAIN(TestTerminationSignals)
#include "tst_terminationsignals.moc"

// Work off the user-interface thread: what reaches the receiver, and that
// nothing reaches one destroyed before the work ended.
#include <QtTest>

#include <QSemaphore>

#include <memory>
#include <stdexcept>

#include "window/background.h"

class TestBackground : public QObject {
    Q_OBJECT
private slots:
    void delivers_to_a_living_receiver_only_data();
    void delivers_to_a_living_receiver_only();
};

void TestBackground::delivers_to_a_living_receiver_only_data()
{
    QTest::addColumn<bool>("throws");
    QTest::addColumn<bool>("ownerStops");
    QTest::addColumn<bool>("receiverGoes");
    QTest::addColumn<QString>("delivered");
    QTest::addColumn<bool>("workHeardStop");

    QTest::newRow("the result reaches the receiver") << false << false << false << "done 42" << false;
    QTest::newRow("a throw is a failure, not the end") << true << false << false << "failed нет памяти" << false;
    QTest::newRow("the owner's stop reaches the work, the result still comes")
        << false << true << false << "done -1" << true;
    QTest::newRow("receiver gone: result dropped, the work told to stop") << false << false << true << "" << true;
    QTest::newRow("receiver gone: a failure dropped too") << true << false << true << "" << true;
}

void TestBackground::delivers_to_a_living_receiver_only()
{
    QFETCH(bool, throws);
    QFETCH(bool, ownerStops);
    QFETCH(bool, receiverGoes);
    QFETCH(QString, delivered);
    QFETCH(bool, workHeardStop);

    // The work waits at the gate until the receiver's fate is settled.
    auto gate = std::make_shared<QSemaphore>();
    auto heardStop = std::make_shared<bool>(false);
    auto receiver = std::make_unique<QObject>();
    QString got;
    const nimbo::StopFlag stop = nimbo::RunInBackground(
        *receiver,
        [gate, heardStop, throws](const nimbo::StopFlag& s) {
            gate->acquire();
            *heardStop = s.requested();
            if (throws)
                throw std::runtime_error("нет памяти");
            return s.requested() ? -1 : 42;
        },
        [&got](int result) { got = QStringLiteral("done %1").arg(result); },
        [&got](const std::exception_ptr& failure) {
            try {
                std::rethrow_exception(failure);
            } catch (const std::exception& e) {
                got = QStringLiteral("failed ") + QString::fromUtf8(e.what());
            }
        });
    if (ownerStops)
        stop.request();
    if (receiverGoes)
        receiver.reset();
    gate->release();
    QVERIFY(QThreadPool::globalInstance()->waitForDone(5000));
    QCoreApplication::processEvents();
    QCOMPARE(got, delivered);
    QCOMPARE(*heardStop, workHeardStop);
}

QTEST_GUILESS_MAIN(TestBackground)
#include "tst_background.moc"

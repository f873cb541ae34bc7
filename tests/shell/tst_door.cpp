// The door: a handler connected with onSignal ends at the signal that reached it
// when it throws, its text shown by the default error display (a silent abort
// shows nothing), and the signal's sender goes on as if the handler had returned.
// The signals are emitted directly, without the event loop and its last guard, so
// an exception that passed the door would reach the test.
#include "shell/Door.h"
#include "tests/support/TestSupport.h"

#include <QComboBox>
#include <QPushButton>
#include <stdexcept>

namespace
{

struct Receiver : QObject {
    QString thrown;
    int calls = 0;
    bool checked = false;
    void raise()
    {
        ++calls;
        if (thrown == "DbError") throw DbError(QStringLiteral("数据库出错了"));
        if (thrown == "SilentAbort") throw SilentAbort();
        if (thrown == "std") throw std::runtime_error("运行出错");
    }
    void withArgument(bool on)
    {
        checked = on;
        raise();
    }
};

} // namespace

class TestDoor : public QObject
{
    Q_OBJECT

private slots:
    void handlerErrorsEndAtTheDoor_data()
    {
        QTest::addColumn<QString>("thrown");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("shown");
        const QStringList kinds = {"member", "member with argument", "lambda", "lambda, sender"};
        for (const QString& how : kinds) {
            QTest::addRow("%s: nothing", qPrintable(how)) << "" << how << QStringList();
            QTest::addRow("%s: DbError", qPrintable(how))
                << "DbError" << how << QStringList{"数据库出错了"};
            QTest::addRow("%s: SilentAbort", qPrintable(how))
                << "SilentAbort" << how << QStringList();
            QTest::addRow("%s: std::exception", qPrintable(how))
                << "std" << how << QStringList{"运行出错"};
        }
    }
    void handlerErrorsEndAtTheDoor()
    {
        QFETCH(QString, thrown);
        QFETCH(QString, how);
        QFETCH(QStringList, shown);
        DialogsScope d;
        QPushButton button;
        Receiver r;
        r.thrown = thrown;
        if (how == "member") onSignal(&button, &QPushButton::clicked, &r, &Receiver::raise);
        if (how == "member with argument")
            onSignal(&button, &QPushButton::clicked, &r, &Receiver::withArgument);
        if (how == "lambda")
            onSignal(&button, &QPushButton::clicked, &r, [&r](bool on) {
                r.checked = on;
                r.raise();
            });
        if (how == "lambda, sender") onSignal(&button, &QPushButton::clicked, [&r] { r.raise(); });
        bool passed = false;
        try {
            emit button.clicked(true);
        } catch (...) {
            passed = true;
        }
        QVERIFY2(!passed, "an exception passed the door");
        QCOMPARE(r.calls, 1);
        QCOMPARE(d->messages(), shown);
        if (how.contains("argument") || how == "lambda") QVERIFY(r.checked);
    }

    // A handler may take the first of several arguments; the next handler on the
    // same signal still runs after one that failed.
    void firstArgumentsAndLaterHandlers()
    {
        DialogsScope d;
        QComboBox list;
        list.addItems({"一", "二", "三"});
        int seen = -1;
        Receiver r;
        r.thrown = "DbError";
        onSignal(&list, &QComboBox::activated, &r, &Receiver::raise);
        onSignal(&list, &QComboBox::activated, &list, [&seen](int i) { seen = i; });
        emit list.activated(2);
        QCOMPARE(seen, 2);
        QCOMPARE(d->messages(), QStringList{"数据库出错了"});
    }
};

HALVORRA_TEST_MAIN(TestDoor)
#include "tst_door.moc"

#pragma once
// What every test uses: a dialog double that answers and records, a fresh
// database pair per test, and helpers to find, type into and click controls.
#include "shell/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <functional>
#include <memory>

class TestDialogs : public Dialogs
{
public:
    struct Shown {
        QString kind; // "message", "question", "okCancel", "error"
        QString text;
    };

    // Everything shown, in order.
    QList<Shown> shown;
    QStringList messages() const; // texts of message / error boxes
    QStringList questions() const;
    QString last() const { return shown.isEmpty() ? QString() : shown.last().text; }
    void clear() { shown.clear(); }

    // Scripted answers; when the queue is empty a question is answered Yes and
    // OK/Cancel with OK.
    std::deque<bool> answers;
    std::deque<QString> files; // next file chosen in an open/save dialog ("" = cancel)
    QList<FileDialogSpec> fileDialogs;
    // Handlers for modal windows run through exec(): each takes the dialog and
    // returns its result. With none queued, the dialog is run for real.
    std::deque<std::function<int(QDialog*)>> execs;
    QStringList opened;       // paths and addresses handed to the shell
    bool openSucceeds = true; // what openPath reports (false: no program for the file)

    void message(QWidget*, const QString& text) override;
    bool question(QWidget*, const QString& text) override;
    bool okCancel(QWidget*, const QString& text) override;
    void error(QWidget*, const QString& text) override;
    QString openFile(QWidget*, const FileDialogSpec& spec, const QString&) override;
    QString saveFile(QWidget*, const FileDialogSpec& spec, const QString&) override;
    int exec(QDialog* dialog) override;
    bool openPath(const QString& path, const QString& workingDir) override;
    void openUrl(const QUrl& url) override;
};

// Installs a TestDialogs for the lifetime of the object.
class DialogsScope
{
public:
    DialogsScope();
    ~DialogsScope();
    TestDialogs& operator*() { return *m_d; }
    TestDialogs* operator->() { return m_d; }

private:
    TestDialogs* m_d;
    std::unique_ptr<Dialogs> m_old;
};

// A new database pair, made the way `halvorra-db create` does: the exchange file in
// a temporary folder, the main database there too or, when the test run is for the
// server (HALVORRA_TEST_BACKEND=server), a new database of its own on the test
// server whose address ./test.sh gives in HALVORRA_TEST_SERVER (dropped again with
// the object). Tests reach the main database only through mainPath(), so the same
// test runs on both.
class TestDb
{
public:
    TestDb();
    ~TestDb();
    TestDb(const TestDb&) = delete;
    TestDb& operator=(const TestDb&) = delete;

    // Whether this run keeps main databases on the server.
    static bool onServer();
    // The address of a new, empty server database (no tables), dropped with this
    // object; for tests that need a server whatever the run's backend.
    QString newServerDatabase();
    // The address of a server database of a kind: "ours" (new, with our tables),
    // and those to be refused: "unreachable" (no server there), "user" (a user the
    // server does not know), "password" (a wrong one), "nodb" (no such database), "empty" (no
    // tables), "foreign" (another program's table with a row), "partial" (one of ours gone).
    QString serverOfKind(const QString& kind);

    QString dir() const { return m_dir.path(); }
    QString mainPath() const { return m_main; }
    QString exchangePath() const;
    // Opens the data module's connections on this pair (creating the module if needed).
    void connectDmbasic();
    // Runs a statement directly on the main database (setting up and checking data).
    void exec(const QString& sql) const;
    QVariant scalar(const QString& sql) const;
    QList<QVariantList> rows(const QString& sql) const;
    // Whether the main database is sound and every table readable.
    bool isSound() const;
    // Ends every session on the main database but the caller's own, as a server
    // that goes away and comes back does; false for a file (nothing to end).
    bool dropSessions() const;

private:
    QTemporaryDir m_dir;
    QString m_main;
    QStringList m_serverDatabases;
};

// A connection to the main database at `location` (a file with the main key, or a
// server address), open.
std::unique_ptr<Connection> openMain(const QString& location);

// Starts this test program again with `variable` set to `value` (its main then runs
// a writing loop and says when it has begun), kills it a moment after, and waits
// until it is gone (on a server also until the server has ended its session).
// False when it did not start or end.
bool killWriterMidway(const QString& variable, const QString& value);

// Two operators without passwords: an ordinary one (ZS7 张三) and a senior one
// (008 李四), as the follow-up, to-do and deal tests have them.
void addTwoOperators(const TestDb& db);

// Keeps `password` (as its hash) for the operator `number` of the main database
// at `location`; `mustChange` as a system administrator's reset leaves it.
void setOperatorPassword(const QString& location, const QString& number, const QString& password,
                         bool mustChange = false);
// Turns the plain passwords a test wrote into 操作员档案 into hashes, as the
// upgrade of an old database does.
void hashPasswords(const QString& location);
// Queues the answer of the window a first login opens for the operator's own
// password: `password` typed into both boxes and 确定 pressed.
void chooseNewPassword(TestDialogs& d, const QString& password);

// A frozen test input (tests/data/…), from its copy beside the test programs.
QString testInput(const QString& name);

// The SHA-256 of a file's bytes ("missing" when it cannot be read): a file
// refused or only read must come out byte for byte the same.
QByteArray fileHash(const QString& path);

// Damages a keyed file as a failing disk or an interrupted copy would: garbage
// over the middle of the first page of `table` (the file still opens; reading that
// table fails).
void damagePage(const QString& path, const QString& password, const QString& table);

// While it lives, a process running as root works with the rights of the user
// "nobody", so that file and folder permissions apply to it as to an ordinary
// user (root may write anything); for any other user it does nothing.
// `makeReachable` opens the test's folders on the way to a path for that user.
class Unprivileged
{
public:
    Unprivileged();
    ~Unprivileged();
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;
    static bool switches(); // whether the process runs as root
    static void makeReachable(const QString& path);
    // Gives a file or folder to the user the scope runs as (nothing when not root).
    static void giveAway(const QString& path);

private:
    bool m_switched = false;
};

// Every row of the main database at `location`: of the ten main tables and the
// record tables it has, each row led by its table's name and sorted, so that two
// databases on any engines compare equal when they hold the same rows.
QList<QVariantList> everyRow(const QString& location);
// The text of the database error f fails with; empty when it does not fail.
QString errorText(const std::function<void()>& f);

// Rows ("kind", "expected") of the server databases every opening refuses, with
// words of the cause its message names (kinds as in TestDb::serverOfKind).
void serverRefusalRows();

// Skips the current test (row) when the run's main databases are not files, and
// the other way round.
#define FILES_ONLY()                                                                               \
    do {                                                                                           \
        if (TestDb::onServer()) QSKIP("the main database is on the server in this run");           \
    } while (false)
#define SERVER_ONLY()                                                                              \
    do {                                                                                           \
        if (!TestDb::onServer()) QSKIP("the main database is a file in this run");                 \
    } while (false)

namespace ui
{

template <typename T = QWidget> T* find(QWidget* root, const QString& name)
{
    T* w = root->findChild<T*>(name);
    if (!w) qWarning("control not found: %s", qPrintable(name));
    return w;
}

// Types text as keystrokes (replacing what the box held).
void type(QWidget* w, const QString& text);
// Clicks like a mouse does (through the application, so errors reach the default display).
void click(QWidget* w);
// Presses a key on a widget.
void key(QWidget* w, Qt::Key k);
// Runs f with the next modal window that opens (QTimer-driven), e.g. to fill and accept it.
void whenModal(std::function<void(QDialog*)> f);

} // namespace ui

// The application object for tests: the real one, so errors go to the default display.
int runTests(int argc, char** argv, QObject* testObject);
#define HALVORRA_TEST_MAIN(TestClass)                                                              \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        TestClass tc;                                                                              \
        return runTests(argc, argv, &tc);                                                          \
    }

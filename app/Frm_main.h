#pragma once
// The main window: the commands in the menu and the button row, who is logged
// in on which workstation, the backup, the documents and the exit question.
#include <QHash>
#include <QMainWindow>

class QAction;
class QLabel;
class QToolButton;

class TFrmmain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFrmmain(QWidget* parent = nullptr);

    // The command with this id ("A01BFWJ" … "E05"); null for an unknown id.
    QAction* command(const QString& id) const { return m_commands.value(id); }
    QAction* actExit;
    QAction* actHelp;
    QAction* actAbout;
    QLabel* statusPanels[3];

    void FormCreate();
    void A01BFWJExecute();
    void openFunctionWindow(const QString& id);
    void openDocument(const QString& fileName);
    void E05Execute();
    void actHelpExecute();
    void actAboutExecute();

    // The two addresses: a web map service, and the page about the system (a file
    // beside the executable).
    static QString mapAddress();
    static QString aboutAddress();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    QAction* addCommand(const QString& id, const QString& caption);
    void buildMenu();
    void buildButtons(QWidget* area);
    void buildStatusBar();

    QHash<QString, QAction*> m_commands;
};

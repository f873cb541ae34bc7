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
    QAction* actExit;        // 退出系统: closes after the exit question
    QAction* actHelp;        // 系统帮助: opens 使用说明书.doc
    QAction* actAbout;       // 关于: opens the page about the system
    QLabel* statusPanels[3]; // 操作员编码, 操作员姓名, 客户端机器 (StatusPanel1..3)

    // Status bar, company code GSDM, and the commands the operator's role may use.
    void FormCreate();
    void A01BFWJExecute(); // 备份文件: backup of the main database into a chosen file
    // Shows the window of a command (A02MMXG … D04JCSJ) modally.
    void openFunctionWindow(const QString& id);
    // E01 … E04: an agreement document beside the program.
    void openDocument(const QString& fileName);
    void E05Execute();      // 电子地图: the web map
    void actHelpExecute();  // 系统帮助
    void actAboutExecute(); // 关于

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

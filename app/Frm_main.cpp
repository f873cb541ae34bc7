#include "app/Frm_main.h"

#include "app/Pictures.h"
#include "app/Windows.h"
#include "app/core/Backup.h"
#include "app/core/IniFiles.h"
#include "data/DbError.h"
#include "data/Dmbasic.h"
#include "data/Schema.h"
#include "data/Text.h"
#include "session/PubVars.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "shell/Guard.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <QUrl>
#include <memory>

namespace
{

// The area above the status bar, filled by the background picture.
class BackgroundArea : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (m_cache.size() != size()) m_cache = Pictures::mainBackground(size());
        QPainter(this).drawPixmap(0, 0, m_cache);
    }

private:
    QPixmap m_cache;
};

const QSize kClient(750, 500);

// The commands that open a function window, each shown modally.
const char* const kWindowCommands[] = {"A02MMXG", "A03HSZ",  "A04DLAQ", "B01FYLR", "B02FYCX",
                                       "C01KHLR", "C02KHCX", "D01GSDA", "D02RYDA", "D03QXSZ",
                                       "D04JCSJ", "F01CJJL", "F02TJFX"};

} // namespace

TFrmmain::TFrmmain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Frmmain"));
    setWindowTitle(QStringLiteral("Halvorra"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    addCommand(QStringLiteral("A01BFWJ"), QStringLiteral("备份文件"));
    addCommand(QStringLiteral("A02MMXG"), QStringLiteral("密码修改"));
    addCommand(QStringLiteral("A03HSZ"), QStringLiteral("回收站"));
    addCommand(QStringLiteral("A04DLAQ"), QStringLiteral("登录安全"));
    addCommand(QStringLiteral("B01FYLR"), QStringLiteral("房源输入"));
    addCommand(QStringLiteral("B02FYCX"), QStringLiteral("房源查询"));
    addCommand(QStringLiteral("C01KHLR"), QStringLiteral("客户输入"));
    addCommand(QStringLiteral("C02KHCX"), QStringLiteral("客户查询"));
    addCommand(QStringLiteral("D01GSDA"), QStringLiteral("公司档案"));
    addCommand(QStringLiteral("D02RYDA"), QStringLiteral("人员档案"));
    addCommand(QStringLiteral("D03QXSZ"), QStringLiteral("权限设置"));
    addCommand(QStringLiteral("D04JCSJ"), QStringLiteral("基础数据"));
    addCommand(QStringLiteral("E01"), QStringLiteral("买卖房屋协议书1"));
    addCommand(QStringLiteral("E02"), QStringLiteral("买卖委托协议书2"));
    addCommand(QStringLiteral("E03"), QStringLiteral("租赁房屋协议书1"));
    addCommand(QStringLiteral("E04"), QStringLiteral("租赁房屋协议书2"));
    addCommand(QStringLiteral("E05"), QStringLiteral("电子地图"));
    addCommand(QStringLiteral("F01JRDB"), QStringLiteral("今日待办"));
    addCommand(QStringLiteral("F01CJJL"), QStringLiteral("成交记录"));
    addCommand(QStringLiteral("F02TJFX"), QStringLiteral("统计分析"));

    actExit = new QAction(QStringLiteral("退出系统"), this);
    actExit->setObjectName(QStringLiteral("actExit"));
    actExit->setIcon(Pictures::commandGlyph(QStringLiteral("exit")));
    actHelp = new QAction(QStringLiteral("系统帮助"), this);
    actHelp->setObjectName(QStringLiteral("actHelp"));
    actAbout = new QAction(QStringLiteral("关于"), this);
    actAbout->setObjectName(QStringLiteral("actAbout"));

    onSignal(command(QStringLiteral("A01BFWJ")), &QAction::triggered, this,
             &TFrmmain::A01BFWJExecute);
    for (const char* id : kWindowCommands) {
        const QString cid = QString::fromLatin1(id);
        // Until its window is part of the build a command stays disabled.
        command(cid)->setEnabled(hasFunctionWindow(cid));
        onSignal(command(cid), &QAction::triggered, this, [this, cid] { openFunctionWindow(cid); });
    }
    // Operator rights belong to the system administrator (FormCreate enables it).
    command(QStringLiteral("D03QXSZ"))->setEnabled(false);
    // The recycle bin is the system administrator's alone: other roles do not see it.
    command(QStringLiteral("A03HSZ"))->setVisible(false);
    command(QStringLiteral("A04DLAQ"))->setVisible(false);
    const std::pair<const char*, const char*> docs[] = {{"E01", "买卖房屋协议书1.doc"},
                                                        {"E02", "买卖委托协议书2.doc"},
                                                        {"E03", "租赁房屋协议书1.doc"},
                                                        {"E04", "租赁房屋协议书2.doc"}};
    for (const auto& [id, file] : docs) {
        const QString name = QString::fromUtf8(file);
        onSignal(command(QString::fromLatin1(id)), &QAction::triggered, this,
                 [this, name] { openDocument(name); });
    }
    onSignal(command(QStringLiteral("E05")), &QAction::triggered, this, &TFrmmain::E05Execute);
    onSignal(actExit, &QAction::triggered, this, &QWidget::close);
    onSignal(actHelp, &QAction::triggered, this, &TFrmmain::actHelpExecute);
    onSignal(actAbout, &QAction::triggered, this, &TFrmmain::actAboutExecute);
    onSignal(command(QStringLiteral("F01JRDB")), &QAction::triggered, this,
             [this] { openFunctionWindow(QStringLiteral("F01JRDB")); });

    buildMenu();
    auto* area = new BackgroundArea(this);
    area->setObjectName(QStringLiteral("Image1"));
    setCentralWidget(area);
    buildButtons(area);
    buildStatusBar();

    // A client area of 750 × 500 below the menu; no resizing.
    setFixedSize(kClient.width(), kClient.height() + menuBar()->sizeHint().height());
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    FormCreate();
}

QAction* TFrmmain::addCommand(const QString& id, const QString& caption)
{
    auto* a = new QAction(caption, this);
    a->setObjectName(id);
    m_commands.insert(id, a);
    return a;
}

void TFrmmain::buildMenu()
{
    QMenuBar* mb = menuBar();
    mb->setObjectName(QStringLiteral("MainMenu1"));
    auto c = [this](const char* id) { return command(QString::fromLatin1(id)); };

    QMenu* m = mb->addMenu(QStringLiteral("系统"));
    m->addAction(c("A01BFWJ"));
    m->addAction(c("A02MMXG"));
    m->addAction(c("A03HSZ"));
    m->addAction(c("A04DLAQ"));
    m->addSeparator();
    m->addAction(actExit);

    m = mb->addMenu(QStringLiteral("房源信息"));
    m->addAction(c("B01FYLR"));
    m->addAction(c("B02FYCX"));

    m = mb->addMenu(QStringLiteral("客户信息"));
    m->addAction(c("C01KHLR"));
    m->addAction(c("C02KHCX"));

    m = mb->addMenu(QStringLiteral("基本信息"));
    m->addAction(c("D01GSDA"));
    m->addAction(c("D02RYDA"));
    m->addAction(c("D03QXSZ"));
    m->addAction(c("D04JCSJ"));

    m = mb->addMenu(QStringLiteral("附加信息"));
    m->addAction(c("E01"));
    m->addAction(c("E02"));
    m->addSeparator();
    m->addAction(c("E03"));
    m->addAction(c("E04"));
    m->addSeparator();
    m->addAction(c("E05"));

    m = mb->addMenu(QStringLiteral("帮助"));
    m->addAction(actHelp);
    m->addAction(actAbout);

    // Menus of our own follow those above.
    m = mb->addMenu(QStringLiteral("日常工作"));
    m->addAction(c("F01JRDB"));
    m = mb->addMenu(QStringLiteral("统计"));
    m->addAction(c("F01CJJL"));
    m->addAction(c("F02TJFX"));
}

void TFrmmain::buildButtons(QWidget* area)
{
    const char* const ids[] = {"B01FYLR", "B02FYCX", "C01KHLR", "C02KHCX",
                               "D02RYDA", "D04JCSJ", "A01BFWJ", "A02MMXG"};
    QFont bold = font();
    bold.setBold(true);
    auto make = [&](QAction* a, const QString& name) {
        auto* b = new QToolButton(area);
        b->setObjectName(name);
        b->setDefaultAction(a);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setIconSize(QSize(32, 32));
        b->setFixedSize(65, 65);
        b->setFont(bold);
        return b;
    };
    const int gap = 10;
    int x = (kClient.width() - 9 * 65 - 8 * gap) / 2;
    for (const char* id : ids) {
        QAction* a = command(QString::fromLatin1(id));
        a->setIcon(Pictures::commandGlyph(QString::fromLatin1(id)));
        make(a, QStringLiteral("btn") + QString::fromLatin1(id))->move(x, 16);
        x += 65 + gap;
    }
    make(actExit, QStringLiteral("btnExit"))->move(x, 16);
}

void TFrmmain::buildStatusBar()
{
    QStatusBar* sb = statusBar();
    sb->setObjectName(QStringLiteral("StatusBar1"));
    sb->setSizeGripEnabled(false);
    const int widths[] = {200, 200, 250};
    for (int i = 0; i < 3; ++i) {
        statusPanels[i] = new QLabel(sb);
        statusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        statusPanels[i]->setFixedWidth(widths[i]);
        statusPanels[i]->setFrameShape(QFrame::Panel);
        statusPanels[i]->setFrameShadow(QFrame::Sunken);
        sb->addWidget(statusPanels[i]);
    }
}

void TFrmmain::FormCreate()
{
    statusPanels[0]->setText(QStringLiteral("操作员编码：") + CurUser.YGBH);
    statusPanels[1]->setText(QStringLiteral("操作员姓名：") + CurUser.YGXM);
    statusPanels[2]->setText(QStringLiteral("客户端机器：") + CurUser.JSJM + QStringLiteral("[") +
                             CurUser.IPDZ + QStringLiteral("]"));

    // The company code; an error shows on the default display and leaves it empty,
    // the window still opens.
    GSDM.clear();
    guarded([] {
        Query& q = dmbasic->QryPUB;
        struct CloseOnExit {
            Query& q;
            ~CloseOnExit() { q.close(); }
        } guard{q};
        q.close();
        q.clearSql();
        q.addSql(QStringLiteral("SELECT 公司代码 FROM 公司信息 "));
        q.open();
        q.first();
        if (!q.eof()) GSDM = Text::trim(q.text(QStringLiteral("公司代码")));
    });

    if (CurUser.GNZ == Roles::Admin)
        command(QStringLiteral("D03QXSZ"))
            ->setEnabled(hasFunctionWindow(QStringLiteral("D03QXSZ")));
    command(QStringLiteral("A03HSZ"))->setVisible(CurUser.GNZ == Roles::Admin);
    command(QStringLiteral("A04DLAQ"))->setVisible(CurUser.GNZ == Roles::Admin);
}

void TFrmmain::openFunctionWindow(const QString& id)
{
    std::unique_ptr<QDialog> w(createFunctionWindow(id, this));
    if (!w) return;
    dialogs().exec(w.get());
}

void TFrmmain::A01BFWJExecute()
{
    const QString chosen = dialogs().saveFile(this, dmbasic->OpenDBPath);
    if (chosen.isEmpty()) return;
    const std::optional<QString> source = IniFiles::readFirstLine(IniFiles::mainIni());
    if (!source) throw DbError(QStringLiteral("无法读取配置文件“%1”。").arg(IniFiles::mainIni()));
    if (Backup::copyDatabase(*source, Backup::targetName(chosen),
                             QString::fromLatin1(Schema::mainPassword())))
        dialogs().message(this, QStringLiteral("文件备份成功！"));
    else
        dialogs().message(this, QStringLiteral("备份失败！"));
}

void TFrmmain::openDocument(const QString& fileName)
{
    dialogs().openPath(fileName, IniFiles::folder());
}

void TFrmmain::actHelpExecute()
{
    openDocument(QStringLiteral("使用说明书.doc"));
}

QString TFrmmain::mapAddress()
{
    return QStringLiteral("https://map.baidu.com/");
}

QString TFrmmain::aboutAddress()
{
    // A page shipped beside the executable: works without a network.
    return QUrl::fromLocalFile(QDir(IniFiles::folder()).filePath(QStringLiteral("about.html")))
        .toString();
}

void TFrmmain::E05Execute()
{
    dialogs().openUrl(QUrl(mapAddress()));
}

void TFrmmain::actAboutExecute()
{
    dialogs().openUrl(QUrl(aboutAddress()));
}

void TFrmmain::closeEvent(QCloseEvent* e)
{
    if (!dialogs().question(this, QStringLiteral("感谢使用本系统，确定退出吗？"))) {
        e->ignore();
        return;
    }
    QMainWindow::closeEvent(e);
}

#include "records/RowsWindow.h"

#include "shell/Door.h"
#include "widgets/ResultGrid.h"
#include "widgets/WidgetUtil.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

RowsWindow::RowsWindow(const char* name, const QString& caption, const QString& noRows,
                       QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    setFont(pixelFont(QStringLiteral("宋体"), 15));
    resize(900, 480);
    setSizeGripEnabled(true);
    m_link.setDataSet(&rows);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(4, 4, 4, 4);
    lblTitle = new QLabel(caption, this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setFont(pixelFont(QStringLiteral("楷体_GB2312"), 20, true));
    lblTitle->setAlignment(Qt::AlignCenter);
    lblTitle->setMinimumHeight(36);
    root->addWidget(lblTitle);

    lblNone = new QLabel(noRows, this);
    lblNone->setObjectName(QStringLiteral("lblNone"));
    lblNone->setAlignment(Qt::AlignCenter);
    lblNone->setVisible(false);
    root->addWidget(lblNone);

    grid = new DbGrid(this);
    grid->setObjectName(QStringLiteral("grid"));
    root->addWidget(grid, 1);

    m_buttons = new QHBoxLayout;
    m_buttons->addStretch();
    btnTC = namedButton(this, "btnTC", QStringLiteral("退出"));
    m_buttons->addWidget(btnTC);
    root->addLayout(m_buttons);
    onSignal(btnTC, &QPushButton::clicked, this, &QDialog::accept);
}

RowsWindow::~RowsWindow()
{
    rows.close();
}

QPushButton* RowsWindow::addButton(const char* name, const QString& text)
{
    QPushButton* b = namedButton(this, name, text);
    m_buttons->insertWidget(m_buttons->count() - 1, b);
    setTabOrder(b, btnTC);
    return b;
}

void RowsWindow::present(const QStringList& columns, std::vector<QVector<QVariant>> values)
{
    QList<ColumnInfo> info;
    for (const QString& c : columns)
        info << ColumnInfo{c, ColumnInfo::Text, 0};
    rows.openRows(info, std::move(values));
    if (grid->columnCount() == 0) {
        ResultGrid::setup(grid, &m_link, ResultGrid::columnsOf(columns, {}, {}));
    }
    ResultGrid::fitDefaultWidths(grid);
    lblNone->setVisible(rows.isEmpty());
}

QVariant RowsWindow::current(const QString& column) const
{
    if (!rows.isActive() || rows.isEmpty()) return {};
    return rows.value(column);
}

QString RowsWindow::person(const QString& number, const QString& name)
{
    return name.isEmpty() ? number : number + QLatin1Char(' ') + name;
}

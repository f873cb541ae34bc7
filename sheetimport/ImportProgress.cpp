#include "sheetimport/ImportProgress.h"

#include "shell/Door.h"
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

ImportProgress::ImportProgress(const QString& text, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("ImportProgress"));
    setWindowTitle(QStringLiteral("请稍候"));
    auto* box = new QVBoxLayout(this);
    m_text = new QLabel(text, this);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 1000);
    btnStop = new QPushButton(QStringLiteral("取消"), this);
    btnStop->setObjectName(QStringLiteral("btnStop"));
    box->addWidget(m_text);
    box->addWidget(m_bar);
    box->addWidget(btnStop, 0, Qt::AlignRight);
    onSignal(btnStop, &QPushButton::clicked, this, [this] { m_cancelled = true; });
    resize(360, 110);
    show();
    QCoreApplication::processEvents();
    m_sincePaint.start();
}

bool ImportProgress::step(qint64 done, qint64 total)
{
    // A few times a second is enough for the bar and for a press of 取消.
    if (m_sincePaint.elapsed() >= 100) {
        m_bar->setValue(total > 0 ? int(done * 1000 / total) : 0);
        QCoreApplication::processEvents();
        m_sincePaint.restart();
    }
    return !m_cancelled;
}

#include "pickers/U_Step.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

TFrmStep::TFrmStep(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmStep"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(360, 65);

    auto* label = new QLabel(QStringLiteral("正在执行，请稍候...."), this);
    label->setObjectName(QStringLiteral("Label1"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(10, 8, 10, 8);
    lay->addWidget(label);
    lay->addWidget(ProgressBar1);

    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void TFrmStep::setMax(int max)
{
    ProgressBar1->setRange(0, qMax(0, max));
    ProgressBar1->setValue(0);
}

void TFrmStep::show()
{
    QWidget::show();
    raise();
    paintNow();
}

void TFrmStep::stepIt()
{
    const int next = ProgressBar1->value() + 1;
    if (next <= ProgressBar1->maximum()) ProgressBar1->setValue(next);
    // A repaint per row would cost more than the row itself on a slow display;
    // painting at most every 30 ms looks the same, and the last step always paints.
    if (!m_sincePaint.isValid() || m_sincePaint.elapsed() >= 30 || next >= ProgressBar1->maximum())
        paintNow();
}

void TFrmStep::paintNow()
{
    if (isVisible()) repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_sincePaint.restart();
}

#include "app/Frm_Face.h"

#include "app/Pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

TFrmFace::TFrmFace(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FrmFace"));
    setFixedSize(600, 400);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void TFrmFace::paintEvent(QPaintEvent*)
{
    // One picture stretched over the whole window.
    QPainter p(this);
    p.drawPixmap(rect(), Pictures::splash(size()));
}

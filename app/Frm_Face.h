#pragma once
// The splash window shown from start-up until the main window is up.
#include <QWidget>

class TFrmFace : public QWidget
{
    Q_OBJECT
public:
    explicit TFrmFace(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
};

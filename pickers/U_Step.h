#pragma once
// The progress window of long loops that run on the GUI thread: a borderless box
// on top of the others with "正在执行，请稍候...." above a bar. It repaints itself
// as the bar advances, so the screen stays alive without an event loop.
#include <QElapsedTimer>
#include <QWidget>

class QProgressBar;

class TFrmStep : public QWidget
{
    Q_OBJECT
public:
    explicit TFrmStep(QWidget* parent = nullptr);

    // Minimum 0, maximum max (the number of rows the loop visits), value 0.
    void setMax(int max);
    // Shows the window and paints it at once (hides QWidget::show on purpose).
    void show();
    // Advances the bar by one step and repaints.
    void stepIt();
    // Paints now: the bar and whatever the platform needs to put it on screen.
    void paintNow();

    QProgressBar* ProgressBar1; // the bar under "正在执行，请稍候...."

private:
    QElapsedTimer m_sincePaint;
};

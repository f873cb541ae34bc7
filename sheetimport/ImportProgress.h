#pragma once
// The progress window of a long import step, with 取消: it repaints and lets the
// 取消 button be pressed while the loop runs on the GUI thread.
#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

class ImportProgress : public QWidget
{
    Q_OBJECT
public:
    ImportProgress(const QString& text, QWidget* parent);
    // Shows done of total; false once 取消 was pressed.
    bool step(qint64 done, qint64 total);
    bool cancelled() const { return m_cancelled; }
    QPushButton* btnStop;

private:
    QLabel* m_text;
    QProgressBar* m_bar;
    QElapsedTimer m_sincePaint;
    bool m_cancelled = false;
};

#pragma once
// The photo viewer a double click on the strip opens: one photo at a time with
// 上一张 / 下一张, fitted to the window or at full size. Pictures are read one at a
// time as they are shown; one that does not decode shows the placeholder.
#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QScrollArea;

class TFrmPhotoViewer : public QDialog
{
    Q_OBJECT
public:
    using Loader = std::function<QByteArray(int index)>;
    TFrmPhotoViewer(int count, int current, Loader load, std::function<QString(int)> caption,
                    QWidget* parent);

    int current() const { return m_index; }
    bool fitted() const { return m_fit; }
    QSize pictureSize() const { return m_image.size(); }
    void showAt(int index);
    void setFitted(bool fit);

    QPushButton *btnPrev, *btnNext, *btnFit, *btnFull, *btnClose;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void paintPicture();

    int m_count;
    int m_index = -1;
    bool m_fit = true;
    Loader m_load;
    std::function<QString(int)> m_caption;
    QImage m_image;
    QLabel* m_picture;
    QLabel* m_title;
    QScrollArea* m_area;
};

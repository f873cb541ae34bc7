#pragma once
// Beside a listing query window's grid: the current listing's cover photo, and a
// check box after the tool bar's buttons that hides and shows it. The grid and
// its columns stay as they are; the picture is read when the current row changes.
#include <QLabel>
#include <QPointer>

class DbGrid;
class Query;
class QCheckBox;

class PhotoPreview : public QLabel
{
    Q_OBJECT
public:
    // Puts the preview beside `grid` (in its window's layout) and the check box
    // "照片预览" at the end of the tool bar `toolBar`.
    static PhotoPreview* attach(DbGrid* grid, Query* rows, QWidget* toolBar);

    QCheckBox* toggle() const { return m_toggle; }
    // The archive number whose cover is shown ("" when none).
    QString shownNumber() const { return m_number; }
    bool showsCover() const { return m_hasCover; }

private:
    PhotoPreview(Query* rows, QWidget* parent);
    void refresh();

    QPointer<Query> m_rows;
    QCheckBox* m_toggle = nullptr;
    QString m_number;
    bool m_hasCover = false;
};

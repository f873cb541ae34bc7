#pragma once
// A read-only bound box lying over a drop-down list: the box shows the stored
// value and covers the whole list except its drop-down button (16 pixels), so the
// operator opens the list with the button and chooses a new value, which the
// owner writes into the row. The list itself starts without a selection. The
// overlay is named after its list with "Overlay" appended (cbLCOverlay).
#include "widgets/DbControls.h"

#include <QComboBox>
#include <QWidget>

class DbListOverlay : public QWidget
{
    Q_OBJECT
public:
    DbListOverlay(const QString& editName, const QString& listName, QWidget* parent = nullptr);
    DbEdit* edit() const { return m_edit; }
    QComboBox* list() const { return m_list; }
    // Replaces the list's items, leaving none selected.
    void setItems(const QStringList& items);
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    QComboBox* m_list;
    DbEdit* m_edit;
};

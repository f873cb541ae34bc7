#include "widgets/DbGrid.h"

#include "shell/Door.h"
#include "shell/Guard.h"
#include "widgets/DbControls.h"

#include <QHash>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>

DbGridModel::DbGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void DbGridModel::setDataSource(DataSource* ds)
{
    if (m_ds) disconnect(m_ds, nullptr, this, nullptr);
    m_ds = ds;
    if (ds) {
        connect(ds, &DataSource::dataSetChanged, this, [this] {
            beginResetModel();
            remap();
            endResetModel();
        });
        connect(ds, &DataSource::aboutToInsertRow, this,
                [this](int r) { beginInsertRows({}, r, r); });
        connect(ds, &DataSource::rowInserted, this, [this](int) {
            m_rows = q() ? q()->recordCount() : 0;
            endInsertRows();
        });
        connect(ds, &DataSource::aboutToRemoveRow, this, [this](int r) {
            m_removing = true;
            beginRemoveRows({}, r, r);
        });
        connect(ds, &DataSource::rowRemoved, this, [this](int) {
            m_rows = q() ? q()->recordCount() : 0;
            endRemoveRows();
            m_removing = false;
        });
        connect(ds, &DataSource::rowChanged, this, [this](int r) {
            if (r >= 0 && r < m_rows) emit dataChanged(index(r, 0), index(r, columnCount() - 1));
        });
        connect(ds, &DataSource::valueChanged, this, [this](int) {
            const int r = q() ? q()->recNo() : -1;
            if (r >= 0 && r < m_rows) emit dataChanged(index(r, 0), index(r, columnCount() - 1));
        });
    }
    beginResetModel();
    remap();
    endResetModel();
}

void DbGridModel::setColumns(const QList<GridColumn>& cols)
{
    beginResetModel();
    m_cols = cols;
    remap();
    endResetModel();
}

void DbGridModel::remap()
{
    m_fieldIndex.clear();
    Query* qq = q();
    for (const GridColumn& c : m_cols)
        m_fieldIndex << (qq && qq->isActive() ? qq->fieldIndex(c.field) : -1);
    m_rows = qq && qq->isActive() ? qq->recordCount() : 0;
}

int DbGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int DbGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_cols.size());
}

QVariant DbGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !q()) return {};
    const int f = m_fieldIndex.value(index.column(), -1);
    if (f < 0) return {};
    if (role == Qt::DisplayRole) {
        const QVariant v = q()->valueAt(index.row(), f);
        const QString fmt = m_cols[index.column()].format;
        return fmt.isEmpty() && v.typeId() == QMetaType::Double
                   ? QString::number(v.toDouble(), 'g', 15)
                   : formatValue(v, fmt.isEmpty() ? QStringLiteral("0") : fmt);
    }
    if (role == Qt::EditRole) return q()->valueAt(index.row(), f).toString();
    if (role == Qt::TextAlignmentRole && q()->column(f).type == ColumnInfo::Float)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant DbGridModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (role == Qt::DisplayRole && o == Qt::Horizontal && section >= 0 && section < m_cols.size())
        return m_cols[section].title;
    if (role == Qt::DisplayRole && o == Qt::Vertical && q() && section == q()->recNo())
        return QStringLiteral("▶");
    if (role == Qt::DisplayRole && o == Qt::Vertical) return QString();
    return QAbstractTableModel::headerData(section, o, role);
}

Qt::ItemFlags DbGridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (m_editable && q() && q()->canModify()) f |= Qt::ItemIsEditable;
    return f;
}

bool DbGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !q()) return false;
    const int f = m_fieldIndex.value(index.column(), -1);
    if (f < 0) return false;
    bool ok = false;
    guarded([&] {
        Query* qq = q();
        if (qq->recNo() != index.row()) qq->setRecNo(index.row());
        if (!qq->isEditing()) qq->edit();
        qq->setValue(f, value);
        ok = true;
    });
    return ok;
}

class GridFooter : public QWidget
{
public:
    GridFooter(QTableView* view, QWidget* parent) : QWidget(parent), m_view(view)
    {
        setFixedHeight(fontMetrics().height() + 8);
    }
    QString text;
    int column = -1;
    QHash<int, QString> totals; // texts of their own under other columns

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        p.setPen(palette().mid().color());
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        paintCell(p, column, text);
        for (auto it = totals.constBegin(); it != totals.constEnd(); ++it)
            paintCell(p, it.key(), it.value());
    }

    void paintCell(QPainter& p, int col, const QString& s)
    {
        if (col < 0 || m_view->isColumnHidden(col)) return;
        QHeaderView* h = m_view->horizontalHeader();
        const int x = m_view->verticalHeader()->width() + m_view->frameWidth() +
                      h->sectionViewportPosition(col);
        const QRect cell(x, 0, h->sectionSize(col), height());
        p.setPen(palette().mid().color());
        p.drawRect(cell.adjusted(0, 0, -1, -1));
        p.setPen(palette().text().color());
        p.drawText(cell.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, s);
    }

private:
    QTableView* m_view;
};

DbGrid::DbGrid(QWidget* parent) : QWidget(parent)
{
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("view"));
    m_model = new DbGridModel(this);
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setAlternatingRowColors(false);
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setFixedWidth(18);
    // Keep the selected row visible when the grid loses the focus.
    QPalette pal = m_view->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    m_view->setPalette(pal);
    lay->addWidget(m_view);
    m_footer = new GridFooter(m_view, this);
    m_footer->setVisible(false);
    lay->addWidget(m_footer);

    onSignal(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
             [this](const QModelIndex& cur) { syncToDataSet(cur); });
    onSignal(m_view, &QTableView::doubleClicked, this, [this] { emit rowDoubleClicked(); });
    connect(m_view->horizontalHeader(), &QHeaderView::sectionResized, m_footer,
            qOverload<>(&QWidget::update));
    connect(m_view->horizontalScrollBar(), &QScrollBar::valueChanged, m_footer,
            qOverload<>(&QWidget::update));
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        setFooterCountColumn(m_countColumn);
        // A new result comes unsorted.
        if (!m_sorting) m_view->horizontalHeader()->setSortIndicatorShown(false);
    });
    onSignal(m_view->horizontalHeader(), &QHeaderView::sectionClicked, this, &DbGrid::titleClicked);
    connect(m_model, &QAbstractItemModel::rowsInserted, this,
            [this] { setFooterCountColumn(m_countColumn); });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this,
            [this] { setFooterCountColumn(m_countColumn); });
}

void DbGrid::setDataSource(DataSource* ds)
{
    if (auto* old = m_model->dataSource()) disconnect(old, nullptr, this, nullptr);
    m_model->setDataSource(ds);
    if (ds) {
        connect(ds, &DataSource::currentChanged, this, &DbGrid::syncFromDataSet);
        connect(ds, &DataSource::dataSetChanged, this, &DbGrid::syncFromDataSet);
    }
    syncFromDataSet();
}

void DbGrid::setColumns(const QList<GridColumn>& cols)
{
    m_model->setColumns(cols);
    for (int i = 0; i < cols.size(); ++i) {
        m_view->setColumnHidden(i, false);
        m_view->setColumnWidth(i, cols[i].width > 0 ? cols[i].width : 80);
    }
    syncFromDataSet();
}

QList<int> DbGrid::visibleColumns() const
{
    QList<int> out;
    QHeaderView* h = m_view->horizontalHeader();
    for (int v = 0; v < h->count(); ++v) {
        const int logical = h->logicalIndex(v);
        if (!m_view->isColumnHidden(logical)) out << logical;
    }
    return out;
}

void DbGrid::setFooterText(int col, const QString& text)
{
    if (text.isEmpty())
        m_footer->totals.remove(col);
    else
        m_footer->totals.insert(col, text);
    m_footer->setVisible(m_countColumn >= 0 || !m_footer->totals.isEmpty());
    m_footer->update();
}

void DbGrid::setFooterCountColumn(int col)
{
    m_countColumn = col;
    m_footer->setVisible(col >= 0 || !m_footer->totals.isEmpty());
    m_footer->column = col;
    m_footer->text = footerText(col);
    m_footer->update();
}

QString DbGrid::footerText(int col) const
{
    if (col >= 0 && col != m_countColumn) return m_footer->totals.value(col);
    if (col < 0) return {};
    return QString::number(m_model->rowCount());
}

void DbGrid::setFooterFont(const QFont& f)
{
    m_footer->setFont(f);
    m_footer->setFixedHeight(QFontMetrics(f).height() + 8);
}

void DbGrid::setEditable(bool on)
{
    m_model->setEditable(on);
    m_view->setEditTriggers(on ? QAbstractItemView::AllEditTriggers
                               : QAbstractItemView::NoEditTriggers);
}

void DbGrid::titleClicked(int col)
{
    if (col < 0 || col >= columnCount() || !column(col).sortable) return;
    QHeaderView* h = m_view->horizontalHeader();
    const bool again = h->isSortIndicatorShown() && h->sortIndicatorSection() == col;
    sortByColumn(col, again && h->sortIndicatorOrder() == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                             : Qt::AscendingOrder);
}

void DbGrid::sortByColumn(int col, Qt::SortOrder order)
{
    Query* q = dataSource() ? dataSource()->dataSet() : nullptr;
    if (!q || !q->isActive() || col < 0 || col >= columnCount()) return;
    const int field = q->fieldIndex(column(col).field);
    if (field < 0) return;
    m_sorting = true;
    guarded([&] { q->sortBy(field, order); });
    m_sorting = false;
    QHeaderView* h = m_view->horizontalHeader();
    h->setSortIndicator(col, order);
    h->setSortIndicatorShown(true);
}

void DbGrid::syncFromDataSet()
{
    if (m_syncing) return;
    Query* q = dataSource() ? dataSource()->dataSet() : nullptr;
    m_syncing = true;
    const int row = q && q->isActive() ? q->recNo() : -1;
    if (row >= 0 && row < m_model->rowCount()) {
        const int col = qMax(0, m_view->currentIndex().column());
        const QModelIndex idx = m_model->index(row, col);
        if (m_view->currentIndex().row() != row)
            m_view->selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect |
                                                               QItemSelectionModel::Rows);
        else
            m_view->selectionModel()->select(idx, QItemSelectionModel::ClearAndSelect |
                                                      QItemSelectionModel::Rows);
        m_view->scrollTo(idx);
    } else {
        m_view->selectionModel()->clearSelection();
    }
    m_view->verticalHeader()->viewport()->update();
    m_syncing = false;
}

void DbGrid::syncToDataSet(const QModelIndex& current)
{
    // While the row set removes a row (a cancelled new row, a deleted one) the view
    // moves its current index by itself; that is not the user moving, and moving
    // the row set then would save the very row being cancelled.
    if (m_syncing || !current.isValid() || m_model->removingRows()) return;
    Query* q = dataSource() ? dataSource()->dataSet() : nullptr;
    if (!q || !q->isActive() || q->recNo() == current.row()) return;
    m_syncing = true;
    guarded([&] { q->setRecNo(current.row()); });
    m_syncing = false;
    // A refused move (a save check failed) puts the selection back.
    if (q->recNo() != current.row())
        QMetaObject::invokeMethod(this, &DbGrid::syncFromDataSet, Qt::QueuedConnection);
    m_view->verticalHeader()->viewport()->update();
}

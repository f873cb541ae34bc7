#pragma once
// 匹配客户 / 匹配房源: the customers that fit one listing, or the listings that fit
// one customer, best first (the best kListedAtMost, with a line saying how many
// more fit), with the score, the mark of near misses and a short reason per criterion, then the
// other side's demand or offer columns (its personal columns only for the roles that see them on
// its record card). The result is printed, its columns chosen and exported as in the query windows.
// The window opens no other window for a row: a double click asks for the other
// register's record through recordRequested.
#include "data/DataSource.h"
#include "data/Query.h"
#include "matching/core/MatchSearch.h"
#include "widgets/DbGrid.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

class TFrmPPJG : public QDialog
{
    Q_OBJECT
public:
    // What the result lists.
    enum class Side { Customers, Listings };

    // The customers for a listing / the listings for a customer, matched on the main
    // database at once.
    explicit TFrmPPJG(const Matching::Listing& listing, QWidget* parent = nullptr);
    explicit TFrmPPJG(const Matching::Customer& customer, QWidget* parent = nullptr);
    ~TFrmPPJG() override;

    Side side() const { return m_side; }
    // True when the other side's name and telephones are columns of the result.
    bool showsPersonalColumns() const { return m_personal; }
    // The other side's archive number in the current row; empty when there is none.
    QString currentArchive() const;

    QLabel* lblTitle;   // 匹配客户 / 匹配房源
    QLabel* lblSubject; // the listing or customer matched
    QLabel* lblNone; // 没有符合条件的客户 / 没有符合条件的房源, shown when nothing fits
    QLabel* lblMore;       // how many more fit than the best ones listed; hidden when none
    QPushButton* btnXM;    // 项目: the column chooser
    QPushButton* btnExcel; // 生成Excel: the spreadsheet export
    QPushButton* btnDY;    // 打印: print preview
    QPushButton* btnTC;    // 退出
    QPushButton* btnCJ;    // 成交登记 of the subject with the current row, after 退出

    // What 成交登记 runs: registers a deal on a listing and a customer and tells
    // whether one was stored. Set by the application; the button does nothing without it.
    using DealEntry =
        std::function<bool(QWidget* parent, const QString& listing, const QString& customer)>;
    static DealEntry& dealEntry();
    void btnCJClick();
    DbGrid* gridPP;  // 分数, 匹配, 理由, then the other side's columns
    Query qryPP;     // the result, made in memory
    DataSource dsPP; // data link of qryPP

    // Matches again on the rows as they are now (after a card changed one); the
    // current row stays current while it is still shown.
    void refresh();

    void btnXMClick();    // column chooser
    void btnExcelClick(); // the Excel export of the visible columns
    void btnDYClick();    // print preview

    // Title of the print and of the export.
    QString reportTitle() const;

signals:
    // A row was double-clicked: the archive number of the customer (in a listing's
    // result) or of the listing (in a customer's result) to open on its record card.
    void recordRequested(const QString& archiveNumber);

private:
    TFrmPPJG(Side side, QWidget* parent);
    void buildUi();
    void present(Matching::MatchTable table);
    QList<GridColumn> columns() const;

    Side m_side;
    bool m_personal = false;
    Matching::Listing m_listing;
    Matching::Customer m_customer;
    Matching::MatchTable m_table;
};

#pragma once
// The condition builder "公用查询": conditions of a column, an operator and a
// value, joined with And, over the "column;caption" lines of PubFields. The
// condition goes to PubWhere; the readable lines to MmAnd.
#include <QDialog>
#include <QStringList>

class QComboBox;
class QPlainTextEdit;
class QToolButton;

class TFrmPubQuery : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmPubQuery(QWidget* parent = nullptr);
    ~TFrmPubQuery() override;

    QComboBox* cbZDM;
    QComboBox* cbCZF;
    QComboBox* cbZDZ;
    QToolButton* SpeedButton1;
    QPlainTextEdit* MmAnd;
    QToolButton* btnAnd;
    QToolButton* btnClear;
    QToolButton* SpeedButton4;
    QToolButton* SpeedButton5;

    void FormCreate();
    void btnAndClick();
    void btnClearClick();
    void SpeedButton1Click();
    void SpeedButton4Click();
    void SpeedButton5Click();

    // Columns holding whole numbers as text: a comparison with a typed whole number
    // compares them as numbers (set by the caller after creating the window).
    QStringList wholeNumberColumns;

private:
    QString chosenColumn() const;

    QStringList m_names; // column names, by position of the captions
    QStringList m_captions;
};

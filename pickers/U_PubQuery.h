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

    QComboBox* cbZDM;          // 字段名: the column, by caption
    QComboBox* cbCZF;          // 操作符: the operator
    QComboBox* cbZDZ;          // 字段值: the value, typed or chosen
    QToolButton* SpeedButton1; // lists the column's stored values (tip 列出所有可能值)
    QPlainTextEdit* MmAnd;     // 条件显示值: the conditions so far, readable
    QToolButton* btnAnd;       // 并且: adds the condition
    QToolButton* btnClear;     // 清除: drops all conditions
    QToolButton* SpeedButton4; // 确定
    QToolButton* SpeedButton5; // 取消

    void FormCreate();        // the column captions, the operators, an empty condition
    void btnAndClick();       // 并且
    void btnClearClick();     // 清除
    void SpeedButton1Click(); // the column's values into cbZDZ
    void SpeedButton4Click(); // 确定
    void SpeedButton5Click(); // 取消

    // Columns holding whole numbers as text: a comparison with a typed whole number
    // compares them as numbers (set by the caller after creating the window).
    QStringList wholeNumberColumns;

private:
    QString chosenColumn() const;

    QStringList m_names; // column names, by position of the captions
    QStringList m_captions;
};

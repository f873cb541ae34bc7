#pragma once
// The frame of a register's 档案卡 windows, the entry window and the record card:
// a title band, the framed field panel at fixed geometry (the register fills it,
// the same way on both windows: registers/PanelBuilder.h) and the row of buttons
// below the panel.
#include <QDialog>
#include <QRect>
#include <QSize>

class PanelBuilder;
class QFrame;
class QHBoxLayout;

struct CardLayout {
    QString title;                // title band, e.g. 房源信息档案卡
    QSize size;                   // inside the window frame
    QRect panel;                  // the field panel
    int panelFontPx;              // 宋体 in pixels
    void (*build)(PanelBuilder&); // fills the panel: the register's description
};

class CardFrame : public QDialog
{
    Q_OBJECT
public:
    // The field panel.
    QWidget* panel() const;

protected:
    CardFrame(const CardLayout& layout, QWidget* parent);

    // The row below the panel, as wide as the panel: the entry window's 保存 and
    // 取消, the card's bottom strip.
    QHBoxLayout* buttonRow() const { return m_row; }
    // A second row under it, made on first use (the window grows by its height):
    // buttons beyond the fixed ones, so the fixed row keeps its room.
    QHBoxLayout* secondButtonRow();
    // Chains the focus through the named controls, in order (hidden ones are
    // passed over when tabbing).
    void setTabOrderByName(const QStringList& names);
    // Centres the window on its screen.
    void centre();

private:
    QFrame* m_panel;
    QHBoxLayout* m_row;
    QHBoxLayout* m_second = nullptr;
};

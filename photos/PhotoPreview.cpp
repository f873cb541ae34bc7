#include "photos/PhotoPreview.h"

#include "data/DbError.h"
#include "data/Query.h"
#include "photos/PhotoImage.h"
#include "photos/core/PhotoStore.h"
#include "shell/Door.h"
#include "widgets/DbGrid.h"

#include <QBoxLayout>
#include <QCheckBox>

namespace
{
const QSize kPreview(260, 195);
}

PhotoPreview::PhotoPreview(Query* rows, QWidget* parent) : QLabel(parent), m_rows(rows)
{
    setObjectName(QStringLiteral("lblCoverPreview"));
    setFixedWidth(kPreview.width() + 8);
    setMinimumHeight(kPreview.height() + 8);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setFrameShape(QFrame::StyledPanel);
}

PhotoPreview* PhotoPreview::attach(DbGrid* grid, Query* rows, QWidget* toolBar)
{
    QWidget* window = grid->parentWidget();
    auto* root = qobject_cast<QBoxLayout*>(window->layout());
    const int at = root ? root->indexOf(grid) : -1;
    auto* preview = new PhotoPreview(rows, window);
    if (root && at >= 0) {
        const int stretch = root->stretch(at);
        root->removeWidget(grid);
        auto* pair = new QHBoxLayout;
        pair->setSpacing(2);
        pair->addWidget(grid, 1);
        pair->addWidget(preview);
        root->insertLayout(at, pair, stretch);
    }
    preview->m_toggle = new QCheckBox(QStringLiteral("照片预览"), toolBar);
    preview->m_toggle->setObjectName(QStringLiteral("cbPhotoPreview"));
    preview->m_toggle->setChecked(true);
    if (auto* bar = qobject_cast<QBoxLayout*>(toolBar->layout()))
        bar->insertWidget(qMax(0, bar->count() - 1), preview->m_toggle); // before the stretch
    onSignal(preview->m_toggle, &QCheckBox::toggled, preview, [preview](bool on) {
        preview->setVisible(on);
        preview->refresh();
    });
    connect(rows, &Query::currentChanged, preview, &PhotoPreview::refresh);
    connect(rows, &Query::reset, preview, &PhotoPreview::refresh);
    preview->refresh();
    return preview;
}

void PhotoPreview::refresh()
{
    m_number.clear();
    m_hasCover = false;
    if (!m_toggle || !m_toggle->isChecked() || !m_rows || !m_rows->isActive() ||
        m_rows->isEmpty() || !m_rows->connection()) {
        setPixmap({});
        setText({});
        return;
    }
    m_number = m_rows->text(QStringLiteral("档案号"));
    std::optional<QByteArray> cover;
    try {
        cover = Photos::cover(*m_rows->connection(), m_number, Photos::Copy::Exchange);
        if (cover && cover->isEmpty())
            cover = Photos::cover(*m_rows->connection(), m_number, Photos::Copy::Thumbnail);
    } catch (const DbError&) {
        // The preview is an aid: a failed read leaves it empty, the grid works on.
    }
    if (!cover) {
        setPixmap({});
        setText(QStringLiteral("没有照片"));
        return;
    }
    m_hasCover = true;
    setPixmap(QPixmap::fromImage(PhotoImage::fittedOr(*cover, kPreview)));
}

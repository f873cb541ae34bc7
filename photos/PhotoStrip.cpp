#include "photos/PhotoStrip.h"

#include "data/DbError.h"
#include "photos/PhotoImage.h"
#include "photos/PhotoViewer.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "widgets/CharLimit.h"
#include "widgets/WidgetUtil.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

const QSize kThumb(96, 72);

QIcon thumbIcon(const QByteArray& thumbnail)
{
    return QIcon(QPixmap::fromImage(PhotoImage::fittedOr(thumbnail, kThumb)));
}

// Asks for a caption; nothing when cancelled.
std::optional<QString> askCaption(QWidget* parent, const QString& current)
{
    QDialog dlg(parent);
    dlg.setObjectName(QStringLiteral("dlgCaption"));
    dlg.setWindowTitle(QStringLiteral("照片说明"));
    auto* v = new QVBoxLayout(&dlg);
    v->addWidget(new QLabel(QStringLiteral("说明（如 客厅、卧室、户型图）："), &dlg));
    auto* box = new QLineEdit(current, &dlg);
    box->setObjectName(QStringLiteral("edtCaption"));
    limitChars(box, Photos::kCaptionChars);
    v->addWidget(box);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    v->addWidget(buttons);
    if (dialogs().exec(&dlg) != QDialog::Accepted) return std::nullopt;
    return box->text();
}

} // namespace

PhotoStrip::PhotoStrip(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PhotoStrip"));
    setAcceptDrops(true);
    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(0, 0, 0, 0);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstPhotos"));
    m_list->setViewMode(QListView::IconMode);
    m_list->setFlow(QListView::LeftToRight);
    m_list->setWrapping(false);
    m_list->setMovement(QListView::Static);
    m_list->setIconSize(kThumb);
    m_list->setUniformItemSizes(true);
    m_list->setGridSize(kThumb + QSize(16, 24));
    m_list->setAcceptDrops(false);
    m_list->setFixedHeight(kThumb.height() + 48);
    h->addWidget(m_list, 1);
    auto* buttons = new QWidget(this);
    auto* g = new QGridLayout(buttons);
    g->setContentsMargins(0, 0, 0, 0);
    g->setSpacing(2);
    btnAdd = namedButton(buttons, "btnPhotoAdd", QStringLiteral("添加照片"));
    btnRemove = namedButton(buttons, "btnPhotoRemove", QStringLiteral("删除照片"));
    btnLeft = namedButton(buttons, "btnPhotoLeft", QStringLiteral("左移"));
    btnRight = namedButton(buttons, "btnPhotoRight", QStringLiteral("右移"));
    btnCover = namedButton(buttons, "btnPhotoCover", QStringLiteral("设为封面"));
    btnCaption = namedButton(buttons, "btnPhotoCaption", QStringLiteral("说明"));
    g->addWidget(btnAdd, 0, 0);
    g->addWidget(btnRemove, 0, 1);
    g->addWidget(btnLeft, 1, 0);
    g->addWidget(btnRight, 1, 1);
    g->addWidget(btnCover, 2, 0);
    g->addWidget(btnCaption, 2, 1);
    h->addWidget(buttons);
    onSignal(btnAdd, &QPushButton::clicked, this, &PhotoStrip::btnAddClick);
    onSignal(btnRemove, &QPushButton::clicked, this, &PhotoStrip::btnRemoveClick);
    onSignal(btnLeft, &QPushButton::clicked, this, &PhotoStrip::btnLeftClick);
    onSignal(btnRight, &QPushButton::clicked, this, &PhotoStrip::btnRightClick);
    onSignal(btnCover, &QPushButton::clicked, this, &PhotoStrip::btnCoverClick);
    onSignal(btnCaption, &QPushButton::clicked, this, &PhotoStrip::btnCaptionClick);
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* it) { openViewer(m_list->row(it)); });
    onSignal(m_list, &QListWidget::currentRowChanged, this, [this] { updateButtons(); });
    updateButtons();
}

PhotoStrip* PhotoStrip::placeBelow(QDialog* window, const QWidget* panel, const QString& after)
{
    int bottom = 0;
    for (const QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isWindow()) bottom = qMax(bottom, w->geometry().bottom());
    auto* strip = new PhotoStrip(window);
    const int h = strip->sizeHint().height();
    strip->setGeometry(panel->x(), bottom + 6, panel->width(), h);
    const QSize grown(window->width(), qMax(window->height(), bottom + 6 + h + 8));
    if (window->minimumSize() == window->maximumSize())
        window->setFixedSize(grown);
    else
        window->resize(grown);
    const QList<QWidget*> controls{strip->m_list,    strip->btnAdd,   strip->btnRemove,
                                   strip->btnLeft,   strip->btnRight, strip->btnCover,
                                   strip->btnCaption};
    if (after.isEmpty()) {
        // Outside the window's tab chain, which keeps its own cycle: by mouse only.
        for (QWidget* w : controls)
            w->setFocusPolicy(Qt::ClickFocus);
        return strip;
    }
    QWidget* before = window->findChild<QWidget*>(after);
    for (QWidget* w : controls) {
        if (before) QWidget::setTabOrder(before, w);
        before = w;
    }
    return strip;
}

void PhotoStrip::follow(Query* rows, std::function<bool()> mayChange)
{
    m_rows = rows;
    m_mayChange = std::move(mayChange);
    m_holding = false;
    connect(rows, &Query::currentChanged, this, &PhotoStrip::reload);
    connect(rows, &Query::reset, this, &PhotoStrip::reload);
    connect(rows, &Query::stateChanged, this, &PhotoStrip::updateButtons);
    reload();
}

void PhotoStrip::holdUntilSaved()
{
    m_holding = true;
    m_rows = nullptr;
    fill();
}

void PhotoStrip::clearPending()
{
    m_pending.clear();
    fill();
}

Connection* PhotoStrip::connection() const
{
    return m_rows ? m_rows->connection() : nullptr;
}

QString PhotoStrip::number() const
{
    if (!m_rows || !m_rows->isActive() || m_rows->isEmpty()) return {};
    return m_rows->text(QStringLiteral("档案号"));
}

bool PhotoStrip::editable() const
{
    if (m_holding) return true;
    return connection() && !number().isEmpty() && (!m_mayChange || m_mayChange());
}

int PhotoStrip::count() const
{
    return int(m_holding ? m_pending.size() : m_photos.size());
}

int PhotoStrip::selected() const
{
    return m_list->currentRow();
}

void PhotoStrip::reload()
{
    m_photos.clear();
    const QString n = number();
    if (Connection* c = connection(); c && !n.isEmpty()) {
        try {
            m_photos = Photos::list(*c, n);
            // A cover that came with an exchange file may have no thumbnail.
            for (Photos::Photo& p : m_photos)
                if (p.thumbnail.isEmpty()) p.thumbnail = Photos::picture(*c, p.id);
        } catch (const DbError& e) {
            dialogs().error(this, e.text());
        }
    }
    fill();
}

void PhotoStrip::fill()
{
    const int keep = m_list->currentRow();
    m_list->clear();
    for (int i = 0; i < count(); ++i) {
        const bool cover = m_holding ? i == 0 : m_photos[i].cover;
        const QString caption = m_holding ? m_pending[i].caption : m_photos[i].caption;
        auto* item = new QListWidgetItem(
            thumbIcon(m_holding ? m_pending[i].thumbnail : m_photos[i].thumbnail),
            (cover ? QStringLiteral("【封面】") : QString()) + caption);
        m_list->addItem(item);
    }
    if (count() > 0) m_list->setCurrentRow(qBound(0, keep, count() - 1));
    updateButtons();
}

QStringList PhotoStrip::shownCaptions() const
{
    QStringList out;
    for (int i = 0; i < count(); ++i) {
        const bool cover = m_holding ? i == 0 : m_photos[i].cover;
        out << (cover ? QStringLiteral("*") : QString()) +
                   (m_holding ? m_pending[i].caption : m_photos[i].caption);
    }
    return out;
}

void PhotoStrip::updateButtons()
{
    const bool may = editable();
    const int s = selected();
    const bool has = s >= 0 && s < count();
    btnAdd->setEnabled(may);
    btnRemove->setEnabled(may && has);
    btnLeft->setEnabled(may && has && s > 0);
    btnRight->setEnabled(may && has && s + 1 < count());
    btnCover->setEnabled(may && has && !m_holding);
    btnCaption->setEnabled(may && has);
}

void PhotoStrip::select(int index)
{
    if (index >= 0 && index < count()) m_list->setCurrentRow(index);
}

bool PhotoStrip::addFiles(const QStringList& paths)
{
    if (paths.isEmpty() || !editable()) return false;
    QList<Photos::NewPhoto> ready;
    QStringList refused;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        for (const QString& p : paths) {
            try {
                ready << PhotoImage::fromFile(p);
            } catch (const PhotoImage::Refused& e) {
                refused << e.text();
            }
        }
        QApplication::restoreOverrideCursor();
    }
    if (!refused.isEmpty()) {
        dialogs().message(this, refused.join(QLatin1Char('\n')) +
                                    QStringLiteral("\n\n照片没有加入，请去掉上面的文件后再加入。"));
        return false;
    }
    if (m_holding) {
        if (m_pending.size() + ready.size() > Photos::kMaxPerListing) {
            dialogs().message(this, Photos::tooManyText(int(m_pending.size()), int(ready.size())));
            return false;
        }
        m_pending += ready;
        fill();
        select(count() - 1);
        emit changed();
        return true;
    }
    try {
        Photos::add(*connection(), number(), ready);
    } catch (const DbError& e) {
        dialogs().message(this, e.text());
        reload();
        return false;
    }
    reload();
    select(count() - 1);
    emit changed();
    return true;
}

void PhotoStrip::btnAddClick()
{
    FileDialogSpec spec{PhotoImage::fileFilter(), true, true};
    const QString chosen = dialogs().openFile(this, spec);
    if (chosen.isEmpty()) return;
    addFiles(chosen.split(QLatin1Char('\n'), Qt::SkipEmptyParts));
}

void PhotoStrip::btnRemoveClick()
{
    const int s = selected();
    if (s < 0 || s >= count() || !editable()) return;
    if (!dialogs().question(this, QStringLiteral("是否删除选中的照片？"))) return;
    if (m_holding) {
        m_pending.removeAt(s);
        fill();
    } else {
        try {
            Photos::remove(*connection(), m_photos[s].id);
        } catch (const DbError& e) {
            dialogs().message(this, e.text());
        }
        reload();
    }
    emit changed();
}

void PhotoStrip::move(int by)
{
    const int s = selected();
    const int t = s + by;
    if (s < 0 || t < 0 || t >= count() || !editable()) return;
    if (m_holding) {
        m_pending.swapItemsAt(s, t);
        fill();
    } else {
        QList<qlonglong> ids;
        for (const Photos::Photo& p : m_photos)
            ids << p.id;
        ids.swapItemsAt(s, t);
        try {
            Photos::reorder(*connection(), number(), ids);
        } catch (const DbError& e) {
            dialogs().message(this, e.text());
        }
        reload();
    }
    select(t);
    emit changed();
}

void PhotoStrip::btnLeftClick()
{
    move(-1);
}

void PhotoStrip::btnRightClick()
{
    move(1);
}

void PhotoStrip::btnCoverClick()
{
    const int s = selected();
    if (m_holding || s < 0 || s >= count() || !editable()) return;
    try {
        Photos::setCover(*connection(), m_photos[s].id);
    } catch (const DbError& e) {
        dialogs().message(this, e.text());
    }
    reload();
    emit changed();
}

void PhotoStrip::btnCaptionClick()
{
    const int s = selected();
    if (s < 0 || s >= count() || !editable()) return;
    const auto text = askCaption(this, m_holding ? m_pending[s].caption : m_photos[s].caption);
    if (!text) return;
    try {
        if (m_holding) {
            const QString trimmed = text->trimmed();
            if (trimmed.size() > Photos::kCaptionChars)
                throw DbError(
                    QStringLiteral("照片说明最多 %1 个字符。").arg(Photos::kCaptionChars));
            m_pending[s].caption = trimmed;
            fill();
        } else {
            Photos::setCaption(*connection(), m_photos[s].id, *text);
            reload();
        }
    } catch (const DbError& e) {
        dialogs().message(this, e.text());
    }
    emit changed();
}

void PhotoStrip::openViewer(int index)
{
    if (index < 0 || index >= count()) return;
    const bool holding = m_holding;
    const QList<Photos::NewPhoto> pending = m_pending;
    const QList<Photos::Photo> photos = m_photos;
    Connection* c = connection();
    TFrmPhotoViewer viewer(
        count(), index,
        [=](int i) {
            if (holding) return pending[i].picture;
            return c ? Photos::picture(*c, photos[i].id) : QByteArray();
        },
        [=](int i) { return holding ? pending[i].caption : photos[i].caption; }, this);
    dialogs().exec(&viewer);
}

void PhotoStrip::dragEnterEvent(QDragEnterEvent* e)
{
    if (editable() && e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void PhotoStrip::dropEvent(QDropEvent* e)
{
    QStringList paths;
    for (const QUrl& u : e->mimeData()->urls())
        if (u.isLocalFile()) paths << u.toLocalFile();
    if (paths.isEmpty()) return;
    e->acceptProposedAction();
    addFiles(paths);
}

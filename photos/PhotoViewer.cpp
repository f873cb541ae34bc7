#include "photos/PhotoViewer.h"

#include "photos/PhotoImage.h"
#include "shell/Door.h"
#include "widgets/WidgetUtil.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

TFrmPhotoViewer::TFrmPhotoViewer(int count, int current, Loader load,
                                 std::function<QString(int)> caption, QWidget* parent)
    : QDialog(parent), m_count(count), m_load(std::move(load)), m_caption(std::move(caption))
{
    setObjectName(QStringLiteral("FrmPhotoViewer"));
    setWindowTitle(QStringLiteral("照片"));
    resize(900, 700);
    setSizeGripEnabled(true);
    auto* root = new QVBoxLayout(this);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("lblCaption"));
    m_title->setAlignment(Qt::AlignCenter);
    root->addWidget(m_title);
    m_area = new QScrollArea(this);
    m_area->setAlignment(Qt::AlignCenter);
    m_picture = new QLabel(m_area);
    m_picture->setObjectName(QStringLiteral("lblPicture"));
    m_picture->setAlignment(Qt::AlignCenter);
    m_area->setWidget(m_picture);
    root->addWidget(m_area, 1);
    auto* row = new QHBoxLayout;
    btnPrev = namedButton(this, "btnPrev", QStringLiteral("上一张"));
    btnNext = namedButton(this, "btnNext", QStringLiteral("下一张"));
    btnFit = namedButton(this, "btnFit", QStringLiteral("适合窗口"));
    btnFull = namedButton(this, "btnFull", QStringLiteral("原始大小"));
    btnClose = namedButton(this, "btnClose", QStringLiteral("关闭"));
    for (QPushButton* b : {btnPrev, btnNext, btnFit, btnFull})
        row->addWidget(b);
    row->addStretch();
    row->addWidget(btnClose);
    root->addLayout(row);
    onSignal(btnPrev, &QPushButton::clicked, this, [this] { showAt(m_index - 1); });
    onSignal(btnNext, &QPushButton::clicked, this, [this] { showAt(m_index + 1); });
    onSignal(btnFit, &QPushButton::clicked, this, [this] { setFitted(true); });
    onSignal(btnFull, &QPushButton::clicked, this, [this] { setFitted(false); });
    onSignal(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    showAt(current);
}

void TFrmPhotoViewer::showAt(int index)
{
    if (m_count <= 0 || index < 0 || index >= m_count) return;
    m_index = index;
    m_image = PhotoImage::decodeOr(m_load(index), QSize(400, 300));
    const QString caption = m_caption ? m_caption(index) : QString();
    m_title->setText(QStringLiteral("第 %1 / %2 张").arg(index + 1).arg(m_count) +
                     (caption.isEmpty() ? QString() : QStringLiteral("  ") + caption));
    btnPrev->setEnabled(index > 0);
    btnNext->setEnabled(index + 1 < m_count);
    paintPicture();
}

void TFrmPhotoViewer::setFitted(bool fit)
{
    m_fit = fit;
    paintPicture();
}

void TFrmPhotoViewer::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    if (m_fit) paintPicture();
}

void TFrmPhotoViewer::paintPicture()
{
    if (m_image.isNull()) return;
    QPixmap pm = QPixmap::fromImage(m_image);
    const QSize room = m_area->viewport()->size() - QSize(4, 4);
    if (m_fit && (pm.width() > room.width() || pm.height() > room.height()))
        pm = pm.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_picture->setPixmap(pm);
    m_picture->resize(pm.size());
    btnFit->setEnabled(!m_fit);
    btnFull->setEnabled(m_fit);
}

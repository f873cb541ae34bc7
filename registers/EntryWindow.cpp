#include "registers/EntryWindow.h"

#include "data/Dmbasic.h"
#include "data/Text.h"
#include "registers/DictionaryLists.h"
#include "registers/PanelBuilder.h"
#include "registers/core/ArchiveNumber.h"
#include "session/PubVars.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "shell/Guard.h"
#include "widgets/WidgetUtil.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

EntryWindow::EntryWindow(const EntryWindowConfig& config, QWidget* parent)
    : CardFrame(config.layout, parent), m_config(config),
      m_row(dmbasic ? &dmbasic->adoCntnfybase : nullptr)
{
    setWindowTitle(config.caption);
    setFont(pixelFont(QStringLiteral("宋体"), config.fontPx));
    if (config.fixedSize) setFixedSize(config.layout.size);
    m_link.setDataSet(&m_row);
    m_row.afterInsert = [this](Query&) { setDefaults(); };
    PanelBuilder p(panel(), &m_link, PanelBuilder::Use::Entry);
    config.layout.build(p);
    finishPanel(p);
    FormCreate();
}

EntryWindow::~EntryWindow()
{
    m_row.close();
}

void EntryWindow::finishPanel(const PanelBuilder& p)
{
    auto* save = new QPushButton(QStringLiteral("保存"), this);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    save->setObjectName(m_config.controls.save);
    cancel->setObjectName(m_config.controls.cancel);
    for (QPushButton* b : {save, cancel}) {
        b->setFixedSize(80, 30);
        if (m_config.buttonFontPx > 0)
            b->setFont(pixelFont(QStringLiteral("宋体"), m_config.buttonFontPx));
    }
    buttonRow()->addStretch();
    buttonRow()->addWidget(save);
    buttonRow()->addWidget(cancel);
    setTabOrderByName(p.tabOrder() + QStringList{m_config.controls.save, m_config.controls.cancel});

    auto handler = [this](void (EntryWindow::*h)()) {
        return [this, h] { guarded([&] { (this->*h)(); }); };
    };
    onSignal(list(QStringLiteral("cbFS")), &QComboBox::activated, this,
             handler(&EntryWindow::cbFSChange));
    onSignal(save, &QPushButton::clicked, this, handler(&EntryWindow::save));
    onSignal(cancel, &QPushButton::clicked, this, &QWidget::close);
}

QComboBox* EntryWindow::list(const QString& name) const
{
    return findChild<QComboBox*>(name);
}

QString EntryWindow::shown(const char* name) const
{
    QWidget* w = findChild<QWidget*>(QString::fromLatin1(name));
    if (auto* cb = qobject_cast<QComboBox*>(w)) return cb->currentText();
    if (auto* le = qobject_cast<QLineEdit*>(w)) return le->text();
    return {};
}

void EntryWindow::FormCreate()
{
    guarded([this] {
        if (!dmbasic) throw DbError(QStringLiteral("数据库没有连接。"));
        m_row.close();
        m_row.clearSql();
        m_row.addSql(QStringLiteral("select * from %1 ").arg(m_config.statement.table));
        m_row.addSql(m_config.statement.emptyLine);
        m_row.open();

        for (const RegisterRules::DictionaryList& d : m_config.lists) {
            QComboBox* cb = list(d.control);
            fillList(cb, d);
            // "不限" (no preference) is chosen until the operator chooses otherwise.
            if (d.anyFirst) cb->setCurrentIndex(0);
        }
        QComboBox* fs = list(QStringLiteral("cbFS"));
        QComboBox* qs = list(QStringLiteral("cbQS"));
        fs->setCurrentIndex(fs->count() > 0 ? 0 : -1);
        qs->setCurrentIndex(-1);
        qs->setEnabled(false);
        // Applied once here as well: with the mode that asks for 权属 first in the
        // dictionary, 权属 would otherwise stay disabled while the save insists on it.
        cbFSChange();
    });
}

void EntryWindow::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous()) return;
    centre();
    guarded([this] { FormShow(); });
    focusFirst();
}

void EntryWindow::keyPressEvent(QKeyEvent* e)
{
    // Esc does not close the window: a half-typed row is not thrown away by a
    // stray key; 取消 and the close box do that.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void EntryWindow::FormShow()
{
    // Only a prepared row set can take a row; a row being typed is never replaced.
    if (!m_row.isActive() || m_row.state() == Query::State::Insert) return;
    m_row.append();
}

void EntryWindow::setDefaults()
{
    m_row.setValue(QStringLiteral("公司编号"), GSDM);
    m_row.setValue(QStringLiteral("录入日期"), CZRQ);
    m_row.setValue(QStringLiteral("类型"), QStringLiteral("有效"));
    for (const auto& [column, value] : m_config.defaults)
        m_row.setValue(column, value);
    for (const QString& column : m_config.zeroColumns)
        m_row.setValue(column, 0.0);
}

void EntryWindow::focusFirst()
{
    if (QWidget* w = findChild<QWidget*>(m_config.controls.first)) w->setFocus();
}

void EntryWindow::cbFSChange()
{
    QComboBox* qs = list(QStringLiteral("cbQS"));
    switch (m_config.modeRule(list(QStringLiteral("cbFS"))->currentText())) {
    case RegisterRules::OwnershipList::Clear:
        qs->setCurrentIndex(-1);
        qs->setEnabled(false);
        break;
    case RegisterRules::OwnershipList::Select:
        qs->setCurrentIndex(qs->count() > 0 ? 0 : -1);
        qs->setEnabled(true);
        break;
    case RegisterRules::OwnershipList::Keep:
        break;
    }
}

void EntryWindow::refuse(const RegisterRules::FailedCheck& failed)
{
    dialogs().message(this, failed.message);
    if (QWidget* w = findChild<QWidget*>(failed.control)) w->setFocus();
    throw SilentAbort();
}

void EntryWindow::writeSaveValues(Query& q)
{
    // No ownership kind chosen (renting): 权属 is stored as empty text.
    for (const QString& pair : m_config.listColumns)
        q.setValue(pair.section(QLatin1Char('='), 1),
                   Text::trim(list(pair.section(QLatin1Char('='), 0, 0))->currentText()));
}

namespace
{
std::function<bool(EntryWindow&)>& saveQuestion()
{
    static std::function<bool(EntryWindow&)> ask;
    return ask;
}
} // namespace

void EntryWindow::setSaveQuestion(const std::function<bool(EntryWindow&)>& ask)
{
    saveQuestion() = ask;
}

void EntryWindow::save()
{
    if (const auto failed = firstFailedCheck()) refuse(*failed);
    if (saveQuestion() && !saveQuestion()(*this)) throw SilentAbort();
    ArchiveNumber::numberAndPost(
        m_row, dmbasic->QryPUB, GSDM, CZRQ, [this](Query& r) { writeSaveValues(r); },
        ArchiveNumber::kDefaultAttempts, m_config.statement.numberQuote,
        [this](const QString& number) { storeWithRow(number); });
    saved();
    if (dialogs().question(this, m_config.question)) {
        m_row.append();
        focusFirst();
    } else {
        close();
    }
}

void EntryWindow::done(int r)
{
    FormClose();
    QDialog::done(r);
}

void EntryWindow::FormClose()
{
    // Closing the row set drops a row that was never saved, without a question.
    m_row.close();
}

#include "widgets/DbControls.h"

#include "shell/Door.h"
#include "shell/Guard.h"
#include "widgets/CharLimit.h"

#include <QRegularExpressionValidator>

QString formatValue(const QVariant& v, const QString& format)
{
    if (v.isNull()) return {};
    if (v.typeId() == QMetaType::Double) {
        const int dot = format.indexOf(QLatin1Char('.'));
        const int decimals = dot < 0 ? 0 : int(format.size()) - dot - 1;
        return QString::number(v.toDouble(), 'f', decimals);
    }
    return v.toString();
}

FieldLink::FieldLink(QWidget* owner, std::function<void()> refresh)
    : QObject(owner), m_owner(owner), m_refresh(std::move(refresh))
{
}

void FieldLink::bind(DataSource* ds, const QString& field)
{
    for (const auto& c : m_links)
        disconnect(c);
    m_links.clear();
    m_ds = ds;
    m_field = field;
    if (ds) {
        auto r = [this] {
            if (!m_updating) m_refresh();
        };
        m_links << connect(ds, &DataSource::dataSetChanged, this, r)
                << connect(ds, &DataSource::currentChanged, this, r)
                << connect(ds, &DataSource::stateChanged, this, r)
                << connect(ds, &DataSource::valueChanged, this, [this, r](int col) {
                       if (col == column()) r();
                   });
    }
    m_refresh();
}

int FieldLink::column() const
{
    Query* q = dataSet();
    return q && q->isActive() ? q->fieldIndex(m_field) : -1;
}

QVariant FieldLink::value() const
{
    const int c = column();
    return c < 0 ? QVariant() : dataSet()->value(c);
}

bool FieldLink::write(const QVariant& v)
{
    Query* q = dataSet();
    if (!q || !q->isActive()) return false;
    bool ok = false;
    m_updating = true;
    guarded([&] {
        if (!q->isEditing()) q->edit();
        const int c = column();
        if (c >= 0) {
            q->setValue(c, v);
            ok = true;
        }
    });
    m_updating = false;
    if (!ok) m_refresh();
    return ok;
}

DbEdit::DbEdit(QWidget* parent) : QLineEdit(parent), m_link(this, [this] { refresh(); })
{
    onSignal(this, &QLineEdit::textEdited, this, [this](const QString& t) {
        const int c = m_link.column();
        QVariant v = t;
        if (c >= 0 && m_link.dataSet()->column(c).type == ColumnInfo::Float) {
            const QString s = t.trimmed();
            if (s == QLatin1String("-") || s == QLatin1String(".") || s == QLatin1String("-."))
                v = QVariant();
        }
        m_link.write(v);
    });
}

void DbEdit::bind(DataSource* ds, const QString& field)
{
    m_link.bind(ds, field);
}

void DbEdit::setDigitsOnly(bool on)
{
    m_digitsOnly = on;
    setValidator(
        on ? new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this)
           : nullptr);
    refresh();
}

void DbEdit::refresh()
{
    const int c = m_link.column();
    Query* q = m_link.dataSet();
    if (c < 0) {
        setText(QString());
        setMaxLength(32767);
        if (!m_digitsOnly) limitChars(this, 0);
        return;
    }
    const ColumnInfo& ci = q->column(c);
    const int width = ci.type == ColumnInfo::Text ? ci.maxLength : 0;
    if (m_digitsOnly) {
        // Digits only: one unit each, the box's own limit counts them right.
        setMaxLength(width > 0 ? width : 32767);
    } else if (ci.type == ColumnInfo::Float) {
        if (!dynamic_cast<const QRegularExpressionValidator*>(validator()))
            setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("-?[0-9]*\\.?[0-9]*")), this));
        setMaxLength(32767);
    } else {
        // A text column's width in characters, as the database counts it.
        if (dynamic_cast<const QRegularExpressionValidator*>(validator())) setValidator(nullptr);
        limitChars(this, width);
        setMaxLength(32767);
    }
    const QVariant v = q->value(c);
    // While the operator types into a float box, keep the typed text.
    if (hasFocus() && ci.type == ColumnInfo::Float && q->isEditing() && m_link.updating()) return;
    const QString t = ci.type == ColumnInfo::Float ? formatValue(v, m_format) : formatValue(v);
    if (t != text()) setText(t);
}

void DbEdit::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    refresh();
}

DbMemo::DbMemo(QWidget* parent) : QPlainTextEdit(parent), m_link(this, [this] { refresh(); })
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    onSignal(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_setting) m_link.write(toPlainText());
    });
}

void DbMemo::bind(DataSource* ds, const QString& field)
{
    m_link.bind(ds, field);
}

void DbMemo::refresh()
{
    const QString t = m_link.value().toString();
    if (t == toPlainText()) return;
    m_setting = true;
    setPlainText(t);
    m_setting = false;
}

DbCheckBox::DbCheckBox(QWidget* parent) : QCheckBox(parent), m_link(this, [this] { refresh(); })
{
    onSignal(this, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_setting) m_link.write(on ? m_on : m_off);
    });
}

void DbCheckBox::bind(DataSource* ds, const QString& field, const QString& checkedValue,
                      const QString& uncheckedValue)
{
    m_on = checkedValue;
    m_off = uncheckedValue;
    m_link.bind(ds, field);
}

void DbCheckBox::refresh()
{
    m_setting = true;
    setChecked(m_link.value().toString() == m_on);
    m_setting = false;
}

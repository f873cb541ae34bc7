#include "widgets/CharLimit.h"

#include "data/Text.h"

#include <QLineEdit>
#include <QValidator>

namespace
{

class CharLimitValidator : public QValidator
{
public:
    CharLimitValidator(int max, QObject* parent) : QValidator(parent), m_max(max) {}
    int max() const { return m_max; }

    State validate(QString& input, int& pos) const override
    {
        int excess = Text::charCount(input) - m_max;
        if (excess <= 0) return Acceptable;
        // What was just typed or pasted stands before the cursor: its tail goes.
        int end = qBound(0, pos, int(input.size()));
        int from = end;
        while (excess > 0 && from > 0) {
            --from;
            if (from > 0 && input.at(from).isLowSurrogate() && input.at(from - 1).isHighSurrogate())
                --from;
            --excess;
        }
        input.remove(from, end - from);
        pos = from;
        if (excess > 0) input = Text::leftChars(input, m_max);
        return Acceptable;
    }

private:
    int m_max;
};

} // namespace

void limitChars(QLineEdit* box, int max)
{
    auto* current = dynamic_cast<const CharLimitValidator*>(box->validator());
    if (current && current->max() == max) return;
    box->setValidator(max > 0 ? new CharLimitValidator(max, box) : nullptr);
    if (current) delete current;
}

int charLimit(const QLineEdit* box)
{
    auto* v = dynamic_cast<const CharLimitValidator*>(box->validator());
    return v ? v->max() : 0;
}

#pragma once
// Errors of the data layer. The data layer never shows anything: it throws,
// and the application's default error display shows the text.
#include <QString>
#include <stdexcept>

class DbError : public std::runtime_error
{
public:
    // What stands in the way, where a caller words its own message by it.
    enum class Cause {
        Other,
        Damaged,  // the stored pages do not check out
        ReadOnly, // the database (or the folder of a file) cannot be written
        Busy      // another workstation is writing and did not finish in time
    };
    explicit DbError(const QString& text, Cause cause = Cause::Other)
        : std::runtime_error(text.toStdString()), m_text(text), m_cause(cause)
    {
    }
    const QString& text() const { return m_text; }
    Cause cause() const { return m_cause; }

private:
    QString m_text;
    Cause m_cause;
};

// Thrown by a hook or handler to stop the running operation without a message.
// The row set stays in the state it was in; the default error display ignores it.
struct SilentAbort {
};

#pragma once
// Errors of the data layer. The data layer never shows anything: it throws,
// and the application's default error display shows the text.
#include <QString>
#include <stdexcept>

class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString& text) : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

// Thrown by a hook or handler to stop the running operation without a message.
// The row set stays in the state it was in; the default error display ignores it.
struct SilentAbort {
};

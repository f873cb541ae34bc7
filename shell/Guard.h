#pragma once
#include "data/DbError.h"
#include "shell/Dialogs.h"

#include <exception>

// Shows an error the way the default error display does.
void showUncaught(const QString& text);

// Runs f and shows any error it raises as the default error display does; a silent
// abort ends it without a message. For code that runs outside an event handler.

template <typename F> void guarded(F&& f)
{
    try {
        f();
    } catch (const SilentAbort&) {
    } catch (const DbError& e) {
        showUncaught(e.text());
    } catch (const std::exception& e) {
        showUncaught(QString::fromUtf8(e.what()));
    }
}

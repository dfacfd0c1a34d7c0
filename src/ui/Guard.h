#pragma once

#include "app/Database.h"
#include "ui/Messages.h"

#include <exception>

// Runs a handler body; a failure is shown as an error message and ends the
// handler, leaving the window open (the application's default error box). The box
// always has a text: a lost server connection says so (DbError's text), and the
// next handler's first statement opens the connection again.
template <typename F>
bool guarded(F &&body)
{
    try {
        body();
        return true;
    } catch (const DbError &e) {
        messages().error(e.text());
    } catch (const std::exception &e) {
        const QString text = QString::fromUtf8(e.what()).trimmed();
        messages().error(text.isEmpty() ? DbError::fallbackText() : text);
    }
    return false;
}

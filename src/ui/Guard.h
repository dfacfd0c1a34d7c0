#pragma once

#include "app/Database.h"
#include "ui/Messages.h"

#include <exception>

// Runs a handler body; a failure is shown as an error message and ends the
// handler, leaving the window open (the application's default error box).
template <typename F>
bool guarded(F &&body)
{
    try {
        body();
        return true;
    } catch (const DbError &e) {
        messages().error(e.text());
    } catch (const std::exception &e) {
        messages().error(QString::fromUtf8(e.what()));
    }
    return false;
}

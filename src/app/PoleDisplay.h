#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The customer pole display on a serial port. Port N is the N-th serial device of
// the machine, counted from 1 in the order of the devices' system locations.
// Nothing here waits: opening a missing device fails at once, and bytes are handed
// to the port's buffer and written by the event loop.

// Opens the display. False when there is no N-th device or it cannot be opened.
bool com_init(int port, int baud);
// Sends bytes to the open display; without an open display it does nothing.
bool com_send(const QByteArray &bytes);
// Closes the display (nothing happens when it is not open).
void com_rest();
// Whether a display is open (com_init succeeded and com_rest has not run since).
bool poleDisplayOpen();

// The two messages that show a cart total: ESC Q A, the total as shown, CR; then ESC s 2.
QList<QByteArray> cartTotalPayload(const QString &totalText);
// Sends the cart total to the display (a no-op when none is open).
void showCartTotal(const QString &totalText);

// Opens the display of the shop's DisplayPort setting ("0": none, nothing to do).
// False when the setting is not a whole number or the display cannot be opened.
bool openPoleDisplay(const QString &displayPort);

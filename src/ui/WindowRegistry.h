#pragma once

#include <QString>
#include <functional>

class QDialog;
class QWidget;

// The program's windows by class name ("TFshangpin_list"). Each subsystem registers
// the windows it has built; a window is created on first use and then kept for the
// whole run, reloaded by its own show handler each time it is shown.
using WindowFactory = std::function<QDialog *(QWidget *parent)>;

void registerWindow(const QString &className, WindowFactory factory);
bool hasWindow(const QString &className);
// The one instance of a registered window (created on first call); nullptr if the
// window is not part of this build.
QDialog *window(const QString &className);
// Shows the window modally; returns its result, or -1 when it is not built.
int openWindow(const QString &className);
// Typed access for windows that read each other's fields after a modal show.
template <typename T>
T *windowAs(const QString &className) { return dynamic_cast<T *>(window(className)); }

// Forgets every created instance (tests start each case from fresh windows).
void resetWindows();
// Parent for windows created from now on (the main window).
void setWindowParent(QWidget *parent);

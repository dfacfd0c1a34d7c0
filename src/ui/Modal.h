#pragma once

class QDialog;

// Shows a window modally and returns its result. The program runs QDialog::exec;
// the window-test harness installs a runner that drives the window by objectName
// instead of entering a nested event loop.
class ModalRunner {
public:
    virtual ~ModalRunner() = default;
    virtual int run(QDialog &dialog) = 0;
};

int showModal(QDialog &dialog);
void setModalRunner(ModalRunner *runner);  // nullptr restores exec(); not owned

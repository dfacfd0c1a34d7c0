#include "ui/Modal.h"

#include <QDialog>

namespace {
ModalRunner *g_runner = nullptr;
}

int showModal(QDialog &dialog) { return g_runner ? g_runner->run(dialog) : dialog.exec(); }

void setModalRunner(ModalRunner *runner) { g_runner = runner; }

#include "ui/WindowRegistry.h"

#include "ui/Modal.h"

#include <QDialog>
#include <QHash>
#include <QPointer>

namespace {

struct Registry {
    QHash<QString, WindowFactory> factories;
    QHash<QString, QPointer<QDialog>> instances;
    QPointer<QWidget> parent;
};

Registry &reg()
{
    static Registry r;
    return r;
}

} // namespace

void registerWindow(const QString &className, WindowFactory factory) { reg().factories.insert(className, std::move(factory)); }

bool hasWindow(const QString &className) { return reg().factories.contains(className); }

QDialog *window(const QString &className)
{
    Registry &r = reg();
    QPointer<QDialog> &slot = r.instances[className];
    if (!slot) {
        auto it = r.factories.constFind(className);
        if (it == r.factories.constEnd()) {
            r.instances.remove(className);
            return nullptr;
        }
        slot = (*it)(r.parent);
        if (slot && slot->objectName().isEmpty()) slot->setObjectName(className);
    }
    return slot;
}

int openWindow(const QString &className)
{
    QDialog *w = window(className);
    return w ? showModal(*w) : -1;
}

void resetWindows()
{
    Registry &r = reg();
    for (auto &w : r.instances)
        if (w) delete w.data();
    r.instances.clear();
}

void setWindowParent(QWidget *parent) { reg().parent = parent; }

#include "support/Harness.h"

bool TestMessages::question(const QString &text)
{
    questions << text;
    all << QStringLiteral("question:") + text;
    if (answers.empty()) return defaultAnswer;
    const bool a = answers.front();
    answers.pop_front();
    return a;
}

int TestModal::run(QDialog &dialog)
{
    opened << dialog.objectName();
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    auto it = handlers_.find(dialog.objectName());
    if (it != handlers_.end() && !it->second.empty()) {
        Handler h = std::move(it->second.front());
        it->second.pop_front();
        h(dialog);
    }
    if (dialog.isVisible()) dialog.close();
    return dialog.result();
}

bool click(QObject *root, const QString &name)
{
    if (auto *b = root->findChild<QAbstractButton *>(name)) {
        if (!b->isEnabled()) return false;
        b->click();
        return true;
    }
    if (auto *a = root->findChild<QAction *>(name)) {
        if (!a->isEnabled()) return false;
        a->trigger();
        return true;
    }
    return false;
}

#pragma once

#include "ui/Messages.h"
#include "ui/Modal.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <functional>
#include <map>

// What the program said, and the answers the test gives to its questions.
class TestMessages : public MessageService {
public:
    QStringList infos, errors, questions;
    std::deque<bool> answers;     // consumed in order; empty -> defaultAnswer
    bool defaultAnswer = true;

    void information(const QString &text) override { infos << text; all << QStringLiteral("info:") + text; }
    void error(const QString &text) override { errors << text; all << QStringLiteral("error:") + text; }
    bool question(const QString &text) override;
    // Everything said, in order, as "info:", "error:" and "question:" lines.
    QStringList all;
    void clear() { infos.clear(); errors.clear(); questions.clear(); all.clear(); }
};

// Modal windows in tests: instead of a nested event loop, the window is shown and
// the handler registered for its objectName drives it; a window still open after
// its handler is closed as with the window's close box (rejected).
class TestModal : public ModalRunner {
public:
    using Handler = std::function<void(QDialog &)>;
    // Queues a handler for the next modal show of the window with this objectName.
    void on(const QString &objectName, Handler handler) { handlers_[objectName].push_back(std::move(handler)); }
    int run(QDialog &dialog) override;
    QStringList opened;   // objectNames of the windows shown modally, in order
private:
    std::map<QString, std::deque<Handler>> handlers_;
};

// Installs both for the scope of a test.
struct Harness {
    TestMessages msgs;
    TestModal modal;
    Harness() { setMessageService(&msgs); setModalRunner(&modal); }
    ~Harness() { setMessageService(nullptr); setModalRunner(nullptr); }
};

// Finds a control by objectName below root (nullptr when missing).
template <typename T = QWidget>
T *child(QObject *root, const QString &name) { return root->findChild<T *>(name); }

// Clicks a button or triggers a menu action by objectName; false when not found
// or disabled.
bool click(QObject *root, const QString &name);

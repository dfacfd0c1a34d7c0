#include "ui/Messages.h"

#include "app/Session.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <memory>

namespace {

class BoxMessages : public MessageService {
public:
    void information(const QString &text) override
    {
        QMessageBox::information(QApplication::activeWindow(), session().ProgramTitle, text);
    }
    void error(const QString &text) override
    {
        QMessageBox::critical(QApplication::activeWindow(), session().ProgramTitle, text);
    }
    bool question(const QString &text) override
    {
        std::unique_ptr<QMessageBox> box(newQuestionBox(text, QApplication::activeWindow()));
        return box->exec() == QMessageBox::Ok;
    }
};

BoxMessages g_boxes;
MessageService *g_service = nullptr;

} // namespace

MessageService &messages() { return g_service ? *g_service : g_boxes; }

void setMessageService(MessageService *service) { g_service = service; }

bool DeleteConfirmation() { return messages().question(QStringLiteral("确实要删除吗？")); }

QMessageBox *newQuestionBox(const QString &text, QWidget *parent)
{
    auto *box = new QMessageBox(QMessageBox::Question, session().ProgramTitle, text,
                                QMessageBox::Ok | QMessageBox::Cancel, parent);
    box->setDefaultButton(QMessageBox::Cancel);
    return box;
}

bool installQtTranslations()
{
    // The application keeps the translators for the rest of the run.
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    auto *t = new QTranslator(QCoreApplication::instance());
    if (t->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"), folder) && QCoreApplication::installTranslator(t))
        return true;
    delete t;
    return false;
}

#include "ui/Messages.h"

#include "app/Session.h"

#include <QApplication>
#include <QMessageBox>

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
        return QMessageBox::question(QApplication::activeWindow(), session().ProgramTitle, text,
                   QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel) == QMessageBox::Ok;
    }
};

BoxMessages g_boxes;
MessageService *g_service = nullptr;

} // namespace

MessageService &messages() { return g_service ? *g_service : g_boxes; }

void setMessageService(MessageService *service) { g_service = service; }

bool DeleteConfirmation() { return messages().question(QStringLiteral("确实要删除吗？")); }

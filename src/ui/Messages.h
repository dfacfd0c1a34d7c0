#pragma once

#include <QString>

class QMessageBox;
class QWidget;

// The one way the program speaks to the user: information, errors and OK/Cancel
// questions captioned with the program title. Tests install their own service to
// read what was said and to answer questions.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual void information(const QString &text) = 0;
    virtual void error(const QString &text) = 0;
    // OK/Cancel, captioned ProgramTitle; true only for OK.
    virtual bool question(const QString &text) = 0;
};

MessageService &messages();
// Installs a service (nullptr restores the message boxes). Not owned.
void setMessageService(MessageService *service);

// "确实要删除吗？" with OK and Cancel; true only for OK.
bool DeleteConfirmation();


// The OK/Cancel question box the message service shows outside tests, captioned
// ProgramTitle, Cancel as the default. The caller owns it.
QMessageBox *newQuestionBox(const QString &text, QWidget *parent = nullptr);

// Loads Qt's own Chinese texts (standard buttons read 确定/取消, the file, print and
// input dialogs are Chinese) into the running application, from Qt's translation
// folder. False when the translation files are not installed.
bool installQtTranslations();

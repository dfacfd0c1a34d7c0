#pragma once

#include <QDialog>

class TFmain;

// The login window (placeholder until the login is built).
class TFlogin : public QDialog {
    Q_OBJECT
public:
    explicit TFlogin(TFmain *mainWindow, QWidget *parent = nullptr);
};

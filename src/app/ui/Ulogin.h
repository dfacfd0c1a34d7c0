#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TFmain;

// The login window: identifies the operator, opens the session, applies the
// operator's rights and the shop settings to the main window.
class TFlogin : public QDialog {
    Q_OBJECT
public:
    explicit TFlogin(TFmain *mainWindow, QWidget *parent = nullptr);

public Q_SLOTS:
    void FormShow();
    void Edit2KeyPress();
    void BitBtn1Click();
    void BitBtn2Click();

Q_SIGNALS:
    // After the window has been shown (used to measure start-up).
    void shown();

protected:
    void showEvent(QShowEvent *event) override;

private:
    TFmain *main_;
    QComboBox *ComboBox1;
    QLineEdit *Edit2;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;
    QLabel *Label2;
};

#pragma once
// (.hpp: the project globs every src/**/*.h into the widget library)

#include "app/ServerSetup.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The database settings window: the run mode and the server values of kf.ini.
class TFdatashezhi : public QWidget {
    Q_OBJECT
public:
    explicit TFdatashezhi(const QString &kfPath, QWidget *parent = nullptr);

private slots:
    void ComboBox1Change();
    void Button1Click();   // 测试连接
    void Button2Click();   // 创建数据库
    void Button3Click();   // 保存
    void Button4Click();   // 退出
    void Button5Click();   // 升级数据库
    void CheckBox1Click();

private:
    ServerSettings current() const;
    ServerSetup setup_;
    QComboBox *ComboBox1;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4;
    QCheckBox *CheckBox1;     // also create the workstations' login
    QLineEdit *Edit5, *Edit6; // its user name and password
    QPushButton *Button1, *Button2, *Button3, *Button4, *Button5;
};

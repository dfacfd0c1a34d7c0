#pragma once

#include "app/Notices.h"
#include "app/StockOverview.h"

#include <QMainWindow>
#include <QUrl>
#include <functional>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QTableView;
class QTimer;
class QToolButton;
class SizeColourGridView;

// The main window: menus and tool bar that open every function, the stock
// overview with the size-by-colour breakdown, today's takings. What other windows
// store is announced after its commit (changeNotices); the overview, today's
// takings and the warehouse list follow those notices.
class TFmain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFmain(QWidget *parent = nullptr);
    ~TFmain() override;

    // Called by the login.
    void showOperator(const QString &user);
    // Enables the gated menu entries from the session's rights strings.
    void applyRights();
    // Hides the help menu when the shop has no short company name.
    void applyShopSettings();

    // How web addresses and files are opened (the desktop's default program;
    // tests record them instead).
    static void setUrlOpener(std::function<void(const QUrl &)> opener);

public Q_SLOTS:
    void FormShow();
    void ComboBox1Select();
    void Button3Click();
    void Edit1KeyPress();
    void ADOQuery1AfterScroll();   // mode one's current article changed
    void ADOQuery3AfterScroll();   // mode two's current row changed
    void DBGridEh1CellClick();
    void Button1Click();
    void Button4Click();
    void N42Click();
    void N9Click();
    void N7Click();
    void N5Click();
    void N37Click();
    void N38Click();
    void N39Click();
    void ToolButton3Click();
    void Timer_duanxinTimer();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildToolBar();
    QWidget *buildOverview();
    QWidget *buildSidePanel();
    QAction *entry(QMenu *menu, const char *name, const QString &caption, const char *windowClass);
    void open(const QString &windowClass);
    void openDataManagement(bool backup);
    void notYetProvided();
    void shuaxinmain();
    void loadWarehouses();
    void fillBreakdown(const overview::PagedRows *rows, int row);
    void onChange(ChangeNotices::Changes what);
    void refreshFromNotices();
    overview::Filter filter() const;
    bool FormCloseQuery();

    bool shownOnce_ = false;
    QComboBox *ComboBox1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *Button4 = nullptr;
    QPushButton *Button1 = nullptr;
    QGroupBox *GroupBox5 = nullptr;
    QGroupBox *GroupBox3 = nullptr;
    QGroupBox *GroupBox4 = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QTableView *DBGridEh1 = nullptr;
    QTableView *DBGridEh2 = nullptr;
    QLabel *DBGridEh2Footer = nullptr;
    SizeColourGridView *StringGrid3 = nullptr;
    QLabel *Label4 = nullptr, *Label7 = nullptr, *Label10 = nullptr, *Label13 = nullptr, *Label16 = nullptr,
           *Label19 = nullptr;
    QLabel *panel1_ = nullptr, *panel2_ = nullptr, *panel3_ = nullptr;
    QLabel *ChnCalendar1 = nullptr;
    QTimer *Timer_duanxin = nullptr;
    QMenu *N6 = nullptr;
    overview::PagedRows *ADOQuery1 = nullptr;   // mode one
    overview::PagedRows *ADOQuery3 = nullptr;   // mode two
    bool reloading_ = false;
    QTimer *noticeTimer_ = nullptr;
    ChangeNotices::Changes pending_;
};

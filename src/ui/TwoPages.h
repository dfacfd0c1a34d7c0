#pragma once

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

// A page of a two-page master-data window: its own group "操作" of buttons above
// its grid.
class OperationsPage {
public:
    OperationsPage(QTabWidget *pages, const QString &objectName, const QString &title)
    {
        page_ = new QWidget(pages);
        page_->setObjectName(objectName);
        auto *v = new QVBoxLayout(page_);
        auto *ops = new QGroupBox(QStringLiteral("操作"), page_);
        buttons_ = new QHBoxLayout(ops);
        buttons_->addStretch(1);
        v->addWidget(ops);
        grids_ = v;
        pages->addTab(page_, title);
    }

    QPushButton *button(const QString &objectName, const QString &caption)
    {
        auto *b = new QPushButton(caption, page_);
        b->setObjectName(objectName);
        b->setAutoDefault(false);
        buttons_->insertWidget(buttons_->count() - 1, b);
        return b;
    }
    // Other controls of the button row (a selector).
    void addToRow(QWidget *w) { w->setParent(page_); buttons_->insertWidget(buttons_->count() - 1, w); }
    void addGrid(QWidget *grid) { grid->setParent(page_); grids_->addWidget(grid, 1); }
    QWidget *page() const { return page_; }

private:
    QWidget *page_;
    QHBoxLayout *buttons_;
    QVBoxLayout *grids_;
};

#pragma once

#include <QBoxLayout>
#include <QDialog>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

// Lays out a small master-data editor: labelled controls one under the other and
// a row of buttons below them. Buttons are never default buttons, so Enter does
// only what the editor connects it to.
class EditorForm {
public:
    explicit EditorForm(QDialog *dialog) : dialog_(dialog)
    {
        auto *outer = new QVBoxLayout(dialog);
        form_ = new QFormLayout;
        form_->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
        form_->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        outer->addLayout(form_);
        outer->addStretch(1);
        buttons_ = new QHBoxLayout;
        buttons_->addStretch(1);
        outer->addLayout(buttons_);
    }

    // A control named objectName with its label; extra (e.g. a "+" button) sits beside it.
    template <typename W>
    W *field(const QString &objectName, const QString &label, QWidget *extra = nullptr)
    {
        auto *w = new W(dialog_);
        w->setObjectName(objectName);
        w->setMinimumWidth(180);
        if (extra) {
            auto *row = new QHBoxLayout;
            row->addWidget(w, 1);
            row->addWidget(extra);
            form_->addRow(label, row);
        } else {
            form_->addRow(label, w);
        }
        return w;
    }

    QPushButton *button(const QString &objectName, const QString &caption)
    {
        auto *b = new QPushButton(caption, dialog_);
        b->setObjectName(objectName);
        b->setAutoDefault(false);
        b->setDefault(false);
        buttons_->addWidget(b);
        return b;
    }

    QFormLayout *form() const { return form_; }

private:
    QDialog *dialog_;
    QFormLayout *form_;
    QHBoxLayout *buttons_;
};

#include "masterdata/Upattern_windows.h"

#include "ui/Guard.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

QString captionOf(PatternList::Action a)
{
    switch (a) {
    case PatternList::Action::Add: return QStringLiteral("新增");
    case PatternList::Action::Edit: return QStringLiteral("修改");
    case PatternList::Action::Delete: return QStringLiteral("删除");
    case PatternList::Action::Exit: return QStringLiteral("退出");
    }
    return {};
}

} // namespace

PatternList::PatternList(Options options, QWidget *parent)
    : ListWindow(options.table, options.caption, parent), options_(std::move(options))
{
    setObjectName(options_.className);
    void (PatternList::*const handlers[])() = {&PatternList::Button1Click, &PatternList::Button2Click,
                                               &PatternList::Button3Click, &PatternList::Button4Click};
    for (std::size_t i = 0; i < options_.buttons.size() && i < std::size(handlers); ++i) {
        QPushButton *b = addButton(QStringLiteral("Button%1").arg(i + 1), captionOf(options_.buttons[i]));
        connect(b, &QPushButton::clicked, this, handlers[i]);
    }
}

void PatternList::FormShow()
{
    guarded([&] {
        list().load();
        if (!attached_) {
            list().attach(grid(), options_.columns, options_.editable);
            attached_ = true;
        }
    });
}

void PatternList::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) FormShow();
    ListWindow::showEvent(event);
}

void PatternList::run(std::size_t button)
{
    if (button >= options_.buttons.size()) return;
    switch (options_.buttons[button]) {
    case Action::Add: guarded([&] { addRecord(options_.editorClass, options_.presets); }); break;
    case Action::Edit: guarded([&] { editRecord(options_.editorClass); }); break;
    case Action::Delete: guarded([&] { deleteRecord(options_.confirmDelete); }); break;
    case Action::Exit: close(); break;
    }
}

PatternEditor::PatternEditor(const QString &className, const QString &caption, QWidget *parent) : RecordEditor(parent)
{
    setObjectName(className);
    setWindowTitle(caption);
    auto *outer = new QVBoxLayout(this);
    form_ = new QFormLayout;
    form_->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form_->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    outer->addLayout(form_);
    outer->addSpacing(10);
    outer->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const QString captions[] = {QStringLiteral("确定"), QStringLiteral("取消")};
    for (int i = 0; i < 2; ++i) {
        auto *b = new QPushButton(captions[i], this);
        b->setObjectName(QStringLiteral("Button%1").arg(i + 1));
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    outer->addLayout(buttons);
    connect(findChild<QPushButton *>(QStringLiteral("Button1")), &QPushButton::clicked, this, &PatternEditor::Button1Click);
    connect(findChild<QPushButton *>(QStringLiteral("Button2")), &QPushButton::clicked, this, &PatternEditor::Button2Click);
    setMinimumWidth(360);
}

void PatternEditor::Button1Click()
{
    guarded([&] {
        if (check()) post();
    });
}

void PatternEditor::enterPosts(QLineEdit *edit)
{
    connect(edit, &QLineEdit::returnPressed, this, [this] {
        if (auto *b = findChild<QPushButton *>(QStringLiteral("Button1"))) b->click();
    });
}

void PatternEditor::placeField(QWidget *control, const QString &label)
{
    control->setMinimumWidth(200);
    if (auto *memo = qobject_cast<QPlainTextEdit *>(control)) memo->setMinimumHeight(80);
    form_->addRow(label, control);
}

QLabel *PatternEditor::labelOf(QWidget *control) const
{
    return qobject_cast<QLabel *>(form_->labelForField(control));
}

#include "ui/PatternWindows.h"

#include "ui/Guard.h"

#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

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
    : ListWindow(options.table, options.caption, parent, options.database), options_(std::move(options))
{
    setObjectName(options_.className);
    list().setOrder(options_.order);
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

PatternEditor::PatternEditor(const QString &className, const QString &caption, QWidget *parent)
    : RecordEditor(parent), layout_(this)
{
    setObjectName(className);
    setWindowTitle(caption);
    connect(layout_.button(QStringLiteral("Button1"), QStringLiteral("确定")), &QPushButton::clicked, this,
            &PatternEditor::Button1Click);
    connect(layout_.button(QStringLiteral("Button2"), QStringLiteral("取消")), &QPushButton::clicked, this,
            &PatternEditor::Button2Click);
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

#include "app/dialogprompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace app {

namespace {

const QString kCaption = QStringLiteral("Velkor图形绘制设计器");

} // namespace

QString DialogPrompts::DocumentFilter()
{
    return QStringLiteral("Quill图形 (*.vkd)");
}

DocumentPrompts::Choice DialogPrompts::Ask(const Question& question)
{
    QMessageBox box(question.warning ? QMessageBox::Warning : QMessageBox::Question,
                    question.title, question.text, QMessageBox::NoButton, parent_);
    QPushButton* yes = box.addButton(question.yes, QMessageBox::YesRole);
    QPushButton* no = box.addButton(question.no, QMessageBox::NoRole);
    QPushButton* cancel =
        question.cancel.isEmpty() ? nullptr : box.addButton(question.cancel, QMessageBox::RejectRole);
    box.setEscapeButton(cancel ? cancel : no);
    switch (question.preferred) {
    case Choice::Yes: box.setDefaultButton(yes); break;
    case Choice::No: box.setDefaultButton(no); break;
    case Choice::Cancel: box.setDefaultButton(cancel ? cancel : no); break;
    }
    box.exec();
    if (box.clickedButton() == yes) {
        return Choice::Yes;
    }
    if (box.clickedButton() == no || !cancel) {
        return Choice::No;
    }
    return Choice::Cancel;
}

void DialogPrompts::Report(const QString& message)
{
    QMessageBox box(QMessageBox::Warning, kCaption, message, QMessageBox::NoButton, parent_);
    box.setDefaultButton(box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole));
    box.exec();
}

QString DialogPrompts::ChooseFileToOpen(const QString& lastName)
{
    return QFileDialog::getOpenFileName(parent_, QStringLiteral("打开"), lastName, DocumentFilter());
}

// The system dialog does not warn about an existing file: the name it returns may still
// get ".vkd" appended, and the warning belongs to the name that is really written.
QString DialogPrompts::ChooseFileToSave(const QString& lastName)
{
    return QFileDialog::getSaveFileName(parent_, QStringLiteral("保存"), lastName,
                                        DocumentFilter(), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

} // namespace app

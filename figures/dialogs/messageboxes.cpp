#include "figures/dialogs/messageboxes.h"

#include <QAbstractButton>

namespace figures {

namespace {

void NameButtons(QMessageBox& box)
{
    const struct {
        QMessageBox::StandardButton button;
        const char16_t* text;
    } names[] = {
        {QMessageBox::Ok, u"确定"},
        {QMessageBox::Yes, u"是(&Y)"},
        {QMessageBox::No, u"否(&N)"},
    };
    for (const auto& name : names) {
        if (QAbstractButton* b = box.button(name.button)) {
            b->setText(QString::fromUtf16(name.text));
        }
    }
}

} // namespace

void ShowErrorMessage(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("信息："), text, QMessageBox::Ok, parent);
    NameButtons(box);
    box.exec();
}

bool AskYesNo(QWidget* parent, const QString& question)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("询问："), question,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    NameButtons(box);
    return box.exec() == QMessageBox::Yes;
}

} // namespace figures

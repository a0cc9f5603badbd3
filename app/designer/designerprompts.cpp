#include "app/designer/designerprompts.h"

#include "app/designer/bytetextwindow.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QPushButton>
#include <QWidget>

#include <utility>

namespace designer {

namespace {

QString CaptionOf(QWidget* parent)
{
    return parent ? parent->window()->windowTitle() : QString();
}

// The boxes speak the program's language whatever translations the system has.
void NameButtons(QMessageBox& box)
{
    const std::pair<QMessageBox::StandardButton, const char16_t*> names[] = {
        {QMessageBox::Ok, u"确定"},
        {QMessageBox::Yes, u"是(&Y)"},
        {QMessageBox::No, u"否(&N)"},
        {QMessageBox::Cancel, u"取消"},
    };
    for (const auto& [which, name] : names) {
        if (QAbstractButton* button = box.button(which)) {
            button->setText(QString::fromUtf16(name));
        }
    }
}

} // namespace

void DesignerPrompts::Tell(QWidget* parent, const QString& text, Icon icon)
{
    const QMessageBox::Icon boxIcon = icon == Icon::Error         ? QMessageBox::Critical
                                      : icon == Icon::Information ? QMessageBox::Information
                                                                  : QMessageBox::NoIcon;
    QMessageBox box(boxIcon, CaptionOf(parent), text, QMessageBox::Ok, parent);
    NameButtons(box);
    box.exec();
}

QMessageBox::StandardButton DesignerPrompts::AskYesNoCancel(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, CaptionOf(parent), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setEscapeButton(QMessageBox::Cancel);
    NameButtons(box);
    const int answer = box.exec();
    if (answer == QMessageBox::Yes || answer == QMessageBox::No) {
        return static_cast<QMessageBox::StandardButton>(answer);
    }
    return QMessageBox::Cancel;
}

std::optional<QString> DesignerPrompts::AskText(QWidget* parent, const QString& caption,
                                                const QString& prompt, const QString& initial)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok) {
        return std::nullopt;
    }
    return text;
}

QString DesignerPrompts::AskSaveFileName(QWidget* parent)
{
    return QFileDialog::getSaveFileName(parent);
}

void DesignerPrompts::ShowByteText(QWidget* parent, const QString& text)
{
    ByteTextWindow window(text, parent);
    window.exec();
}

} // namespace designer

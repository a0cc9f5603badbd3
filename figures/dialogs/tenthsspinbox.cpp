#include "figures/dialogs/tenthsspinbox.h"

#include "figures/dialogs/tenths.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>

namespace figures {

TenthsSpinBox::TenthsSpinBox(QString suffix, int32_t step, Rule rule, QWidget* parent)
    : QAbstractSpinBox(parent), suffix_(std::move(suffix)), step_(step), rule_(std::move(rule))
{
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setKeyboardTracking(true);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
}

QString TenthsSpinBox::Text() const
{
    return lineEdit()->text();
}

void TenthsSpinBox::SetText(const QString& text)
{
    lineEdit()->setText(text);
}

void TenthsSpinBox::SetValue(int32_t tenths)
{
    SetText(FormatTenths(tenths, suffix_));
}

int32_t TenthsSpinBox::Value() const
{
    return ParseTenths(Text());
}

bool TenthsSpinBox::IsEmpty() const
{
    return Text().isEmpty();
}

void TenthsSpinBox::stepBy(int steps)
{
    int32_t value = int32_t(
        std::clamp<int64_t>(int64_t(Value()) + int64_t(steps) * step_, INT32_MIN, INT32_MAX));
    if (rule_ && !rule_(value)) {
        return;
    }
    SetValue(value);
}

QValidator::State TenthsSpinBox::validate(QString&, int&) const
{
    return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled TenthsSpinBox::stepEnabled() const
{
    return isEnabled() ? (StepUpEnabled | StepDownEnabled) : StepNone;
}

void TenthsSpinBox::focusInEvent(QFocusEvent* event)
{
    QAbstractSpinBox::focusInEvent(event);
    // A click into the edit from another control selects the whole value, ready to be
    // typed over; the click itself would otherwise place the caret after the selection.
    if (event->reason() == Qt::MouseFocusReason) {
        QTimer::singleShot(0, lineEdit(), &QLineEdit::selectAll);
    }
}

} // namespace figures

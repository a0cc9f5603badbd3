#pragma once

#include <QMessageBox>

namespace figures {

// The component's message boxes. Their buttons read in Chinese like every other text of
// the component, whatever translations the system offers.

// An error report with the caption "信息：" and an OK button.
void ShowErrorMessage(QWidget* parent, const QString& text);

// A question with the caption "询问：", Yes and No, No being the default; true for Yes.
bool AskYesNo(QWidget* parent, const QString& question);

} // namespace figures

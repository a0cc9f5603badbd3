#pragma once

#include "app/designer/steplist.h"

#include <QGroupBox>

#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace designer {

// The form that shows one step (its action, remark and parameter texts) and edits it. It
// is read-only while it merely shows the selected step and editable while a step is being
// added, inserted or modified; only the rows of the chosen action's parameters are shown.
class ActionForm : public QGroupBox {
    Q_OBJECT

public:
    explicit ActionForm(QWidget* parent = nullptr);

    void ShowForm(bool editable);
    bool IsEditable() const { return editable_; }
    // Shows the step, or an empty form for none; the form becomes read-only. An empty
    // remark shows the action's default remark.
    void LoadStep(const StepRecord* step);
    // The caption with the kind of edit in brackets, or the plain caption for none.
    void SetEditCaption(const QString& kind);
    // The step as entered. Returns 0 when every parameter of the action is given, else
    // the 1-based number of the first one left empty or blank.
    int ReadStep(StepRecord& step) const;
    // Marks the parameter's box while the message runs, then gives it the focus.
    void FlagMissing(int parameter, const std::function<void()>& tell);
    void ClearAction();

signals:
    void confirmed();
    void cancelled();

private:
    struct ParameterRow {
        QLabel* name = nullptr;
        QLineEdit* value = nullptr;
        QLabel* description = nullptr;
    };

    void OnActionChosen(int code);
    void SetMarked(QLineEdit* box, bool marked);

    QComboBox* actions_ = nullptr;
    QLineEdit* remark_ = nullptr;
    QPushButton* confirm_ = nullptr;
    QPushButton* cancel_ = nullptr;
    std::array<ParameterRow, kStepParameters> rows_;
    bool editable_ = false;
};

} // namespace designer

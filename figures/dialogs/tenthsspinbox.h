#pragma once

#include <QAbstractSpinBox>

#include <cstdint>
#include <functional>

namespace figures {

// An edit of a value in tenths with its up-down arrows. The text stays free (users may
// type anything; the dialog validates on OK); an arrow reads the text, adds one step and
// writes the result back with its unit only when the rule accepts it, else the text stays.
class TenthsSpinBox : public QAbstractSpinBox {
    Q_OBJECT

public:
    // May adjust the stepped value (a negative position becomes 0); false refuses it.
    using Rule = std::function<bool(int32_t& value)>;

    TenthsSpinBox(QString suffix, int32_t step, Rule rule, QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);
    void SetValue(int32_t tenths);
    int32_t Value() const;
    bool IsEmpty() const;

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;

protected:
    StepEnabled stepEnabled() const override;
    void focusInEvent(QFocusEvent* event) override;

private:
    QString suffix_;
    int32_t step_;
    Rule rule_;
};

} // namespace figures

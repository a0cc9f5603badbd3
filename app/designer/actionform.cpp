#include "app/designer/actionform.h"

#include "app/designer/designertext.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace designer {

namespace {

const QString kCaption = QStringLiteral("绘图动作及其参数");

QString Text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

const DrawingAction& ActionAt(int code)
{
    const DrawingAction* action = FindAction(code);
    return action ? *action : ActionTable()[0];
}

} // namespace

ActionForm::ActionForm(QWidget* parent) : QGroupBox(kCaption, parent)
{
    setObjectName(QStringLiteral("actionForm"));
    (new QLabel(QStringLiteral("绘图动作："), this))->setGeometry(8, 24, 56, 16);
    actions_ = new QComboBox(this);
    actions_->setObjectName(QStringLiteral("actionCombo"));
    actions_->setGeometry(72, 21, 152, 20);
    for (const DrawingAction& action : ActionTable()) {
        actions_->addItem(Text(action.name));
    }
    confirm_ = new QPushButton(QStringLiteral("确定(&Y)"), this);
    confirm_->setObjectName(QStringLiteral("confirmButton"));
    confirm_->setGeometry(273, 16, 56, 26);
    cancel_ = new QPushButton(QStringLiteral("取消(&C)"), this);
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    cancel_->setGeometry(328, 16, 56, 26);
    confirm_->setDefault(true);
    cancel_->setAutoDefault(false);
    (new QLabel(QStringLiteral("    备注："), this))->setGeometry(8, 50, 56, 16);
    remark_ = new QLineEdit(this);
    remark_->setObjectName(QStringLiteral("remarkBox"));
    remark_->setGeometry(72, 48, 312, 20);
    for (int k = 0; k < kStepParameters; ++k) {
        const int top = 24 * k;
        ParameterRow& row = rows_[static_cast<size_t>(k)];
        row.name = new QLabel(QStringLiteral("   参数%1：").arg(k + 1), this);
        row.name->setGeometry(8, 77 + top, 56, 16);
        row.value = new QLineEdit(this);
        row.value->setObjectName(QStringLiteral("parameter%1").arg(k + 1));
        row.value->setGeometry(72, 75 + top, 48, 20);
        row.description = new QLabel(this);
        row.description->setGeometry(128, 77 + top, 256, 16);
    }
    connect(actions_, &QComboBox::activated, this, &ActionForm::OnActionChosen);
    connect(confirm_, &QPushButton::clicked, this, &ActionForm::confirmed);
    connect(cancel_, &QPushButton::clicked, this, &ActionForm::cancelled);
    ShowForm(false);
}

void ActionForm::ShowForm(bool editable)
{
    editable_ = editable;
    actions_->setEnabled(editable);
    confirm_->setEnabled(editable);
    cancel_->setEnabled(editable);
    remark_->setReadOnly(!editable);
    remark_->setEnabled(editable);
    const DrawingAction& action = ActionAt(actions_->currentIndex());
    for (int k = 0; k < kStepParameters; ++k) {
        ParameterRow& row = rows_[static_cast<size_t>(k)];
        const bool shown = k < action.parameterCount;
        row.name->setVisible(shown);
        row.value->setVisible(shown);
        row.description->setVisible(shown);
        row.description->setText(shown ? Text(action.parameterNames[static_cast<size_t>(k)])
                                       : QString());
        row.value->setEnabled(editable);
    }
}

void ActionForm::LoadStep(const StepRecord* step)
{
    setTitle(kCaption);
    if (step && FindAction(step->code)) {
        actions_->setCurrentIndex(step->code);
        const QString remark = QStringFromGbk(step->remark);
        remark_->setText(TrimBlanks(remark).isEmpty() ? Text(ActionAt(step->code).defaultRemark)
                                                      : remark);
        for (int k = 0; k < kStepParameters; ++k) {
            const bool used = k < ActionAt(step->code).parameterCount;
            rows_[static_cast<size_t>(k)].value->setText(
                used ? QStringFromGbk(step->parameters[static_cast<size_t>(k)]) : QString());
        }
    } else {
        actions_->setCurrentIndex(0);
        remark_->clear();
        for (ParameterRow& row : rows_) {
            row.value->clear();
        }
    }
    ShowForm(false);
}

void ActionForm::SetEditCaption(const QString& kind)
{
    setTitle(kind.isEmpty() ? kCaption
                            : kCaption + QStringLiteral("（") + kind + QStringLiteral("）"));
}

int ActionForm::ReadStep(StepRecord& step) const
{
    step = StepRecord{};
    step.code = actions_->currentIndex();
    step.remark = GbkFromQString(remark_->text());
    const int count = ActionAt(step.code).parameterCount;
    for (int k = 0; k < count; ++k) {
        const QString text = TrimBlanks(rows_[static_cast<size_t>(k)].value->text());
        if (text.isEmpty()) {
            return k + 1;
        }
        step.parameters[static_cast<size_t>(k)] = GbkFromQString(text);
    }
    return 0;
}

void ActionForm::ClearAction()
{
    actions_->setCurrentIndex(0);
    remark_->clear();
}

// Choosing another action starts editing with that action's default remark; the
// parameter texts already typed stay, since the rows mean the same for most actions.
void ActionForm::OnActionChosen(int code)
{
    if (code < 0) {
        return;
    }
    ShowForm(true);
    remark_->setText(Text(ActionAt(code).defaultRemark));
}

void ActionForm::FlagMissing(int parameter, const std::function<void()>& tell)
{
    QLineEdit* box = rows_[static_cast<size_t>(parameter - 1)].value;
    SetMarked(box, true);
    tell();
    SetMarked(box, false);
    box->setFocus();
}

void ActionForm::SetMarked(QLineEdit* box, bool marked)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base,
                     marked ? QColor(Qt::yellow) : this->palette().color(QPalette::Base));
    box->setPalette(palette);
}

} // namespace designer

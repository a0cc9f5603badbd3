#include "app/designer/shapedesigner.h"

#include "app/designer/actionform.h"
#include "app/designer/designertext.h"
#include "app/designer/programbuilder.h"
#include "figures/control/figureinterface.h"
#include "figures/control/figurewindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTreeWidget>

namespace designer {

namespace {

using Icon = DesignerPrompts::Icon;

constexpr int kProcessShape = 28; // the catalogue's process box, shown until a refresh

const QString kDatabaseName = QStringLiteral("mygraphs.sdb");

QPushButton* MakeButton(QWidget* parent, const QString& text, const char* name, QRect frame)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(frame);
    // Return in the form confirms the step; no other button may take it.
    button->setAutoDefault(false);
    return button;
}

// A row of the step tree; the tip shows the whole text, which the narrow tree cuts.
QTreeWidgetItem* StepRow(const StepRecord& step)
{
    const QString text = QString::fromStdString(StepText(step));
    auto* row = new QTreeWidgetItem(QStringList{text});
    row->setToolTip(0, text);
    return row;
}

QString Quoted(const QString& name)
{
    return QStringLiteral("“") + name + QStringLiteral("”");
}

} // namespace

ShapeDesigner::ShapeDesigner(const QString& databasePath, std::unique_ptr<DesignerPrompts> prompts,
                             QWidget* parent)
    : QDialog(parent), prompts_(prompts ? std::move(prompts) : std::make_unique<DesignerPrompts>())
{
    setWindowTitle(QStringLiteral("自定义图形设计器——新手暂勿使用"));
    // The parts sit at fixed places, so the window keeps the size they were placed for.
    setGeometry(50, 50, 733, 586);
    setFixedSize(733, 586);
    BuildShapeListPart();
    BuildStepPart();
    BuildPreviewPart();
    BuildUsagePart();
    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    status->setGeometry(0, 521, 688, 20);

    form_->LoadStep(nullptr);
    OpenDatabase(databasePath);
    RefreshList();
    if (shapeList_->count() > 0) {
        const QSignalBlocker blocker(shapeList_);
        shapeList_->setCurrentIndex(0);
    }
    LoadSelectedShape();
}

ShapeDesigner::~ShapeDesigner() = default;

QString ShapeDesigner::DefaultDatabasePath()
{
    const QString beside =
        QCoreApplication::applicationDirPath() + QLatin1Char('/') + kDatabaseName;
    if (QFileInfo::exists(beside)) {
        return beside;
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return folder + QLatin1Char('/') + kDatabaseName;
}

void ShapeDesigner::BuildShapeListPart()
{
    (new QLabel(QStringLiteral("现有图形列表："), this))->setGeometry(8, 8, 102, 16);
    shapeList_ = new QComboBox(this);
    shapeList_->setObjectName(QStringLiteral("shapeList"));
    shapeList_->setGeometry(8, 30, 216, 20);
    connect(shapeList_, &QComboBox::currentIndexChanged, this, &ShapeDesigner::ChooseShape);
    connect(MakeButton(this, QStringLiteral("创建(&N)"), "createShapeButton", {8, 56, 56, 24}),
            &QPushButton::clicked, this, &ShapeDesigner::CreateShape);
    connect(MakeButton(this, QStringLiteral("修改"), "renameShapeButton", {72, 56, 56, 24}),
            &QPushButton::clicked, this, &ShapeDesigner::RenameShape);
    connect(MakeButton(this, QStringLiteral("删除"), "deleteShapeButton", {136, 56, 56, 24}),
            &QPushButton::clicked, this, &ShapeDesigner::DeleteShape);
    connect(MakeButton(this, QStringLiteral("存储(&S)"), "storeButton", {232, 418, 88, 32}),
            &QPushButton::clicked, this, &ShapeDesigner::StoreShape);
}

void ShapeDesigner::BuildStepPart()
{
    (new QLabel(QStringLiteral("绘图步骤："), this))->setGeometry(10, 96, 80, 16);
    stepTree_ = new QTreeWidget(this);
    stepTree_->setObjectName(QStringLiteral("stepTree"));
    stepTree_->setGeometry(8, 120, 216, 392);
    stepTree_->setHeaderHidden(true);
    stepTree_->setRootIsDecorated(false);
    connect(stepTree_, &QTreeWidget::itemSelectionChanged, this, &ShapeDesigner::ShowSelectedStep);

    connect(MakeButton(this, QStringLiteral("添加(&A)"), "addButton", {232, 223, 88, 32}),
            &QPushButton::clicked, this, [this] { BeginEdit(kAdd); });
    connect(MakeButton(this, QStringLiteral("插入(&I)"), "insertButton", {232, 254, 88, 32}),
            &QPushButton::clicked, this, [this] { BeginEdit(kInsert); });
    connect(MakeButton(this, QStringLiteral("修改(&E)"), "modifyButton", {232, 285, 88, 32}),
            &QPushButton::clicked, this, &ShapeDesigner::ModifyStep);
    connect(MakeButton(this, QStringLiteral("删除(&D)"), "deleteButton", {232, 316, 88, 32}),
            &QPushButton::clicked, this, &ShapeDesigner::DeleteStep);

    exportMenu_ = new QMenu(QStringLiteral("导出为"), this);
    exportMenu_->addAction(QStringLiteral("导出为文件...\tCtrl+S"), this,
                           &ShapeDesigner::ExportAsFile);
    exportMenu_->addAction(QStringLiteral("导出为字节集文本常量...\tCtrl+T"), this,
                           &ShapeDesigner::ExportAsByteText);
    connect(MakeButton(this, QStringLiteral("导出(&O).."), "exportButton", {232, 449, 88, 32}),
            &QPushButton::clicked, this,
            [this] { exportMenu_->popup(QCursor::pos() + QPoint(3, 3)); });

    form_ = new ActionForm(this);
    form_->setGeometry(328, 224, 392, 296);
    connect(form_, &ActionForm::confirmed, this, &ShapeDesigner::ConfirmStep);
    connect(form_, &ActionForm::cancelled, this, &ShapeDesigner::CancelStep);
}

void ShapeDesigner::BuildPreviewPart()
{
    auto* group = new QGroupBox(QStringLiteral("预览："), this);
    group->setGeometry(232, 8, 184, 200);
    preview_ = new figures::FigureWindow(group);
    preview_->setObjectName(QStringLiteral("designerPreview"));
    preview_->setGeometry(8, 16, 160, 144);
    preview_->SetBorderStyle(3);
    preview_->SetScrollBars(false);
    preview_->SetZoom(100);
    preview_->SetTextEditing(false);
    preview_->SetPopupMenu(false);
    // The preview only shows the shape: a click or a key must not move or delete the one
    // object that every refresh draws into.
    preview_->setAttribute(Qt::WA_TransparentForMouseEvents);
    preview_->setFocusPolicy(Qt::NoFocus);
    for (QWidget* part : preview_->findChildren<QWidget*>()) {
        part->setFocusPolicy(Qt::NoFocus);
    }
    preview_->AddShape(kProcessShape);
    figures::FigureInterface shape = preview_->GetObjects(0);
    shape.SetFrame(21, 20, 156 - 21, 105 - 20);
    // The shape fills the preview, so the custom shape is seen as large as it can be.
    const QRect client = preview_->contentsRect();
    shape.SetPixelFrame(0, 0, client.width() - 1, client.height() - 1);

    border_ = new QCheckBox(QStringLiteral("边框"), group);
    border_->setObjectName(QStringLiteral("borderCheck"));
    border_->setGeometry(8, 168, 48, 24);
    border_->setChecked(true);
    connect(border_, &QCheckBox::toggled, this,
            [this](bool on) { preview_->SetBorderStyle(on ? 3 : 0); });
    connect(MakeButton(group, QStringLiteral("刷新预览窗框"), "refreshButton", {96, 168, 80, 24}),
            &QPushButton::clicked, this, &ShapeDesigner::RefreshDesignerPreview);
}

void ShapeDesigner::BuildUsagePart()
{
    auto* group = new QGroupBox(QStringLiteral("使用说明："), this);
    group->setGeometry(424, 8, 296, 200);
    auto* usage = new QPlainTextEdit(group);
    usage->setGeometry(8, 16, 280, 176);
    usage->setReadOnly(true);
    const QStringList paragraphs{
        QStringLiteral("    1、本工具用于为绘图组件制作自定义图形，导出的字节数据即为组件"
                       "SetDrawingData方法的参数；"),
        QStringLiteral("    2、每个图形由一系列绘图动作及其参数组成，每个绘图动作都有固定个数、"
                       "固定含义的参数；"),
        QStringLiteral("    3、提供参数数据时，请严格按照规定填写；"),
        QStringLiteral("    4、提供坐标值数据时，请尽量使用“0”“{宽}”“{高}”及其由此组成的计算式"
                       "（如“{宽}/2”表示宽度的二分之一），最好避免使用“1000”之类的绝对数值；"),
        QStringLiteral("    5、坐标（0,0）表示图形左上角，坐标（{宽},{高}）表示图形右下角，"
                       "其它类推；"),
    };
    usage->setPlainText(paragraphs.join(QLatin1Char('\n')));
}

void ShapeDesigner::OpenDatabase(const QString& path)
{
    std::string error;
    database_ = ShapeDatabase::Open(path.toStdString(), error);
    if (!database_) {
        Tell(QStringLiteral("无法打开图形数据库“%1”：%2")
                 .arg(QDir::toNativeSeparators(path), QString::fromStdString(error)),
             Icon::Error);
    }
}

void ShapeDesigner::Tell(const QString& text, Icon icon)
{
    prompts_->Tell(this, text, icon);
}

// --- shape list ---

void ShapeDesigner::RefreshList()
{
    const QSignalBlocker blocker(shapeList_);
    shapeList_->setCurrentIndex(-1);
    shapeList_->clear();
    if (database_) {
        for (const ShapeRow& row : database_->List()) {
            shapeList_->addItem(QStringFromGbk(row.name), QVariant::fromValue<qint64>(row.id));
        }
    }
    shapeList_->setCurrentIndex(-1);
    shownShapeIndex_ = -1;
}

// The user picked another shape. Unsaved steps are offered for storing first; Cancel
// keeps the shape and its steps on screen, since switching would silently drop them.
void ShapeDesigner::ChooseShape(int index)
{
    if (stepsModified_ && !OfferToStore()) {
        const QSignalBlocker blocker(shapeList_);
        shapeList_->setCurrentIndex(shownShapeIndex_);
        return;
    }
    shapeList_->setCurrentIndex(index);
    LoadSelectedShape();
}

void ShapeDesigner::LoadSelectedShape()
{
    shownShapeIndex_ = shapeList_->currentIndex();
    stepsModified_ = false;
    if (shownShapeIndex_ < 0) {
        currentShapeName_.clear();
        currentShapeId_ = -1;
        stepTree_->clear();
        return;
    }
    currentShapeName_ = shapeList_->currentText();
    currentShapeId_ = shapeList_->currentData().toLongLong();
    const std::optional<std::vector<uint8_t>> bytes =
        database_ ? database_->Load(currentShapeId_) : std::nullopt;
    StepListReadResult read = ReadStepList(bytes ? *bytes : std::vector<uint8_t>{});
    if (!bytes) {
        Tell(QStringLiteral("读取图形%1失败！").arg(Quoted(currentShapeName_)), Icon::Error);
    } else if (!read.ok) {
        Tell(QStringLiteral("图形%1的绘图数据已损坏（%2），现以空的绘图步骤打开。")
                 .arg(Quoted(currentShapeName_), QString::fromStdString(read.error)),
             Icon::Error);
    }
    steps_ = std::move(read.steps);
    RebuildTree();
    ShowSelectedStep();
    RefreshDesignerPreview();
}

bool ShapeDesigner::OfferToStore()
{
    const QString question = QStringLiteral("您已经修改了“") + currentShapeName_ +
                             QStringLiteral("”的绘图数据，请问是否存储到数据库？");
    switch (prompts_->AskYesNoCancel(this, question)) {
    case QMessageBox::Yes: return StoreShape();
    case QMessageBox::No: return true;
    default: return false;
    }
}

bool ShapeDesigner::StoreShape()
{
    if (currentShapeId_ == -1) {
        Tell(QStringLiteral("未选择图形"));
        return false;
    }
    const std::vector<uint8_t> bytes = WriteStepList(steps_);
    if (!database_ || !database_->Store(currentShapeId_, bytes)) {
        Tell(QStringLiteral("存储操作失败！"), Icon::Error);
        return false;
    }
    // What is stored is no longer unsaved, so nothing asks about it again.
    stepsModified_ = false;
    Tell(QStringLiteral("已成功存储到数据库。"));
    return true;
}

void ShapeDesigner::CreateShape()
{
    const QString proposal = QStringLiteral("图形%1").arg(shapeList_->count() + 1);
    const std::optional<QString> name = prompts_->AskText(
        this, QStringLiteral("创建新图形"), QStringLiteral("请输入欲创建的图形名称"), proposal);
    if (!name) {
        return;
    }
    const std::optional<int64_t> id =
        database_ ? database_->Create(GbkFromQString(*name)) : std::nullopt;
    if (!id) {
        Tell(QStringLiteral("创建新图形失败！"), Icon::Error);
        return;
    }
    // Unsaved steps of the shown shape are offered for storing before the list is
    // rebuilt; Cancel leaves the new shape in the list and the shown one on screen.
    if (stepsModified_ && !OfferToStore()) {
        const int64_t shownId = currentShapeId_;
        RefreshList();
        const QSignalBlocker blocker(shapeList_);
        shownShapeIndex_ = shapeList_->findData(QVariant::fromValue<qint64>(shownId));
        shapeList_->setCurrentIndex(shownShapeIndex_);
    } else {
        RefreshList();
        shapeList_->blockSignals(true);
        shapeList_->setCurrentIndex(shapeList_->findData(QVariant::fromValue<qint64>(*id)));
        shapeList_->blockSignals(false);
        LoadSelectedShape();
    }
    Tell(QStringLiteral("已成功创建图形") + Quoted(*name));
}

void ShapeDesigner::RenameShape()
{
    const int index = shapeList_->currentIndex();
    if (index < 0) {
        Tell(QStringLiteral("请先选择被修改的图形！"));
        return;
    }
    const std::optional<QString> name =
        prompts_->AskText(this, QStringLiteral("修改图形名称"),
                          QStringLiteral("请输入新的图形名称"), shapeList_->itemText(index));
    if (!name) {
        return;
    }
    const int64_t id = shapeList_->itemData(index).toLongLong();
    if (!database_ || !database_->Rename(id, GbkFromQString(*name))) {
        Tell(QStringLiteral("图形名称修改失败！"), Icon::Error);
        return;
    }
    shapeList_->setItemText(index, *name);
    // The store prompt names the shape as the user now knows it.
    currentShapeName_ = *name;
    Tell(QStringLiteral("图形名称已修改。"));
}

void ShapeDesigner::DeleteShape()
{
    const int index = shapeList_->currentIndex();
    if (index < 0) {
        Tell(QStringLiteral("请先选择被删除的图形！"));
        return;
    }
    const QString question =
        QStringLiteral("您确认要删除图形 %1 吗？").arg(Quoted(shapeList_->itemText(index)));
    if (prompts_->AskYesNoCancel(this, question) != QMessageBox::Yes) {
        return;
    }
    const int64_t id = shapeList_->itemData(index).toLongLong();
    if (!database_ || !database_->Delete(id)) {
        Tell(QStringLiteral("删除失败！"), Icon::Error);
        return;
    }
    // The deleted shape's unsaved steps went with it; there is nothing left to store.
    if (id == currentShapeId_) {
        stepsModified_ = false;
    }
    Tell(QStringLiteral("已删除！"));
    RefreshList();
    if (shapeList_->count() > 0) {
        ChooseShape(0);
    } else {
        ChooseShape(-1);
    }
}

// --- steps ---

int ShapeDesigner::SelectedStep() const
{
    const QList<QTreeWidgetItem*> selected = stepTree_->selectedItems();
    return selected.isEmpty() ? -1 : stepTree_->indexOfTopLevelItem(selected.first());
}

void ShapeDesigner::SelectStep(int index)
{
    QTreeWidgetItem* item = stepTree_->topLevelItem(index);
    if (item) {
        stepTree_->setCurrentItem(item);
        item->setSelected(true);
    } else {
        stepTree_->clearSelection();
    }
}

void ShapeDesigner::RebuildTree()
{
    const QSignalBlocker blocker(stepTree_);
    stepTree_->clear();
    for (const StepRecord& step : steps_) {
        stepTree_->addTopLevelItem(StepRow(step));
    }
}

void ShapeDesigner::ShowSelectedStep()
{
    const int selected = SelectedStep();
    form_->LoadStep(selected >= 0 ? &steps_[static_cast<size_t>(selected)] : nullptr);
}

void ShapeDesigner::BeginEdit(EditMode mode)
{
    editMode_ = mode;
    form_->LoadStep(nullptr);
    form_->ShowForm(true);
    form_->SetEditCaption(mode == kAdd ? QStringLiteral("添加") : QStringLiteral("插入"));
}

void ShapeDesigner::ModifyStep()
{
    if (SelectedStep() < 0) {
        Tell(QStringLiteral("请先选中要修改的绘图步骤！"));
        return;
    }
    editMode_ = kModify;
    form_->ShowForm(true);
    form_->SetEditCaption(QStringLiteral("修改"));
}

void ShapeDesigner::ConfirmStep()
{
    const int selected = SelectedStep();
    int position = selected + 1; // 1-based position of the selected step
    if (selected < 0) {
        if (editMode_ == kModify) {
            Tell(QStringLiteral("没有先选中被修改的绘图步骤！"));
            return;
        }
        position = editMode_ == kAdd ? 0 : 1;
    }
    StepRecord step;
    if (const int missing = form_->ReadStep(step); missing > 0) {
        form_->FlagMissing(missing, [&] {
            Tell(QStringLiteral("请输入 参数") + QString::number(missing) +
                 QStringLiteral(" 的值！"));
        });
        return;
    }
    switch (editMode_) {
    case kModify: {
        steps_[static_cast<size_t>(position - 1)] = step;
        const QString text = QString::fromStdString(StepText(step));
        stepTree_->topLevelItem(position - 1)->setText(0, text);
        stepTree_->topLevelItem(position - 1)->setToolTip(0, text);
        break;
    }
    case kAdd:
        steps_.push_back(step);
        stepTree_->addTopLevelItem(StepRow(step));
        SelectStep(position);
        break;
    case kInsert:
        steps_.insert(steps_.begin() + (position - 1), step);
        RebuildTree();
        SelectStep(position - 1);
        break;
    }
    ShowSelectedStep();
    RefreshDesignerPreview();
    stepsModified_ = true;
}

void ShapeDesigner::CancelStep()
{
    const int selected = SelectedStep();
    if (selected >= 0) {
        form_->LoadStep(&steps_[static_cast<size_t>(selected)]);
    } else {
        form_->ClearAction();
    }
    form_->ShowForm(false);
    form_->SetEditCaption({});
}

void ShapeDesigner::DeleteStep()
{
    const int selected = SelectedStep();
    if (selected < 0) {
        Tell(QStringLiteral("请先选择欲删除的绘图步骤！"));
        return;
    }
    if (prompts_->AskYesNoCancel(this, QStringLiteral("您确认要删除此绘图步骤吗？")) !=
        QMessageBox::Yes) {
        return;
    }
    steps_.erase(steps_.begin() + selected);
    {
        const QSignalBlocker blocker(stepTree_);
        delete stepTree_->takeTopLevelItem(selected);
    }
    SelectStep(steps_.empty() ? -1 : 0);
    ShowSelectedStep();
    RefreshDesignerPreview();
    stepsModified_ = true;
}

// --- preview and export ---

QByteArray ShapeDesigner::BuildProgram()
{
    const std::vector<uint8_t> program = designer::BuildProgram(steps_, evaluator_);
    return QByteArray(reinterpret_cast<const char*>(program.data()),
                      static_cast<qsizetype>(program.size()));
}

void ShapeDesigner::RefreshDesignerPreview()
{
    // A program the shape rejects leaves the preview empty, which is what it draws.
    preview_->GetObjects(0).SetDrawingData(BuildProgram());
}

void ShapeDesigner::ExportAsFile()
{
    const QByteArray program = BuildProgram();
    const QString path = prompts_->AskSaveFileName(this);
    if (!path.isEmpty()) {
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(program) == program.size() &&
            file.commit()) {
            Tell(QStringLiteral("已成功导出到文件 ") + QDir::toNativeSeparators(path),
                 Icon::Information);
        } else {
            Tell(QStringLiteral("导出失败！"), Icon::Error);
        }
    }
    SetCustomPaletteProgram(program);
}

void ShapeDesigner::ExportAsByteText()
{
    const QByteArray program = BuildProgram();
    const std::string text =
        ByteText(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(program.constData()),
                                          static_cast<size_t>(program.size())));
    const QString byteText = QString::fromStdString(text);
    QApplication::clipboard()->setText(byteText);
    prompts_->ShowByteText(this, byteText);
    SetCustomPaletteProgram(program);
}

void ShapeDesigner::SetCustomPaletteProgram(const QByteArray& program)
{
    customPaletteProgram_ = program;
    emit customPaletteProgramChanged(program);
}

void ShapeDesigner::reject()
{
    if (stepsModified_ && !OfferToStore()) {
        return;
    }
    QDialog::reject();
}

} // namespace designer

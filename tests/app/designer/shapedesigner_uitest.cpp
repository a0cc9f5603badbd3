#include "app/designer/designertext.h"
#include "app/designer/shapedesigner.h"
#include "figures/control/figureinterface.h"
#include "figures/control/figurewindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

namespace designer {
namespace {

// What the designer asked and told, and the answers the test gives it.
struct PromptScript {
    QStringList told;
    QStringList asked;
    std::deque<QMessageBox::StandardButton> answers; // Cancel once used up
    std::deque<std::optional<QString>> texts;        // none (cancelled) once used up
    QStringList proposals;                           // initial texts of the input boxes
    QString saveFileName;
    QString shownByteText;
    std::function<void()> whileTelling;
};

class ScriptedPrompts : public DesignerPrompts {
public:
    explicit ScriptedPrompts(std::shared_ptr<PromptScript> script) : script_(std::move(script)) {}
    void Tell(QWidget*, const QString& text, Icon) override
    {
        script_->told << text;
        if (script_->whileTelling) {
            script_->whileTelling();
        }
    }
    QMessageBox::StandardButton AskYesNoCancel(QWidget*, const QString& text) override
    {
        script_->asked << text;
        return Next(script_->answers, QMessageBox::Cancel);
    }
    std::optional<QString> AskText(QWidget*, const QString&, const QString&,
                                   const QString& initial) override
    {
        script_->proposals << initial;
        return Next(script_->texts, std::optional<QString>());
    }
    QString AskSaveFileName(QWidget*) override { return script_->saveFileName; }
    void ShowByteText(QWidget*, const QString& text) override { script_->shownByteText = text; }

private:
    template <typename T> static T Next(std::deque<T>& queue, T fallback)
    {
        if (queue.empty()) {
            return fallback;
        }
        T value = queue.front();
        queue.pop_front();
        return value;
    }
    std::shared_ptr<PromptScript> script_;
};

StepRecord Line(const char* x2)
{
    StepRecord step;
    step.code = 1;
    // Steps keep their texts in GBK, as the database does.
    step.parameters = {"0", "0", AnsiFromUtf8(x2), AnsiFromUtf8("{高}"), "", "", "", "", ""};
    return step;
}

class ShapeDesignerWindow : public testing::Test {
protected:
    QString DatabasePath() const { return folder_.filePath(QStringLiteral("mygraphs.sdb")); }

    ShapeDatabase OpenDatabase()
    {
        std::string error;
        std::optional<ShapeDatabase> database =
            ShapeDatabase::Open(DatabasePath().toStdString(), error);
        EXPECT_TRUE(database.has_value()) << error;
        return std::move(*database);
    }

    // A shape stored with steps lines whose x2 are 1, 2, ... count.
    int64_t AddShape(const char* name, int count)
    {
        ShapeDatabase database = OpenDatabase();
        const int64_t id = database.Create(GbkFromQString(QString::fromUtf8(name))).value();
        StepList steps;
        for (int k = 1; k <= count; ++k) {
            steps.push_back(Line(std::to_string(k).c_str()));
        }
        EXPECT_TRUE(database.Store(id, WriteStepList(steps)));
        return id;
    }

    void OpenDesigner()
    {
        designer_ = std::make_unique<ShapeDesigner>(DatabasePath(),
                                                    std::make_unique<ScriptedPrompts>(script_));
        designer_->show();
    }

    template <typename T> T* Find(const char* name)
    {
        T* child = designer_->findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
    QTreeWidget* Tree() { return Find<QTreeWidget>("stepTree"); }

    int SelectedRow()
    {
        const QList<QTreeWidgetItem*> selected = Tree()->selectedItems();
        return selected.isEmpty() ? -1 : Tree()->indexOfTopLevelItem(selected.first());
    }

    // Chooses the action as the user does and types its parameters.
    void FillForm(int code, const QStringList& parameters)
    {
        auto* actions = Find<QComboBox>("actionCombo");
        actions->setCurrentIndex(code);
        emit actions->activated(code);
        for (int k = 0; k < parameters.size(); ++k) {
            Find<QLineEdit>(QStringLiteral("parameter%1").arg(k + 1).toLatin1().constData())
                ->setText(parameters[k]);
        }
    }

    QTemporaryDir folder_;
    std::shared_ptr<PromptScript> script_ = std::make_shared<PromptScript>();
    std::unique_ptr<ShapeDesigner> designer_;
};

TEST_F(ShapeDesignerWindow, AddsAtTheEndAndInsertsBeforeTheSelectedStep)
{
    struct Case {
        const char* name;
        const char* button;
        int selectedBefore; // -1 none
        int newIndex;
        int selectedAfter;
    };
    const Case cases[] = {
        {"add after step 2 of 4", "addButton", 1, 4, 2},
        {"add with nothing selected", "addButton", -1, 4, 0},
        {"insert before step 2", "insertButton", 1, 1, 1},
        {"insert with nothing selected", "insertButton", -1, 0, 0},
    };
    AddShape("四步", 4);
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        OpenDesigner();
        ASSERT_EQ(Tree()->topLevelItemCount(), 4);
        if (row.selectedBefore >= 0) {
            Tree()->topLevelItem(row.selectedBefore)->setSelected(true);
        }
        Click(row.button);
        FillForm(1, {QStringLiteral("{宽}/2"), QStringLiteral("0"), QStringLiteral("{宽}"),
                     QStringLiteral(" {高} ")});
        Click("confirmButton");

        ASSERT_EQ(designer_->Steps().size(), 5u);
        const StepRecord& added = designer_->Steps()[static_cast<size_t>(row.newIndex)];
        EXPECT_EQ(QStringFromGbk(added.parameters[0]), QStringLiteral("{宽}/2"));
        EXPECT_EQ(QStringFromGbk(added.parameters[3]), QStringLiteral("{高}"));
        EXPECT_EQ(Tree()->topLevelItem(row.newIndex)->text(0),
                  QStringLiteral("画直线（{宽}/2，0，{宽}，{高}）"));
        EXPECT_EQ(SelectedRow(), row.selectedAfter);
        EXPECT_TRUE(designer_->StepsModified());
        EXPECT_FALSE(Find<QPushButton>("confirmButton")->isEnabled());
        designer_.reset();
    }
}

TEST_F(ShapeDesignerWindow, MissingParameterIsMarkedAndTheStepIsNotTaken)
{
    const QString blanks[] = {QString(), QStringLiteral("   "), QStringLiteral("　 ")};
    AddShape("空", 0);
    for (const QString& blank : blanks) {
        SCOPED_TRACE(blank.toStdString());
        OpenDesigner();
        Click("addButton");
        FillForm(1, {QStringLiteral("0"), blank, QStringLiteral("{宽}"), QStringLiteral("1")});
        auto* box = Find<QLineEdit>("parameter2");
        QColor colourWhileTold;
        script_->whileTelling = [&] { colourWhileTold = box->palette().color(QPalette::Base); };
        Click("confirmButton");
        script_->whileTelling = nullptr;

        EXPECT_EQ(script_->told, QStringList{QStringLiteral("请输入 参数2 的值！")});
        EXPECT_EQ(colourWhileTold, QColor(Qt::yellow));
        EXPECT_NE(box->palette().color(QPalette::Base), QColor(Qt::yellow));
        EXPECT_TRUE(designer_->Steps().empty());
        EXPECT_FALSE(designer_->StepsModified());
        EXPECT_TRUE(Find<QPushButton>("confirmButton")->isEnabled());
        designer_.reset();
        script_->told.clear();
    }
}

TEST_F(ShapeDesignerWindow, StorePromptAnswersDecideWhatHappensToUnsavedSteps)
{
    struct Case {
        const char* name;
        QMessageBox::StandardButton answer;
        int shownShape; // list index afterwards
        size_t stepsShown;
        size_t stepsStoredInFirst;
    };
    const Case cases[] = {
        {"cancel keeps the shape and its steps", QMessageBox::Cancel, 0, 2, 1},
        {"no switches and drops the steps", QMessageBox::No, 1, 3, 1},
        {"yes stores then switches", QMessageBox::Yes, 1, 3, 2},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        const int64_t first = AddShape("甲", 1);
        AddShape("乙", 3);
        OpenDesigner();
        Click("addButton");
        Click("confirmButton"); // a step without parameters
        ASSERT_TRUE(designer_->StepsModified());
        script_->answers = {row.answer};
        Find<QComboBox>("shapeList")->setCurrentIndex(1);

        EXPECT_EQ(script_->asked, QStringList{QStringLiteral(
                                      "您已经修改了“甲”的绘图数据，请问是否存储到数据库？")});
        EXPECT_EQ(Find<QComboBox>("shapeList")->currentIndex(), row.shownShape);
        EXPECT_EQ(designer_->Steps().size(), row.stepsShown);
        EXPECT_EQ(Tree()->topLevelItemCount(), static_cast<int>(row.stepsShown));
        EXPECT_EQ(designer_->StepsModified(), row.answer == QMessageBox::Cancel);
        designer_.reset();
        const StepListReadResult stored = ReadStepList(OpenDatabase().Load(first).value());
        EXPECT_EQ(stored.steps.size(), row.stepsStoredInFirst);
        QFile::remove(DatabasePath());
        script_ = std::make_shared<PromptScript>();
    }
}

TEST_F(ShapeDesignerWindow, StoreWritesTheStepsAndReportsAShapeThatIsGone)
{
    const int64_t id = AddShape("甲", 0);
    OpenDesigner();
    Click("addButton");
    FillForm(9, {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("{宽}"),
                 QStringLiteral("{高}")});
    Click("confirmButton");
    Click("storeButton");
    EXPECT_EQ(script_->told, QStringList{QStringLiteral("已成功存储到数据库。")});
    const StepListReadResult stored = ReadStepList(OpenDatabase().Load(id).value());
    ASSERT_EQ(stored.steps.size(), 1u);
    EXPECT_EQ(stored.steps[0], designer_->Steps()[0]);
    EXPECT_FALSE(designer_->StepsModified());
    designer_->reject();
    EXPECT_TRUE(script_->asked.isEmpty());
    designer_->show();

    EXPECT_TRUE(OpenDatabase().Delete(id));
    script_->told.clear();
    Click("storeButton");
    EXPECT_EQ(script_->told, QStringList{QStringLiteral("存储操作失败！")});
}

TEST_F(ShapeDesignerWindow, CreateProposesTheNextNumberAndShowsTheNewShape)
{
    AddShape("甲", 2);
    AddShape("乙", 0);
    OpenDesigner();
    const QString name = QStringLiteral("名\"称' --;");
    script_->texts = {name};
    Click("createShapeButton");

    EXPECT_EQ(script_->proposals, QStringList{QStringLiteral("图形3")});
    auto* list = Find<QComboBox>("shapeList");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentText(), name);
    EXPECT_EQ(designer_->CurrentShapeId(), list->itemData(2).toLongLong());
    EXPECT_EQ(Tree()->topLevelItemCount(), 0);
    EXPECT_EQ(script_->told,
              QStringList{QStringLiteral("已成功创建图形“") + name + QStringLiteral("”")});
}

TEST_F(ShapeDesignerWindow, DatabaseThatCannotBeOpenedIsReportedOnceWithItsPath)
{
    const QString path = folder_.filePath(QStringLiteral("missing/folder/mygraphs.sdb"));
    ShapeDesigner window(path, std::make_unique<ScriptedPrompts>(script_));
    ASSERT_EQ(script_->told.size(), 1);
    EXPECT_TRUE(script_->told[0].contains(QDir::toNativeSeparators(path)));

    script_->texts = {QStringLiteral("新")};
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("createShapeButton")),
                      Qt::LeftButton);
    EXPECT_EQ(script_->told.size(), 2);
    EXPECT_EQ(script_->told.last(), QStringLiteral("创建新图形失败！"));
}

TEST_F(ShapeDesignerWindow, DeletingTheLastShapeLeavesNoShapeAndNoSteps)
{
    AddShape("甲", 2);
    OpenDesigner();
    script_->answers = {QMessageBox::No, QMessageBox::Yes};
    Click("deleteShapeButton");
    EXPECT_EQ(Find<QComboBox>("shapeList")->count(), 1);
    Click("deleteShapeButton");

    EXPECT_EQ(script_->asked.last(), QStringLiteral("您确认要删除图形 “甲” 吗？"));
    EXPECT_EQ(script_->told, QStringList{QStringLiteral("已删除！")});
    EXPECT_EQ(Find<QComboBox>("shapeList")->count(), 0);
    EXPECT_EQ(designer_->CurrentShapeId(), -1);
    EXPECT_EQ(Tree()->topLevelItemCount(), 0);
    EXPECT_TRUE(OpenDatabase().List().empty());
    Click("deleteShapeButton");
    Click("renameShapeButton");
    Click("storeButton");
    EXPECT_EQ(script_->told.mid(1), (QStringList{QStringLiteral("请先选择被删除的图形！"),
                                                 QStringLiteral("请先选择被修改的图形！"),
                                                 QStringLiteral("未选择图形")}));
}

TEST_F(ShapeDesignerWindow, RenamedShapeIsNamedSoInTheListAndTheStorePrompt)
{
    const int64_t id = AddShape("甲", 0);
    OpenDesigner();
    script_->texts = {QStringLiteral("乙's")};
    Click("renameShapeButton");
    EXPECT_EQ(script_->proposals, QStringList{QStringLiteral("甲")});
    EXPECT_EQ(Find<QComboBox>("shapeList")->currentText(), QStringLiteral("乙's"));
    EXPECT_EQ(QStringFromGbk(OpenDatabase().List().at(0).name), QStringLiteral("乙's"));
    EXPECT_EQ(OpenDatabase().List().at(0).id, id);

    Click("addButton");
    Click("confirmButton");
    designer_->reject();
    EXPECT_EQ(script_->asked.last(),
              QStringLiteral("您已经修改了“乙's”的绘图数据，请问是否存储到数据库？"));
}

TEST_F(ShapeDesignerWindow, DamagedStepsAreReportedAndNeverHalfLoaded)
{
    ShapeDatabase database = OpenDatabase();
    const int64_t id = database.Create("x").value();
    const uint8_t claimsFiveSteps[] = {1, 0, 0, 0, 5, 0, 0, 0, 1, 0, 0, 0, 0};
    ASSERT_TRUE(database.Store(id, claimsFiveSteps));
    OpenDesigner();
    ASSERT_EQ(script_->told.size(), 1) << script_->told.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(script_->told[0].startsWith(QStringLiteral("图形“x”的绘图数据已损坏")));
    EXPECT_TRUE(designer_->Steps().empty());
    EXPECT_EQ(Tree()->topLevelItemCount(), 0);
    EXPECT_FALSE(designer_->StepsModified());
}

TEST_F(ShapeDesignerWindow, StepCommandsWithoutASelectedStepSayWhatIsMissing)
{
    AddShape("甲", 2);
    OpenDesigner();
    Click("modifyButton");
    Click("deleteButton");
    EXPECT_EQ(script_->told, (QStringList{QStringLiteral("请先选中要修改的绘图步骤！"),
                                          QStringLiteral("请先选择欲删除的绘图步骤！")}));
    EXPECT_FALSE(Find<QPushButton>("confirmButton")->isEnabled());

    Tree()->topLevelItem(1)->setSelected(true);
    script_->answers = {QMessageBox::No, QMessageBox::Yes};
    Click("deleteButton");
    EXPECT_EQ(designer_->Steps().size(), 2u);
    Click("deleteButton");
    ASSERT_EQ(designer_->Steps().size(), 1u);
    EXPECT_EQ(designer_->Steps()[0], Line("1"));
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_TRUE(designer_->StepsModified());
}

TEST_F(ShapeDesignerWindow, ReturnInTheFormConfirmsTheModifiedStep)
{
    AddShape("甲", 3);
    OpenDesigner();
    Tree()->topLevelItem(1)->setSelected(true);
    Click("modifyButton");
    Find<QLineEdit>("parameter3")->setText(QStringLiteral("{宽}-1"));
    QTest::keyClick(Find<QLineEdit>("parameter3"), Qt::Key_Return);
    ASSERT_EQ(designer_->Steps().size(), 3u);
    EXPECT_EQ(designer_->Steps()[1], Line("{宽}-1"));
    EXPECT_EQ(Tree()->topLevelItem(1)->text(0), QStringLiteral("画直线（0，0，{宽}-1，{高}）"));
    EXPECT_EQ(SelectedRow(), 1);
}

TEST_F(ShapeDesignerWindow, PreviewAndExportsCarryTheProgramOfTheSteps)
{
    AddShape("甲", 0);
    OpenDesigner();
    auto* preview = Find<figures::FigureWindow>("designerPreview");
    Click("addButton");
    FillForm(1, {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("{宽}"),
                 QStringLiteral("{高}")});
    Click("confirmButton");
    const QByteArray program("\x01\x00\x00\x00\x00\x00\xff\x1f\xff\x1f\x00\x00", 12);
    EXPECT_EQ(preview->GetObjects(0).GetDrawingData(), program);
    for (QWidget* part : preview->findChildren<QWidget*>()) {
        EXPECT_EQ(part->focusPolicy(), Qt::NoFocus);
    }
    EXPECT_TRUE(preview->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(preview->BorderStyle(), 3);
    QTest::mouseClick(Find<QCheckBox>("borderCheck"), Qt::LeftButton);
    EXPECT_EQ(preview->BorderStyle(), 0);

    QSignalSpy changes(designer_.get(), &ShapeDesigner::customPaletteProgramChanged);
    designer_->ExportAsByteText();
    const QString text = QStringLiteral("{ 1, 0, 0, 0, 0, 0, 255, 31, 255, 31, 0, 0 }");
    EXPECT_EQ(script_->shownByteText, text);
    EXPECT_EQ(QApplication::clipboard()->text(), text);
    EXPECT_EQ(designer_->customPaletteProgram(), program);

    script_->saveFileName = folder_.filePath(QStringLiteral("shape.bin"));
    designer_->ExportAsFile();
    QFile file(script_->saveFileName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), program);
    script_->saveFileName = folder_.filePath(QStringLiteral("no/such/folder/shape.bin"));
    designer_->ExportAsFile();
    EXPECT_EQ(script_->told.last(), QStringLiteral("导出失败！"));
    EXPECT_EQ(changes.count(), 3);
}

TEST_F(ShapeDesignerWindow, ClosingWithUnsavedStepsCanBeCancelled)
{
    AddShape("甲", 0);
    OpenDesigner();
    Click("addButton");
    Click("confirmButton");
    script_->answers = {QMessageBox::Cancel, QMessageBox::No};
    designer_->reject();
    EXPECT_TRUE(designer_->isVisible());
    designer_->reject();
    EXPECT_FALSE(designer_->isVisible());
    EXPECT_EQ(script_->asked.size(), 2);
}

} // namespace
} // namespace designer

#pragma once

#include "app/designer/designerprompts.h"
#include "app/designer/expressionevaluator.h"
#include "app/designer/shapedatabase.h"
#include "app/designer/steplist.h"

#include <QByteArray>
#include <QDialog>

#include <cstdint>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QMenu;
class QTreeWidget;

namespace figures {
class FigureWindow;
}

namespace designer {

class ActionForm;

// The window in which a user defines custom shapes as lists of drawing steps, keeps them
// in the shape database, previews them and exports their shape program. The last exported
// program stays available as customPaletteProgram for the application's palette.
class ShapeDesigner : public QDialog {
    Q_OBJECT

public:
    enum EditMode { kAdd = 1, kInsert = 2, kModify = 3 };

    // Opens (creating when needed) the database at databasePath; a file that cannot be
    // opened is reported once, and the designer then works without storing anything.
    // Without prompts the ordinary message boxes are shown.
    explicit ShapeDesigner(const QString& databasePath,
                           std::unique_ptr<DesignerPrompts> prompts = nullptr,
                           QWidget* parent = nullptr);
    ~ShapeDesigner() override;

    // "mygraphs.sdb" beside the program when one is there (shapes kept by earlier
    // installations), otherwise in the user's application data folder, which is created.
    static QString DefaultDatabasePath();

    QByteArray customPaletteProgram() const { return customPaletteProgram_; }
    int64_t CurrentShapeId() const { return currentShapeId_; }
    bool StepsModified() const { return stepsModified_; }
    const StepList& Steps() const { return steps_; }
    QByteArray BuildProgram();
    void RefreshDesignerPreview();

    void ExportAsFile();
    void ExportAsByteText();

signals:
    void customPaletteProgramChanged(const QByteArray& program);

public slots:
    // Closing asks about unsaved steps first; Cancel keeps the designer open.
    void reject() override;

private:
    void BuildShapeListPart();
    void BuildStepPart();
    void BuildPreviewPart();
    void BuildUsagePart();
    void OpenDatabase(const QString& path);

    void Tell(const QString& text, DesignerPrompts::Icon icon = DesignerPrompts::Icon::None);
    void RefreshList();
    void ChooseShape(int index);
    void LoadSelectedShape();
    // The store prompt; false when the user cancelled or storing failed, so nothing
    // that would drop the steps may go on.
    bool OfferToStore();
    bool StoreShape();
    void CreateShape();
    void RenameShape();
    void DeleteShape();

    int SelectedStep() const;
    void SelectStep(int index);
    void RebuildTree();
    void ShowSelectedStep();
    void BeginEdit(EditMode mode);
    void ModifyStep();
    void ConfirmStep();
    void CancelStep();
    void DeleteStep();
    void SetCustomPaletteProgram(const QByteArray& program);

    std::unique_ptr<DesignerPrompts> prompts_;
    std::optional<ShapeDatabase> database_;
    ExpressionEvaluator evaluator_;
    StepList steps_;
    EditMode editMode_ = kAdd;
    bool stepsModified_ = false;
    int64_t currentShapeId_ = -1;
    QString currentShapeName_;
    int shownShapeIndex_ = -1;
    QByteArray customPaletteProgram_;

    QComboBox* shapeList_ = nullptr;
    QTreeWidget* stepTree_ = nullptr;
    ActionForm* form_ = nullptr;
    figures::FigureWindow* preview_ = nullptr;
    QCheckBox* border_ = nullptr;
    QMenu* exportMenu_ = nullptr;
};

} // namespace designer

#pragma once

#include "figures/control/figureinterface.h"

#include <QByteArray>
#include <QMainWindow>

#include <memory>

class QAction;
class QKeyEvent;
class QMenu;
class QTabWidget;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

namespace figures {
class FigureWindow;
}

namespace designer {
class ShapeDesigner;
}

namespace app {

class ClosingQuestion;
class FontChoiceDialog;
class DialogPrompts;
class DocumentCommand;
class DocumentOutput;
class DocumentRecovery;
class PalettePictures;
class RecentFiles;
class SplitterBar;
class UndoCommands;

// The drawing editor's window: the shape palette with its preview on the left, the canvas
// on the right, a splitter between them, the toolbars above and the status bar below.
// The panes are placed by hand, as the two layout rules below say, so that they keep
// their sizes and offsets whatever the window's size.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // settingsPath: the settings file read at start-up; the recent-files list lives beside
    // it. documentPath: the document shown first, without becoming the current file (a
    // missing file gives an empty document).
    MainWindow(const QString& settingsPath, const QString& documentPath);
    ~MainWindow() override;

    figures::FigureWindow& Canvas() { return *canvas_; }
    figures::FigureWindow& PalettePreview() { return *preview_; }
    QTabWidget& PaletteTab() { return *paletteTab_; }
    QTabWidget& CanvasTab() { return *canvasTab_; }
    QTreeWidget& PaletteTree() { return *tree_; }
    SplitterBar& Splitter() { return *splitter_; }
    QToolBar& StandardBar() { return *standardBar_; }
    QToolBar& AlignmentBar() { return *alignBar_; }
    // The standard toolbar's button with this caption, or null. New, open, save, print,
    // undo and redo are placed here and connected by the file and history commands.
    QAction* StandardButton(const QString& caption) const;
    // The hidden menu "锚点" whose items "恢复" and "重复" carry the history's enabled state.
    QMenu& AnchorMenu() { return *anchorMenu_; }
    // The history behind "恢复" and "重复".
    UndoCommands& Undo() { return *undo_; }

    // The shape program the palette's custom entry and its categories preview and insert.
    const QByteArray& CustomPaletteProgram() const { return customPaletteProgram_; }
    void SetCustomPaletteProgram(const QByteArray& program);
    // The program taken by "取绘图数据" or by a double click on the palette preview.
    const QByteArray& HeldDrawingData() const { return heldDrawingData_; }
    // "取绘图数据": holds the first selected object's program (empty when there is none).
    void TakeDrawingData();
    // "置自定义图形": gives the selected shapes the held program.
    void ApplyHeldDrawingData();
    // The palette preview's double click: appends a custom shape carrying the program the
    // preview shows.
    void InsertFromPreview();

    // The shape designer, created on first use with the database at this path (the
    // designer's own default when empty) and kept, so its state lasts while the editor runs.
    void SetDesignerDatabasePath(const QString& path) { designerDatabasePath_ = path; }
    designer::ShapeDesigner& Designer();
    // Shows the designer modally.
    void OpenShapeDesigner();

    // Who asks the closing question and opens the project's pages (tests answer it).
    void SetClosingQuestion(std::unique_ptr<ClosingQuestion> question);
    QMenu& FileMenu() { return *fileMenu_; }
    DocumentCommand& Documents() { return *documents_; }
    RecentFiles& Recent() { return *recent_; }

    // Every document the canvas receives as a whole (start-up, open, recovery, undo) comes
    // through here. False when the document is damaged and only the views read before the
    // damage were taken.
    bool LoadDocument(const QByteArray& bytes);

    // Keeps unsaved work in recovery files in folder, written intervalMs after the first
    // unsaved change.
    void EnableRecovery(const QString& folder, int intervalMs);
    DocumentRecovery* Recovery() { return recovery_; }
    // Offers the documents that runs ended without saving left behind; the first one the
    // user takes is shown as unsaved changes.
    void OfferRecovery();

    // A fresh set over the canvas's objects: 1 the selected ones, 2 all of the current view.
    figures::FigureInterface ObjectsOf(int which) const;
    // Runs an arrangement on the selected objects: "顶层", "底层", "水平翻转", "垂直翻转",
    // "顶边对齐", "底边对齐", "左边对齐", "右边对齐", "等宽" or "等高"; other names do nothing.
    void RunArrangeCommand(const QString& name);

    // The panes after the window's client area changed size.
    void LayoutOnResize();
    // The panes after the splitter was dragged to the horizontal position p.
    void LayoutOnSplitterMove(int p);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildPanes();
    void BuildMenus();
    void BuildStandardBar();
    void BuildAlignmentBar();
    void BuildCommandMenus();
    void RunFontCommand();
    void DrawPalettePictures();
    void AskClosingQuestion();
    void OpenPage(const QUrl& page);
    void RunStandardButton(int index, const QString& caption);
    void FillPalette();
    void SetUpPreview();
    void ShowStatusForCanvasEvents();
    void BuildFileMenu();
    void ConnectFileButtons();
    void ConnectOutput();
    void UpdateTitle();
    void InsertFromPalette(QTreeWidgetItem* item);
    void PreviewPaletteRow(QTreeWidgetItem* item);
    void HandleCanvasKey(const QKeyEvent& key);

    QString settingsPath_;
    QWidget* client_ = nullptr;
    QToolBar* standardBar_ = nullptr;
    QToolBar* alignBar_ = nullptr;
    QMenu* anchorMenu_ = nullptr;
    QTabWidget* paletteTab_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    figures::FigureWindow* preview_ = nullptr;
    SplitterBar* splitter_ = nullptr;
    QTabWidget* canvasTab_ = nullptr;
    figures::FigureWindow* canvas_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    std::unique_ptr<DialogPrompts> prompts_;
    DocumentCommand* documents_ = nullptr;
    std::unique_ptr<RecentFiles> recent_;
    DocumentRecovery* recovery_ = nullptr;
    UndoCommands* undo_ = nullptr;
    DocumentOutput* output_ = nullptr;

    figures::FigureInterface palettePreviewSet_;
    QByteArray customPaletteProgram_;
    QByteArray initialCanvasDocument_;
    // The drawing-data commands keep the set they last used until the next one.
    figures::FigureInterface drawingDataSet_;
    QByteArray heldDrawingData_;
    QString designerDatabasePath_;
    designer::ShapeDesigner* designer_ = nullptr;
    FontChoiceDialog* fontDialog_ = nullptr;
    std::unique_ptr<PalettePictures> palettePictures_;
    std::unique_ptr<ClosingQuestion> closingQuestion_;
};

} // namespace app

#include "app/documentcommand.h"

#include "app/documentfile.h"
#include "app/documentprompts.h"
#include "figures/control/figurewindow.h"

#include <QFileInfo>

namespace app {

namespace {

QString Shown(const QString& path)
{
    return QFileInfo(path).fileName();
}

DocumentPrompts::Question SaveQuestion(const QString& text)
{
    DocumentPrompts::Question question;
    question.title = QStringLiteral("保存");
    question.text = text;
    question.yes = QStringLiteral("是(&Y)");
    question.no = QStringLiteral("否(&N)");
    return question;
}

} // namespace

DocumentCommand::DocumentCommand(figures::FigureWindow& canvas, DocumentPrompts& prompts,
                                 Loader load, QObject* parent)
    : QObject(parent), canvas_(canvas), prompts_(&prompts), load_(std::move(load))
{
    baseline_ = canvas_.DocumentContent();
}

void DocumentCommand::Run(int kind)
{
    switch (kind) {
    case kSave: Save(); break;
    case kOpen: Open(); break;
    case kNew: New(); break;
    default: break;
    }
}

// New empties the current view and keeps the file name, so a following save asks before
// overwriting that file. The emptied canvas is the new reference: closing right after new
// has nothing to save, and the file on disk still holds the old drawing.
bool DocumentCommand::New()
{
    if (!AskToSaveChanges()) {
        return false;
    }
    canvas_.GetObjects(canvas_.GetAllIndexes()).Delete();
    canvas_.Refresh();
    SetBaseline(canvas_.DocumentContent());
    return true;
}

bool DocumentCommand::Open()
{
    if (!AskToSaveChanges()) {
        return false;
    }
    const QString path = prompts_->ChooseFileToOpen(fileName_);
    return !path.isEmpty() && LoadFile(path, true);
}

bool DocumentCommand::OpenFile(const QString& path)
{
    return AskToSaveChanges() && LoadFile(path, true);
}

void DocumentCommand::ShowUnnamed(const QString& path)
{
    // A missing sample is no failure: the canvas shows an empty document.
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        loading_ = true;
        load_({});
        loading_ = false;
        SetBaseline(canvas_.DocumentContent());
        return;
    }
    LoadFile(path, false);
}

void DocumentCommand::ShowRecovered(const QByteArray& bytes, const QString& fileName)
{
    loading_ = true;
    load_(bytes);
    loading_ = false;
    fileName_ = fileName;
    incomplete_ = false;
    // Nothing on disk holds these changes yet: they stay unsaved until a save succeeds.
    baseline_.clear();
    modified_ = canvas_.DocumentContent() != baseline_;
    emit stateChanged();
}

bool DocumentCommand::Save()
{
    if (!fileName_.isEmpty() && ConfirmOverwrite()) {
        return WriteTo(fileName_);
    }
    return SaveAs();
}

bool DocumentCommand::SaveAs()
{
    const QString name = ChooseSaveName();
    return !name.isEmpty() && WriteTo(name);
}

// The question before writing over the current file. A file that was read only in part
// gets a sterner one: what could not be read would be gone for good.
bool DocumentCommand::ConfirmOverwrite()
{
    if (!incomplete_) {
        return prompts_->Ask(SaveQuestion(QStringLiteral("原文件将被覆盖,是否继续保存"))) ==
               DocumentPrompts::Choice::Yes;
    }
    DocumentPrompts::Question question = SaveQuestion(
        QStringLiteral("文件“%1”打开时不完整，现在的图形只含能读出的部分。覆盖它会丢掉原文件中"
                       "未能读出的内容。\n原文件将被覆盖,是否继续保存")
            .arg(Shown(fileName_)));
    question.preferred = DocumentPrompts::Choice::No;
    question.warning = true;
    return prompts_->Ask(question) == DocumentPrompts::Choice::Yes;
}

// The save dialog's name with ".vkd" appended by the name rule. The dialog itself does not
// warn about an existing file, so the warning is given here for the name really written.
QString DocumentCommand::ChooseSaveName()
{
    const QString chosen = prompts_->ChooseFileToSave(fileName_);
    if (chosen.isEmpty()) {
        return {};
    }
    const QString name = WithDocumentExtension(chosen);
    // A folder of that name is not offered for replacing: the write reports it.
    if (QFileInfo(name).isFile()) {
        DocumentPrompts::Question question =
            SaveQuestion(QStringLiteral("文件“%1”已经存在。要替换它吗？").arg(Shown(name)));
        question.preferred = DocumentPrompts::Choice::No;
        question.warning = true;
        if (prompts_->Ask(question) != DocumentPrompts::Choice::Yes) {
            return {};
        }
    }
    return name;
}

bool DocumentCommand::WriteTo(const QString& path)
{
    const QByteArray bytes = canvas_.DocumentContent();
    const QString reason = WriteDocumentFile(path, bytes);
    if (!reason.isEmpty()) {
        prompts_->Report(QStringLiteral("无法保存文件“%1”：%2\n原来的文件没有改动，图形也还没有保存。")
                             .arg(QFileInfo(path).absoluteFilePath(), reason));
        return false;
    }
    fileName_ = path;
    incomplete_ = false;
    SetBaseline(bytes);
    emit fileUsed(path);
    return true;
}

// Reads a file and shows it. A file that cannot be read or is no document leaves the canvas
// as it was; a damaged one shows the part that was read, and the user is told.
bool DocumentCommand::LoadFile(const QString& path, bool named)
{
    const DocumentFileRead read = ReadDocumentFile(path);
    if (read.status == DocumentFileRead::Unreadable) {
        prompts_->Report(QStringLiteral("无法打开文件“%1”：%2").arg(path, read.error));
        emit fileFailed(path);
        return false;
    }
    if (read.status == DocumentFileRead::NotADocument) {
        prompts_->Report(QStringLiteral("文件“%1”不是图形文档，没有打开。").arg(path));
        emit fileFailed(path);
        return false;
    }
    loading_ = true;
    const bool whole = load_(read.bytes);
    loading_ = false;
    if (named) {
        fileName_ = path;
        incomplete_ = !whole;
    }
    SetBaseline(canvas_.DocumentContent());
    if (!whole) {
        prompts_->Report(
            QStringLiteral("文件“%1”不完整，只显示了能读出的部分。").arg(path));
    }
    if (named) {
        emit fileUsed(path);
    }
    return true;
}

bool DocumentCommand::AskToSaveChanges()
{
    Reassess();
    if (!modified_) {
        return true;
    }
    DocumentPrompts::Question question;
    question.title = QStringLiteral("保存修改");
    question.text = fileName_.isEmpty()
                        ? QStringLiteral("图形已被修改。是否保存修改？")
                        : QStringLiteral("“%1”已被修改。是否保存修改？").arg(Shown(fileName_));
    question.yes = QStringLiteral("保存(&S)");
    question.no = QStringLiteral("不保存(&D)");
    question.cancel = QStringLiteral("取消");
    switch (prompts_->Ask(question)) {
    case DocumentPrompts::Choice::Yes: return Save();
    case DocumentPrompts::Choice::No: return true;
    case DocumentPrompts::Choice::Cancel: return false;
    }
    return false;
}

void DocumentCommand::SetBaseline(const QByteArray& bytes)
{
    baseline_ = bytes;
    modified_ = false;
    emit stateChanged();
}

void DocumentCommand::Reassess()
{
    if (loading_) {
        return;
    }
    const bool modified = canvas_.DocumentContent() != baseline_;
    if (modified != modified_) {
        modified_ = modified;
        emit stateChanged();
    }
}

} // namespace app

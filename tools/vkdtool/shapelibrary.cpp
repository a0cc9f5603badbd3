#include "tools/vkdtool/shapelibrary.h"

#include "tools/vkdtool/exitcodes.h"

#include "app/designer/ansicodepage.h"
#include "app/designer/expressionevaluator.h"
#include "app/designer/programbuilder.h"
#include "app/designer/shapedatabase.h"
#include "app/designer/steplist.h"

#include "figures/model/objects/crichgraph.h"
#include "figures/model/view.h"
#include "figures/model/viewpainter.h"
#include "figures/render/drawcontext.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QSaveFile>

#include <cstdio>
#include <optional>

namespace vkdtool {

namespace {

using designer::ShapeDatabase;
using designer::StepList;
using designer::StepRecord;

int Usage()
{
    std::fputs("usage: vkdtool shapes list DB [--json]\n"
               "       vkdtool shapes program DB (--id N | --name NAME) OUT\n"
               "       vkdtool shapes bytetext DB (--id N | --name NAME)\n"
               "       vkdtool shapes export DB (--id N | --name NAME) OUT.json\n"
               "       vkdtool shapes import DB NAME STEPS.json\n"
               "       vkdtool shapes sheet DB OUT.png\n",
               stderr);
    return kExitUsage;
}

int Fail(const QString& message)
{
    std::fprintf(stderr, "vkdtool: %s\n", qPrintable(message));
    return kExitUnreadable;
}

QString FromAnsi(const std::string& ansi)
{
    return QString::fromStdString(designer::Utf8FromAnsi(ansi));
}

std::string ToAnsi(const QString& text)
{
    return designer::AnsiFromUtf8(text.toStdString());
}

// Opens a database that must already exist: reading commands never create one.
std::optional<ShapeDatabase> OpenExisting(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        Fail(QStringLiteral("%1: no such shape database").arg(path));
        return std::nullopt;
    }
    std::string error;
    std::optional<ShapeDatabase> database = ShapeDatabase::Open(path.toStdString(), error);
    if (!database) {
        Fail(QStringLiteral("%1: %2").arg(path, QString::fromStdString(error)));
    }
    return database;
}

// The shape chosen by "--id N" or "--name NAME" (the first of that name).
std::optional<designer::ShapeRow> ChooseShape(ShapeDatabase& database, const QString& option,
                                              const QString& value)
{
    const std::vector<designer::ShapeRow> rows = database.List();
    for (const designer::ShapeRow& row : rows) {
        const bool chosen = option == QLatin1String("--id")
                                ? QString::number(row.id) == value
                                : FromAnsi(row.name) == value;
        if (chosen) {
            return row;
        }
    }
    Fail(QStringLiteral("no shape %1 %2").arg(option, value));
    return std::nullopt;
}

std::optional<StepList> LoadSteps(ShapeDatabase& database, const designer::ShapeRow& row)
{
    const auto bytes = database.Load(row.id);
    if (!bytes) {
        Fail(QString::fromStdString(database.LastError()));
        return std::nullopt;
    }
    designer::StepListReadResult read = designer::ReadStepList(*bytes);
    if (!read.ok) {
        Fail(QStringLiteral("shape %1 (%2): %3")
                 .arg(row.id)
                 .arg(FromAnsi(row.name), QString::fromStdString(read.error)));
        return std::nullopt;
    }
    return std::move(read.steps);
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        Fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

QJsonObject StepJson(const StepRecord& step)
{
    QJsonArray parameters;
    for (const std::string& parameter : step.parameters) {
        parameters.append(FromAnsi(parameter));
    }
    return {{"code", step.code}, {"remark", FromAnsi(step.remark)}, {"parameters", parameters}};
}

// A step from JSON; none when a field has the wrong type or there are too many parameters.
std::optional<StepRecord> StepFromJson(const QJsonValue& value)
{
    const QJsonObject object = value.toObject();
    const QJsonValue code = object.value("code");
    const QJsonValue remark = object.value("remark");
    const QJsonArray parameters = object.value("parameters").toArray();
    const bool remarkFits = remark.isUndefined() || remark.isString();
    if (!value.isObject() || !code.isDouble() || designer::FindAction(code.toInt(-1)) == nullptr ||
        !remarkFits || parameters.size() > designer::kStepParameters) {
        return std::nullopt;
    }
    StepRecord step;
    step.code = code.toInt();
    step.remark = ToAnsi(object.value("remark").toString());
    for (qsizetype i = 0; i < parameters.size(); ++i) {
        if (!parameters[i].isString()) {
            return std::nullopt;
        }
        step.parameters[size_t(i)] = ToAnsi(parameters[i].toString());
    }
    return step;
}

int List(const QString& path, bool json)
{
    std::optional<ShapeDatabase> database = OpenExisting(path);
    if (!database) {
        return kExitUnreadable;
    }
    QJsonArray shapes;
    QByteArray text;
    for (const designer::ShapeRow& row : database->List()) {
        const auto bytes = database->Load(row.id);
        const designer::StepListReadResult read =
            designer::ReadStepList(bytes ? *bytes : std::vector<uint8_t>());
        const QString name = FromAnsi(row.name);
        QJsonObject shape{{"id", qint64(row.id)}, {"name", name}};
        shape.insert("steps", read.ok ? QJsonValue(qint64(read.steps.size())) : QJsonValue());
        if (!read.ok) {
            shape.insert("error", QString::fromStdString(read.error));
        }
        shapes.append(shape);
        const QString steps = read.ok ? QString::number(read.steps.size())
                                      : QStringLiteral("damaged: ") +
                                            QString::fromStdString(read.error);
        text += QStringLiteral("%1\t%2\t%3\n").arg(row.id).arg(name, steps).toUtf8();
    }
    if (!database->LastError().empty()) {
        return Fail(QString::fromStdString(database->LastError()));
    }
    const QByteArray out = json ? QJsonDocument(shapes).toJson(QJsonDocument::Indented) : text;
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return kExitOk;
}

// "DB (--id N | --name NAME) [OUT]": the steps of the chosen shape.
std::optional<StepList> ChosenSteps(const QStringList& args, designer::ShapeRow* chosen = nullptr)
{
    std::optional<ShapeDatabase> database = OpenExisting(args[0]);
    if (!database) {
        return std::nullopt;
    }
    const auto row = ChooseShape(*database, args[1], args[2]);
    if (!row) {
        return std::nullopt;
    }
    if (chosen != nullptr) {
        *chosen = *row;
    }
    return LoadSteps(*database, *row);
}

bool IsShapeChoice(const QStringList& args, qsizetype count)
{
    return args.size() == count &&
           (args[1] == QLatin1String("--id") || args[1] == QLatin1String("--name"));
}

int Program(const QStringList& args)
{
    const auto steps = ChosenSteps(args);
    if (!steps) {
        return kExitUnreadable;
    }
    designer::ExpressionEvaluator evaluator;
    const std::vector<uint8_t> program = designer::BuildProgram(*steps, evaluator);
    const QByteArray bytes(reinterpret_cast<const char*>(program.data()), qsizetype(program.size()));
    return WriteBytes(args[3], bytes) ? kExitOk : kExitUnreadable;
}

int ByteText(const QStringList& args)
{
    const auto steps = ChosenSteps(args);
    if (!steps) {
        return kExitUnreadable;
    }
    designer::ExpressionEvaluator evaluator;
    const std::string text = designer::ByteText(designer::BuildProgram(*steps, evaluator)) + "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitOk;
}

int Export(const QStringList& args)
{
    designer::ShapeRow row;
    const auto steps = ChosenSteps(args, &row);
    if (!steps) {
        return kExitUnreadable;
    }
    QJsonArray stepsJson;
    for (const StepRecord& step : *steps) {
        stepsJson.append(StepJson(step));
    }
    const QJsonObject shape{{"name", FromAnsi(row.name)}, {"steps", stepsJson}};
    return WriteBytes(args[3], QJsonDocument(shape).toJson(QJsonDocument::Indented))
               ? kExitOk
               : kExitUnreadable;
}

// Reads "{ "steps": [...] }" or a bare array of steps.
std::optional<StepList> ReadStepsJson(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(QStringLiteral("cannot open %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (document.isNull()) {
        Fail(QStringLiteral("%1: %2").arg(path, parseError.errorString()));
        return std::nullopt;
    }
    const QJsonArray array =
        document.isArray() ? document.array() : document.object().value("steps").toArray();
    StepList steps;
    for (qsizetype i = 0; i < array.size(); ++i) {
        const auto step = StepFromJson(array[i]);
        if (!step) {
            Fail(QStringLiteral("%1: step %2 is not a step (code 0..25, a remark text, at most "
                                "nine parameter texts)")
                     .arg(path)
                     .arg(i + 1));
            return std::nullopt;
        }
        steps.push_back(*step);
    }
    return steps;
}

int Import(const QStringList& args)
{
    const auto steps = ReadStepsJson(args[2]);
    if (!steps) {
        return kExitUnreadable;
    }
    std::string error;
    std::optional<ShapeDatabase> database = ShapeDatabase::Open(args[0].toStdString(), error);
    if (!database) {
        return Fail(QStringLiteral("%1: %2").arg(args[0], QString::fromStdString(error)));
    }
    const auto id = database->Create(ToAnsi(args[1]));
    if (!id || !database->Store(*id, designer::WriteStepList(*steps))) {
        return Fail(QString::fromStdString(database->LastError()));
    }
    std::printf("%lld\n", static_cast<long long>(*id));
    return kExitOk;
}

int Sheet(const QStringList& args)
{
    std::optional<ShapeDatabase> database = OpenExisting(args[0]);
    if (!database) {
        return kExitUnreadable;
    }
    designer::ExpressionEvaluator evaluator;
    std::vector<NamedProgram> shapes;
    for (const designer::ShapeRow& row : database->List()) {
        const auto steps = LoadSteps(*database, row);
        if (!steps) {
            return kExitUnreadable;
        }
        shapes.push_back({FromAnsi(row.name), designer::BuildProgram(*steps, evaluator)});
    }
    const QImage sheet = DrawShapeSheet(shapes);
    if (!sheet.save(args[1], "PNG")) {
        return Fail(QStringLiteral("cannot write %1").arg(args[1]));
    }
    return kExitOk;
}

// The sheet's layout in document units (0.1 mm), drawn at 96 dpi.
constexpr int kSheetColumns = 6;
constexpr int32_t kSheetShapeWidth = 300;
constexpr int32_t kSheetShapeHeight = 220;
constexpr int32_t kSheetCellWidth = 400;
constexpr int32_t kSheetCellHeight = 340;
constexpr int32_t kSheetMargin = 50;
constexpr double kSheetDpi = 96.0;

int32_t SheetPixels(int32_t units)
{
    return int32_t(units * kSheetDpi / 254.0 + 0.5);
}

// The top left corner of cell i.
figures::Point SheetCell(size_t i, int columns)
{
    return {kSheetMargin + int32_t(i % size_t(columns)) * kSheetCellWidth,
            kSheetMargin + int32_t(i / size_t(columns)) * kSheetCellHeight};
}

} // namespace

QImage DrawShapeSheet(const std::vector<NamedProgram>& shapes)
{
    const int count = std::max<int>(1, int(shapes.size()));
    const int columns = std::min(count, kSheetColumns);
    const int rows = (count + columns - 1) / columns;
    QImage image(SheetPixels(2 * kSheetMargin + columns * kSheetCellWidth),
                 SheetPixels(2 * kSheetMargin + rows * kSheetCellHeight), QImage::Format_RGB32);
    image.fill(Qt::white);

    figures::View view;
    for (size_t i = 0; i < shapes.size(); ++i) {
        const figures::Point corner = SheetCell(i, columns);
        const figures::Rect frame{corner.x, corner.y, corner.x + kSheetShapeWidth,
                                  corner.y + kSheetShapeHeight};
        const int index = view.AddNewShape(figures::CRichGraph::kCustomShape, &frame);
        auto* shape = static_cast<figures::CRichGraph*>(view.ObjectByIndex(index));
        shape->SetProgram(shapes[i].program.data(), shapes[i].program.size());
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const figures::DrawContext dc(painter, kSheetDpi, kSheetDpi);
    figures::PaintOptions options;
    options.deviceClip = {0, 0, image.width(), image.height()};
    figures::PaintView(view, dc, options);

    painter.resetTransform();
    painter.setPen(Qt::black);
    for (size_t i = 0; i < shapes.size(); ++i) {
        const figures::Point corner = SheetCell(i, columns);
        const QRect label(SheetPixels(corner.x), SheetPixels(corner.y + kSheetShapeHeight + 10),
                          SheetPixels(kSheetCellWidth - 20), SheetPixels(60));
        painter.drawText(label, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, shapes[i].name);
    }
    return image;
}

int ShapesCommand(const QStringList& args)
{
    const QString verb = args.value(0);
    const QStringList rest = args.mid(1);
    if (verb == QLatin1String("list") && (rest.size() == 1 || rest.size() == 2)) {
        const bool json = rest.size() == 2;
        return json && rest[1] != QLatin1String("--json") ? Usage() : List(rest[0], json);
    }
    if (verb == QLatin1String("program") && IsShapeChoice(rest, 4)) {
        return Program(rest);
    }
    if (verb == QLatin1String("bytetext") && IsShapeChoice(rest, 3)) {
        return ByteText(rest);
    }
    if (verb == QLatin1String("export") && IsShapeChoice(rest, 4)) {
        return Export(rest);
    }
    if (verb == QLatin1String("import") && rest.size() == 3) {
        return Import(rest);
    }
    if (verb == QLatin1String("sheet") && rest.size() == 2) {
        return Sheet(rest);
    }
    return Usage();
}

} // namespace vkdtool
